// SPDX-License-Identifier: MIT
// Every named slot of a PCG file: programs, combinations, drum kits and arpeggio patterns.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class SlotKind : std::uint8_t { Program, Combination, DrumKit, Arpeggio };

// Drum kits and arpeggio patterns are numbered across all banks of their kind, in file order;
// programs and combinations by their position in their own bank.
inline bool NumberedAcrossBanks(SlotKind kind) {
    return kind == SlotKind::DrumKit || kind == SlotKind::Arpeggio;
}

// One bank chunk as the file gives it.
struct PcgBank {
    SlotKind kind;
    bool optionalBoard;       // an "MBK1" bank (the optional sound board's): bank F
    std::uint32_t number;     // the bank number stored in the chunk
    std::uint32_t firstSlot;  // its first slot in PcgContents::slots
    std::uint32_t slotCount;  // how many of its records the file holds
};

// One record's name.
struct PcgSlot {
    // Programs and combinations: the position in the bank (A000 is 0). Drum kits and
    // arpeggio patterns: numbered across all banks of their kind in file order.
    std::uint32_t index;
    std::uint32_t bank;  // its bank in PcgContents::banks
    std::uint8_t nameLength;
    std::array<char, 16> name;  // the record's first bytes, cut at the first NUL

    std::string_view Name() const { return {name.data(), nameLength}; }
};

struct PcgContents {
    std::vector<PcgBank> banks;  // in file order
    std::vector<PcgSlot> slots;  // in file order, bank by bank
    // True when the file holds more chunks, banks or slots than a reader keeps (far more than
    // any instrument writes): what came before is all there.
    bool cut = false;

    const PcgBank& BankOf(const PcgSlot& slot) const { return banks[slot.bank]; }
};

// "program", "combination", "drumkit" or "arpeggio": the kind's name in listings.
std::string_view KindName(SlotKind kind);

// The bank as the instrument names it: "A" to "E" for banks 0 to 4, "F" for the optional
// board's bank, "H" to "N" for banks 0x20000 to 0x20006; any other number as "0x" and its
// hexadecimal digits (upper case).
std::string BankLabel(const PcgBank& bank);

// The slot as the instrument shows it: programs and combinations by bank and three-digit
// position ("A000", "N127"; "0x5-000" in a bank of another number), drum kits and arpeggio
// patterns by their three-digit number alone ("000", "506"). More digits where needed.
std::string SlotLabel(const PcgBank& bank, const PcgSlot& slot);

// SlotLabel in two parts, for callers that label many slots of one bank: what comes before
// the number ("A", "0x5-", nothing for drum kits and arpeggio patterns), and the number.
std::string SlotLabelPrefix(const PcgBank& bank);
// The number, written from `out`, which must have room for 10 digits; returns where it ends.
char* WriteSlotNumber(const PcgSlot& slot, char* out);
