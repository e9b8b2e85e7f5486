// SPDX-License-Identifier: MIT
// Reads every bank of a PCG file: the whole chunk tree, not only the first program banks.
#pragma once

#include <cstddef>

#include "engine/patch_reader.h"
#include "engine/pcg_contents.h"
#include "platform/os/input_file.h"

// The file's layout, as far as names go: "KORG" at offset 0, and at offset 16 the "PCG1"
// chunk (4-byte id, 4-byte big-endian size, then that many bytes) whose children are chunks
// too. "PRG1" (programs), "CMB1" (combinations), "DKT1" (drum kits) and "ARP1" (arpeggio
// patterns) hold bank chunks ("PBK1" or "MBK1", "CBK1", "DBK1", "ABK1" in turn); every other
// chunk is skipped by its size. A bank chunk holds record count, record size and bank number
// (big-endian), then its records, each named by its first 16 bytes up to a NUL. The header's
// bytes 4 and 8 tell the model, which labels the banks (LabelBank) and says where a record
// keeps its category (CategoryPlaceOf) and, for a combination of 448 bytes in a Triton
// family's file, which programs its eight timbres play: timbre t at byte 224 + 28t, its
// program's number in byte 0, its bank's code in byte 1, its status in bits 5-7 of byte 2 (a
// program is played where that is INT, 0, or Both, 2). A record shorter than a byte that
// tells something gives nothing of it.
//
// Reads `file` from where it stands (its first byte) into `contents`, which must be empty.
// Read: at least one bank chunk was found (its records may be none); NoBanks: the headers
// are valid but no container holds a bank; BadHeaders: no "KORG" or no "PCG1".
//
// The file is read once, front to back; nothing is read past the end of the chunk that holds
// it, nor a record that does not begin inside its chunk. Memory is what the contents keep,
// and they keep at most kMaxPcgSlots slots, kMaxPcgBanks banks and kMaxPcgChunks chunks
// visited, whatever the counts and sizes say. Where the reading stops before the "PCG1"
// chunk's end (a cap, or a file cut short), `contents.shortfall` says why.
struct PcgTreeNeeds {
    // Reading ends once that many program slots are in (0: never), which is no shortfall: a
    // report that shows the first programs alone reads no further.
    std::size_t programsWanted = 0;
    // Every record's sound: its bytes after the name are all read, not passed over.
    bool sounds = false;
};
PcgReadStatus ReadPcgTree(os::InputFile& file, PcgContents& contents, PcgTreeNeeds needs = {});
