// SPDX-License-Identifier: MIT
#include "engine/pcg_contents.h"

#include <cstdio>

std::string_view KindName(SlotKind kind) {
    switch (kind) {
        case SlotKind::Program:
            return "program";
        case SlotKind::Combination:
            return "combination";
        case SlotKind::DrumKit:
            return "drumkit";
        case SlotKind::Arpeggio:
            break;
    }
    return "arpeggio";
}

std::string BankLabel(const PcgBank& bank) {
    constexpr std::uint32_t kFirstUserBank = 0x20000;  // bank H
    if (bank.optionalBoard) {
        return "F";
    }
    if (bank.number <= 4) {
        return std::string(1, static_cast<char>('A' + bank.number));
    }
    if (bank.number >= kFirstUserBank && bank.number - kFirstUserBank <= 'N' - 'H') {
        return std::string(1, static_cast<char>('H' + (bank.number - kFirstUserBank)));
    }
    char label[16];
    std::snprintf(label, sizeof label, "0x%X", static_cast<unsigned>(bank.number));
    return label;
}

std::string SlotLabel(const PcgBank& bank, const PcgSlot& slot) {
    char number[16];
    std::snprintf(number, sizeof number, "%03u", static_cast<unsigned>(slot.index));
    if (bank.kind == SlotKind::DrumKit || bank.kind == SlotKind::Arpeggio) {
        return number;
    }
    std::string label = BankLabel(bank);
    return label + (label.size() > 1 ? "-" : "") + number;
}
