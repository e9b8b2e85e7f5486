// SPDX-License-Identifier: MIT
// The categories the instrument files programs and combinations under, by their factory names.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/pcg_contents.h"

inline constexpr std::uint8_t kCategories = 16;

// The factory name of category `category` (0-15) of programs ("Keyboard" ... "Drums") or of
// combinations ("Keyboard" ... "Ds/Hits"); empty for kNoCategory and for other kinds.
std::string_view CategoryName(SlotKind kind, std::uint8_t category);

// Where a record of `kind` of `recordSize` bytes keeps its category in a file of `model`, and
// how: the byte's offset, and whether only its low four bits count; false where it keeps none
// (other sizes, other models).
struct CategoryPlace {
    std::uint32_t offset;
    bool lowBitsOnly;
};
bool CategoryPlaceOf(SlotKind kind, std::uint32_t recordSize, const PcgModel& model,
                     CategoryPlace& place);
