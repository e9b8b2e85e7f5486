// SPDX-License-Identifier: MIT
// Slots of a file found by how the instrument labels them.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/pcg_contents.h"

class SlotFinder {
public:
    // `contents` must outlive the finder.
    explicit SlotFinder(const PcgContents& contents);

    // The first slot of `kind` in file order that SlotLabel labels `label`; null when none.
    const PcgSlot* Find(SlotKind kind, std::string_view label) const;

    // The first program slot in file order that a timbre naming `program` plays; null when
    // the file holds none (a GM program, say).
    const PcgSlot* Program(ProgramRef program) const;

private:
    const PcgContents& m_contents;
    std::vector<std::uint32_t> m_programs;  // by code * 256 + number: a slot + 1, or 0
};
