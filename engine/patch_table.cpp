// SPDX-License-Identifier: MIT
#include "engine/patch_table.h"

CPatchTable::CPatchTable() : errorText{} {
    for (std::size_t k = 0; k < kEntries; ++k) {
        PatchEntry& entry = entries[k];
        entry.bank = static_cast<char>('A' + k / kPatchesPerBank);
        entry.number = static_cast<unsigned char>(k % kPatchesPerBank);
        entry.name[0] = '\0';
        entry.name[16] = '\0';
    }
}
