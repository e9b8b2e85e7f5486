// SPDX-License-Identifier: MIT
#include "engine/pcg_contents.h"

#include <cstdio>
#include <cstring>

#include "engine/decimal_digits.h"

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
    return WriteDecimal(slot.index, 3, out);
}

bool IsSlotLabel(SlotKind kind, std::string_view label) {
    if (!NumberedAcrossBanks(kind)) {
        if (label.starts_with("0x")) {
            const std::size_t dash = label.find('-');
            if (dash == std::string_view::npos || dash == 2 ||
                label.substr(2, dash - 2).find_first_not_of("0123456789ABCDEF") !=
                    std::string_view::npos) {
                return false;
            }
            label.remove_prefix(dash + 1);
        } else if (!label.empty() &&
                   ((label[0] >= 'A' && label[0] <= 'F') || (label[0] >= 'H' && label[0] <= 'N'))) {
            label.remove_prefix(1);
        } else {
            return false;
        }
    }
    // Three digits, or more without a zero in front.
    return (label.size() == 3 || (label.size() > 3 && label.size() <= 10 && label[0] != '0')) &&
           label.find_first_not_of("0123456789") == std::string_view::npos;
}

std::string SlotLabel(const PcgBank& bank, const PcgSlot& slot) {
    char digits[10];
    return SlotLabelPrefix(bank) +
           std::string(digits, static_cast<std::size_t>(WriteSlotNumber(slot, digits) - digits));
}

std::string ShortfallText(const PcgShortfall& shortfall) {
    switch (shortfall.kind) {
        case PcgShortfall::Kind::EndsEarly:
            return "the file ends at byte " + std::to_string(shortfall.fileEnd) +
                   ", its chunks say " + std::to_string(shortfall.chunksEnd);
        case PcgShortfall::Kind::TooManySlots:
            return "the file holds more than " + std::to_string(kMaxPcgSlots) + " slots";
        case PcgShortfall::Kind::TooManyBanks:
            return "the file holds more than " + std::to_string(kMaxPcgBanks) + " banks";
        case PcgShortfall::Kind::TooManyChunks:
            return "the file holds more than " + std::to_string(kMaxPcgChunks) + " chunks";
        case PcgShortfall::Kind::None:
            break;
    }
    return {};
}
