// SPDX-License-Identifier: MIT
// Every named slot of a PCG file: programs, combinations, drum kits and arpeggio patterns.
#pragma once

#include <array>
#include <cstddef>
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

// The most a reading of the whole file keeps, and visits.
inline constexpr std::size_t kMaxPcgSlots = 1 << 16;
inline constexpr std::size_t kMaxPcgBanks = 1 << 16;
inline constexpr std::size_t kMaxPcgChunks = 1 << 20;

// Why a reading of the whole file stopped before the end its chunks give: what came before it
// is all there, but the file was not read whole.
struct PcgShortfall {
    enum class Kind : std::uint8_t {
        None,          // read whole
        EndsEarly,     // the file ends (or cannot be read) before its "PCG1" chunk does
        TooManySlots,  // more slots, banks or chunks than a reading keeps (far more than any
        TooManyBanks,  // instrument writes)
        TooManyChunks,
    };
    Kind kind = Kind::None;
    std::uint64_t fileEnd = 0;    // EndsEarly: the byte at which the file's bytes end
    std::uint64_t chunksEnd = 0;  // EndsEarly: the byte at which its "PCG1" chunk says it ends

    explicit operator bool() const { return kind != Kind::None; }
};

// What was missed, for a message: "the file ends at byte 1000000, its chunks say 2352456", or
// "the file holds more than 65536 slots" (banks, chunks).
std::string ShortfallText(const PcgShortfall& shortfall);

struct PcgContents {
    std::vector<PcgBank> banks;  // in file order
    std::vector<PcgSlot> slots;  // in file order, bank by bank
    PcgShortfall shortfall;

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
// True when `label` is one SlotLabel gives for some slot of `kind`: the part of a report's key
// after "PROGRAM_", "DRUMKIT_" and the others.
bool IsSlotLabel(SlotKind kind, std::string_view label);

// The number, written from `out`, which must have room for 10 digits; returns where it ends.
char* WriteSlotNumber(const PcgSlot& slot, char* out);
