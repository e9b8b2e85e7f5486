// SPDX-License-Identifier: MIT
// Sounds that are there twice, and names that stand for more than one sound, across PCG files.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "engine/pcg_contents.h"

struct DuplicateGroup {
    enum class Reason {
        Sound,  // slots of one kind whose sounds are identical, under any names
        Name,   // slots of one kind whose trimmed names are equal but whose sounds differ
    };
    struct Member {
        std::size_t file;  // its file, by its place among those given
        const PcgSlot* slot;
    };
    Reason reason;
    std::vector<Member> slots;  // in the files' order, each in file order
};

// "sound" or "name".
std::string_view ReasonName(DuplicateGroup::Reason reason);

// The groups among `files` (each read with its sounds, PcgSlot::sound), in the order their
// first slots appear: a sound group before a name group that begins at the same slot. Empty
// names take no part in name groups. Unless `placeholders`, the slots a file holds as
// initialised placeholders take no part at all (IsPlaceholder).
std::vector<DuplicateGroup> FindDuplicates(const std::vector<const PcgContents*>& files,
                                           bool placeholders);

// True when `name` (trimmed) is letters alone followed, with no space, by a label of a slot of
// `kind` ("InitialProgE037", "Drumkit052"), and those letters begin at least eight names of
// that kind in `contents`: what a file holds where nothing was ever saved.
bool IsPlaceholder(const PcgContents& contents, SlotKind kind, std::string_view name);
