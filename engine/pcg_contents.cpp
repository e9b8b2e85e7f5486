// SPDX-License-Identifier: MIT
#include "engine/pcg_contents.h"

#include <cstdio>
#include <cstring>

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

std::string SlotLabelPrefix(const PcgBank& bank) {
    if (NumberedAcrossBanks(bank.kind)) {
        return {};
    }
    std::string label = BankLabel(bank);
    return label.size() > 1 ? label + "-" : label;
}

char* WriteSlotNumber(const PcgSlot& slot, char* out) {
    // At least three digits; written by hand, as a report has thousands of them, nearly all
    // of three.
    const std::uint32_t index = slot.index;  // read once: `out` might alias the slot
    if (index < 1000) {
        out[0] = static_cast<char>('0' + index / 100);
        out[1] = static_cast<char>('0' + index / 10 % 10);
        out[2] = static_cast<char>('0' + index % 10);
        return out + 3;
    }
    std::size_t digits = 3;
    for (std::uint32_t rest = index / 1000; rest > 0; rest /= 10) {
        ++digits;
    }
    std::uint32_t rest = index;
    for (std::size_t i = digits; i > 0; --i, rest /= 10) {
        out[i - 1] = static_cast<char>('0' + rest % 10);
    }
    return out + digits;
}

std::string SlotLabel(const PcgBank& bank, const PcgSlot& slot) {
    char digits[10];
    return SlotLabelPrefix(bank) +
           std::string(digits, static_cast<std::size_t>(WriteSlotNumber(slot, digits) - digits));
}
