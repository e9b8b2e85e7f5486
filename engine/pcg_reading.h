// SPDX-License-Identifier: MIT
// One reading of a PCG file, from a path or from memory, for every output made of it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/patch_reader.h"
#include "engine/patch_table.h"
#include "engine/pcg_contents.h"

// Which rules judge a reading, and so give its status.
enum class PcgRules {
    // The 128-name report's: the program banks right behind the headers, up to the first
    // chunk that is neither "PBK1" nor "MBK1", chunk sizes ignored (ReadClassicNames).
    Classic,
    // The whole chunk tree's (ReadPcgTree): any bank of any kind, anywhere in the file.
    WholeFile,
};

struct PcgReadRequest {
    PcgRules rules = PcgRules::Classic;
    // Classic: how many names to fill; the file is read no further than they need.
    std::size_t names = CPatchTable::kEntries;
    // Classic: the whole tree too, once the classic rules have found banks.
    bool wholeFile = false;
    // The tree: read no further than this many program slots (0: the whole file).
    std::size_t programsWanted = 0;
    // The tree: every record's sound (PcgSlot::sound), which costs a reading of every byte.
    bool sounds = false;
};

struct PcgReading {
    PcgReadStatus status = PcgReadStatus::NoBanks;
    int error = 0;         // CannotOpen: the system's reason (errno)
    CPatchTable names;     // the classic rules' names; the error text set as theirs is
    PcgContents contents;  // the whole tree, where it was asked for and the status is Read
};

// Reads the PCG file at `pcgPath`, opened once, as `request` asks: by the classic rules (then,
// where asked and they found banks, the whole tree from the same open file), or by the whole
// tree's rules alone.
PcgReading ReadPcg(const std::string& pcgPath, const PcgReadRequest& request);


// The same reading of a file's bytes held in memory.
PcgReading ReadPcgBytes(std::string_view bytes, const PcgReadRequest& request);
