// SPDX-License-Identifier: MIT
#include "engine/slot_labels.h"

#include <cstdio>
#include <cstring>

#include "engine/decimal_digits.h"

namespace {

constexpr std::uint32_t kFirstExpansionBank = 0x20000;
constexpr std::uint8_t kFirstExpansionCode = 17;
constexpr std::uint8_t kExpansionBanks = 8;

// The label of `code` on `model`, empty where it has none (the Extreme's eighth user bank).
std::string_view CodeLabel(std::uint8_t code, const PcgModel& model) {
    static constexpr std::string_view kLabels[] = {
        "A",     "B",     "C",     "D",     "E",     "F",     "G",    "g(1)", "g(2)",
        "g(3)",  "g(4)",  "g(5)",  "g(6)",  "g(7)",  "g(8)",  "g(9)", "g(d)", "EXB-A",
        "EXB-B", "EXB-C", "EXB-D", "EXB-E", "EXB-F", "EXB-G", "EXB-H"};
    static constexpr std::string_view kExtremeLabels[] = {"H", "I", "J", "K", "L", "M", "N", ""};
    if (code >= kBankCodes) {
        return {};
    }
    if (code >= kFirstExpansionCode && model.extreme) {
        return kExtremeLabels[code - kFirstExpansionCode];
    }
    return kLabels[code];
}

// The bank number a code stands for where it has none of its own to show: the expansion banks.
std::uint32_t NumberOfCode(std::uint8_t code) {
    return kFirstExpansionBank + (code - kFirstExpansionCode);
}

// Writes the prefix of a bank of `code` (or, without a label, of `number`) to `out`, which has
// room for 11 bytes; returns the label's length and sets `prefixSize`.
std::uint8_t WritePrefix(std::uint8_t code, std::uint32_t number, const PcgModel& model, char* out,
                         std::uint8_t& prefixSize) {
    const std::string_view label = CodeLabel(code, model);
    if (!label.empty()) {
        std::memcpy(out, label.data(), label.size());
        prefixSize = static_cast<std::uint8_t>(label.size());
        return prefixSize;
    }
    char hex[16];
    const int size = std::snprintf(hex, sizeof hex, "0x%X", static_cast<unsigned>(number));
    std::memcpy(out, hex, static_cast<std::size_t>(size));
    out[size] = '-';
    prefixSize = static_cast<std::uint8_t>(size + 1);
    return static_cast<std::uint8_t>(size);
}

}  // namespace

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

std::uint8_t BankCodeOf(std::uint32_t number, bool optionalBoard) {
    if (optionalBoard || number == 0x8000) {
        return 5;
    }
    if (number <= 4) {
        return static_cast<std::uint8_t>(number);
    }
    switch (number) {
        case 0x10000:
            return 6;
        case 0x10001:
            return 7;
        case 0x10002:
            return 16;
        default:
            break;
    }
    if (number >= kFirstExpansionBank && number - kFirstExpansionBank < kExpansionBanks) {
        return static_cast<std::uint8_t>(kFirstExpansionCode + (number - kFirstExpansionBank));
    }
    return kNoBankCode;
}

void LabelBank(PcgBank& bank, const PcgModel& model) {
    if (NumberedAcrossBanks(bank.kind)) {
        bank.code = kNoBankCode;
        bank.labelSize = bank.prefixSize = 0;
        return;
    }
    bank.code = BankCodeOf(bank.number, bank.optionalBoard);
    bank.labelSize =
        WritePrefix(bank.code, bank.number, model, bank.prefix.data(), bank.prefixSize);
}

std::optional<std::uint32_t> FirstNumberOf(SlotKind kind, std::uint32_t bankNumber) {
    const bool expansion =
        bankNumber >= kFirstExpansionBank && bankNumber - kFirstExpansionBank < kExpansionBanks;
    const std::uint32_t k = bankNumber - kFirstExpansionBank;
    if (kind == SlotKind::DrumKit) {
        if (bankNumber <= 3) {
            return 16 * bankNumber;
        }
        if (bankNumber == 0x10000) {
            return 64;
        }
        if (expansion) {
            return 16 + 16 * k;
        }
    } else if (kind == SlotKind::Arpeggio) {
        constexpr std::uint32_t kStarts[] = {0, 200, 216};
        if (bankNumber <= 2) {
            return kStarts[bankNumber];
        }
        if (expansion) {
            return 200 + 16 * k;
        }
    }
    return std::nullopt;
}

char* WriteSlotLabel(const PcgBank& bank, const PcgSlot& slot, char* out) {
    std::memcpy(out, bank.prefix.data(), bank.prefixSize);
    return WriteDecimal(slot.index, 3, out + bank.prefixSize);
}

std::string SlotLabel(const PcgBank& bank, const PcgSlot& slot) {
    char label[kMaxSlotLabel];
    return std::string(label, static_cast<std::size_t>(WriteSlotLabel(bank, slot, label) - label));
}

char* WriteProgramLabel(ProgramRef program, const PcgModel& model, char* out) {
    std::uint8_t prefixSize = 0;
    WritePrefix(program.code, NumberOfCode(program.code), model, out, prefixSize);
    return WriteDecimal(program.number, 3, out + prefixSize);
}

std::string ProgramLabel(ProgramRef program, const PcgModel& model) {
    char label[kMaxSlotLabel];
    return std::string(label,
                       static_cast<std::size_t>(WriteProgramLabel(program, model, label) - label));
}

bool SplitSlotLabel(std::string_view label, std::string_view& prefix, std::uint32_t& number) {
    const std::size_t digitsAt = label.find_last_not_of("0123456789") + 1;  // npos + 1 is 0
    const std::string_view digits = label.substr(digitsAt);
    if (!(digits.size() == 3 || (digits.size() > 3 && digits.size() <= 10 && digits[0] != '0'))) {
        return false;
    }
    const std::uint64_t value = std::stoull(std::string(digits));
    if (value > UINT32_MAX) {
        return false;
    }
    prefix = label.substr(0, digitsAt);
    number = static_cast<std::uint32_t>(value);
    return true;
}

bool IsSlotLabel(SlotKind kind, std::string_view label) {
    std::string_view prefix;
    std::uint32_t number = 0;
    if (!SplitSlotLabel(label, prefix, number)) {
        return false;
    }
    if (NumberedAcrossBanks(kind)) {
        return prefix.empty();
    }
    if (prefix.starts_with("0x") && prefix.ends_with('-')) {
        const std::string_view hex = prefix.substr(2, prefix.size() - 3);
        return !hex.empty() && hex.size() <= 8 &&
               hex.find_first_not_of("0123456789ABCDEF") == std::string_view::npos;
    }
    // Any label a bank chunk can have, on any model: the GM variations g(2)-g(9) are never one.
    for (std::uint8_t code = 0; code < kBankCodes; ++code) {
        for (const bool extreme : {false, true}) {
            const std::string_view known = CodeLabel(code, PcgModel{0x50, extreme});
            if (!known.empty() && known == prefix && (code <= 7 || code >= 16)) {
                return true;
            }
        }
    }
    return false;
}
