// SPDX-License-Identifier: MIT
// Every named slot of a PCG file: programs, combinations, drum kits and arpeggio patterns, with
// what the instrument shows beside each name.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class SlotKind : std::uint8_t { Program, Combination, DrumKit, Arpeggio };
inline constexpr std::size_t kSlotKinds = 4;

// Drum kits and arpeggio patterns are numbered across the banks of their kind; programs and
// combinations by their position in their own bank.
inline bool NumberedAcrossBanks(SlotKind kind) {
    return kind == SlotKind::DrumKit || kind == SlotKind::Arpeggio;
}

// A bank as a combination's timbre names it, and as every bank of programs or combinations is
// labelled: 0-4 A-E, 5 F, 6 G, 7-15 g(1)-g(9), 16 g(d), 17 + k the k-th expansion or user bank
// (H + k on a Triton Extreme, EXB-A + k on the others).
inline constexpr std::uint8_t kNoBankCode = 0xFF;  // a bank number outside that table
inline constexpr std::uint8_t kBankCodes = 25;

// What the file's header says of the model that wrote it.
struct PcgModel {
    std::uint8_t product = 0;  // header byte 4: 0x50 the Triton family, 0x63 the LE, 0x5D Karma
    bool extreme = false;      // header byte 8 is 1: a Triton Extreme
    bool TritonFamily() const { return product == 0x50; }
};

// One bank chunk as the file gives it.
struct PcgBank {
    SlotKind kind;
    bool optionalBoard;       // an "MBK1" bank (the optional sound board's): bank F
    std::uint32_t number;     // the bank number stored in the chunk
    std::uint32_t firstSlot;  // its first slot in PcgContents::slots
    std::uint32_t slotCount;  // how many of its records the file holds
    std::uint8_t code;        // programs and combinations: as a timbre names it, or kNoBankCode
    std::uint8_t labelSize;   // the label's length in `prefix`
    std::uint8_t prefixSize;  // what stands before a slot's number: the label, and a '-' after
                              // a number shown for want of a label ("0x5-")
    std::array<char, 11> prefix;

    // "A", "EXB-A", "g(d)", "0x5"; empty for drum kits and arpeggio patterns.
    std::string_view Label() const { return {prefix.data(), labelSize}; }
    std::string_view Prefix() const { return {prefix.data(), prefixSize}; }
};

inline constexpr std::uint8_t kNoCategory = 0xFF;
inline constexpr std::size_t kMaxTimbres = 8;

// A program as a combination's timbre names it: its bank's code and its number in the bank.
struct ProgramRef {
    std::uint8_t code;
    std::uint8_t number;
    bool operator==(const ProgramRef&) const = default;
};

// One record.
struct PcgSlot {
    // As the instrument numbers it: programs and combinations by their position in the bank
    // (A000 is 0), drum kits and arpeggio patterns by where their bank's numbers begin.
    std::uint32_t index;
    std::uint32_t bank;  // its bank in PcgContents::banks
    std::uint8_t nameLength;
    std::array<char, 16> name;                 // the record's first bytes, cut at the first NUL
    std::uint8_t category;                     // 0-15 as the instrument shows it, or kNoCategory
    std::uint8_t useCount;                     // combinations: how many programs the timbres play
    std::array<ProgramRef, kMaxTimbres> uses;  // those programs, each once, in timbre order
    // Where asked for (PcgReadRequest::sounds): a digest of the record's bytes after its name
    // (SoundDigest), equal for records that sound alike.
    std::array<std::uint64_t, 2> sound;

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
    PcgModel model;
    std::vector<PcgBank> banks;  // in file order
    std::vector<PcgSlot> slots;  // in file order, bank by bank
    PcgShortfall shortfall;

    const PcgBank& BankOf(const PcgSlot& slot) const { return banks[slot.bank]; }
};
