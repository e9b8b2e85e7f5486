// SPDX-License-Identifier: MIT
// What changed between two PCG files, slot by slot.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/pcg_contents.h"

// One slot that differs. A slot is its kind and its label (SlotLabel), a name the listing's
// (trimmed), a sound the record's bytes after its name (PcgSlot::sound, which both readings
// must have asked for).
struct SlotDifference {
    enum class Status {
        Added,     // only the new file holds the slot
        Removed,   // only the old one does
        Renamed,   // another name, the same sound
        Changed,   // the same name, another sound: the sound was edited
        Replaced,  // both differ
    };
    Status status;
    SlotKind kind;
    std::string slot;
    std::string oldName;  // the record's bytes, trimmed; empty where the old file has none
    std::string newName;
};

// "added", "removed", "renamed", "changed" or "replaced".
std::string_view StatusName(SlotDifference::Status status);

// Every slot that differs, in the old file's order, then those only the new one holds in its
// order; identical slots are left out. A slot that repeats in a file (a hostile one) is taken
// at its first appearance. Time and memory in step with the two files' slots.
std::vector<SlotDifference> ComparePcg(const PcgContents& oldFile, const PcgContents& newFile);
