// SPDX-License-Identifier: MIT
// Slots and banks labelled as each model of the instrument shows them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/pcg_contents.h"

// "program", "combination", "drumkit" or "arpeggio": the kind's name in listings.
std::string_view KindName(SlotKind kind);

// The code of the bank chunk numbered `number` ("MBK1", the optional board's, when
// `optionalBoard`): 0-4 A-E, 0x8000 or any "MBK1" F, 0x10000 G, 0x10001 g(1), 0x10002 g(d),
// 0x20000 + k (k = 0-7) 17 + k; kNoBankCode for any other.
std::uint8_t BankCodeOf(std::uint32_t number, bool optionalBoard);

// Gives a bank of programs or combinations its code and label as `model` shows them, and a
// bank of drum kits or arpeggio patterns none: the code's label where it has one (17 + k is
// H + k, k = 0-6, on a Triton Extreme and EXB-A + k, k = 0-7, on the others), else "0x" and
// the bank's number in hexadecimal digits (upper case).
void LabelBank(PcgBank& bank, const PcgModel& model);

// Where the instrument's numbers for the drum kits or arpeggio patterns of the bank numbered
// `bankNumber` begin: kits of bank 0 at 0, of bank k = 1-3 at 16k, of 0x10000 (GM) at 64, of
// 0x20000 + k (k = 0-7) at 16 + 16k; patterns of bank 0 at 0, of bank 1 at 200, bank 2 at 216,
// 0x20000 + k at 200 + 16k. None for another bank, which goes on from the kind's earlier slots.
std::optional<std::uint32_t> FirstNumberOf(SlotKind kind, std::uint32_t bankNumber);

// The longest label, its number written as WriteSlotLabel writes it.
inline constexpr std::size_t kMaxSlotLabel = 11 + 10;

// The slot as the instrument shows it: programs and combinations by their bank's label and a
// three-digit number ("A000", "EXB-A000", "g(d)005", "N127"; "0x5-000" in a bank without a
// label), drum kits and arpeggio patterns by their three-digit number alone ("048"). More
// digits where needed.
std::string SlotLabel(const PcgBank& bank, const PcgSlot& slot);
// The same, written from `out` (room for kMaxSlotLabel); returns where it ends.
char* WriteSlotLabel(const PcgBank& bank, const PcgSlot& slot, char* out);

// The program a timbre plays as `model` labels it: "A012", "G005", "g(1)005", "EXB-B127".
std::string ProgramLabel(ProgramRef program, const PcgModel& model);
char* WriteProgramLabel(ProgramRef program, const PcgModel& model, char* out);

// Splits a label into what stands before the number and the number, which is three digits or
// more without a zero in front, as SlotLabel writes them; false for any other text.
bool SplitSlotLabel(std::string_view label, std::string_view& prefix, std::uint32_t& number);

// True when `label` is one SlotLabel gives for some slot of `kind` in some file: the part of
// a report's key after "PROGRAM_", "DRUMKIT_" and the others.
bool IsSlotLabel(SlotKind kind, std::string_view label);
