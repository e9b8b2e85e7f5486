// SPDX-License-Identifier: MIT
// The table of patch names that one Generate fills from a PCG file.
#pragma once

#include <array>
#include <cstddef>

// One patch slot. Only the name is ever filled by the reader.
struct PatchEntry {
    char bank;             // 'A' to 'F'
    unsigned char number;  // position in the bank, 0 to 127
    char name[17];         // up to 16 bytes of the file's 8-bit text, always NUL-terminated
};

class CPatchTable {
public:
    static constexpr std::size_t kBanks = 6;
    static constexpr std::size_t kPatchesPerBank = 128;
    static constexpr std::size_t kEntries = kBanks * kPatchesPerBank;
    static constexpr std::size_t kErrorTextSize = 100;

    // Every entry gets its bank letter and number (bank-major) and an empty name; the error
    // text starts empty.
    CPatchTable();

    // Empty, or why reading failed (NUL-terminated).
    std::array<char, kErrorTextSize> errorText;
    // Filled in file order: the n-th record read goes to entry n, whatever its bank chunk.
    std::array<PatchEntry, kEntries> entries;
};
