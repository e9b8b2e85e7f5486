// SPDX-License-Identifier: MIT
// Which combinations of a file play each of its programs.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "engine/pcg_contents.h"

class ProgramUsers {
public:
    // Indexes every combination of `contents` (which must outlive this) by the programs its
    // timbres play: time and memory in step with the combinations and the programs they play.
    explicit ProgramUsers(const PcgContents& contents);

    // The combinations (as indexes into the contents' slots, in file order) that play the
    // program `program` of the same contents; none for a slot of another kind, and for a
    // program no timbre can name (a bank without a code, a number past 255).
    std::span<const std::uint32_t> Of(const PcgSlot& program) const;

private:
    // A program as timbres name it, as one number; false where they cannot.
    static bool KeyOf(std::uint8_t code, std::uint32_t number, std::uint32_t& key);

    const PcgContents& m_contents;
    std::vector<std::uint32_t> m_begin;  // where each key's combinations begin in m_users
    std::vector<std::uint32_t> m_users;
};
