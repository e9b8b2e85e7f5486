// SPDX-License-Identifier: MIT
#include "engine/slot_values.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/patch_name_value.h"
#include "engine/program_users.h"
#include "engine/slot_categories.h"
#include "engine/slot_finder.h"
#include "engine/slot_labels.h"
#include "engine/slot_lists.h"
#include "engine/text_encoding.h"
#include "platform/os/path_names.h"

namespace {

constexpr std::string_view kKeyPrefixes[kSlotKinds] = {"PROGRAM_", "COMBI_", "DRUMKIT_",
                                                       "ARPEGGIO_"};
constexpr std::string_view kPatchSlotPrefix = "PATCHSLOT_";

// What a key of one slot asks for.
enum class SlotValue { Name, Category, Uses, UsedBy };

struct SlotKey {
    SlotKind kind;
    std::string_view label;
    SlotValue value;
};

// The key of one slot, split; none for any other key.
std::optional<SlotKey> ParseSlotKey(std::string_view key) {
    struct Suffix {
        std::string_view text;
        SlotKind kind;
        SlotValue value;
    };
    static constexpr Suffix kSuffixes[] = {
        {"_CATEGORY", SlotKind::Program, SlotValue::Category},
        {"_USED_BY", SlotKind::Program, SlotValue::UsedBy},
        {"_CATEGORY", SlotKind::Combination, SlotValue::Category},
        {"_USES", SlotKind::Combination, SlotValue::Uses},
    };
    for (std::size_t kind = 0; kind < kSlotKinds; ++kind) {
        if (!key.starts_with(kKeyPrefixes[kind])) {
            continue;
        }
        const std::string_view rest = key.substr(kKeyPrefixes[kind].size());
        const auto slotKind = static_cast<SlotKind>(kind);
        for (const Suffix& suffix : kSuffixes) {
            if (suffix.kind == slotKind && rest.ends_with(suffix.text) &&
                IsSlotLabel(slotKind, rest.substr(0, rest.size() - suffix.text.size()))) {
                return SlotKey{slotKind, rest.substr(0, rest.size() - suffix.text.size()),
                               suffix.value};
            }
        }
        if (IsSlotLabel(slotKind, rest)) {
            return SlotKey{slotKind, rest, SlotValue::Name};
        }
    }
    return std::nullopt;
}

// PATCHSLOT_000 to PATCHSLOT_127: which one; none for any other key.
std::optional<std::size_t> ParsePatchSlotKey(std::string_view key) {
    if (key.size() != kPatchSlotPrefix.size() + 3 || !key.starts_with(kPatchSlotPrefix)) {
        return std::nullopt;
    }
    std::size_t j = 0;
    for (const char c : key.substr(kPatchSlotPrefix.size())) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        j = j * 10 + static_cast<std::size_t>(c - '0');
    }
    return j < kPatchSlots ? std::optional<std::size_t>(j) : std::nullopt;
}

// The lists, each by its key.
enum class List { Banks, Categories, CombinationPrograms };
struct ListKey {
    std::string_view key;
    List list;
    SlotKind kind;
};
constexpr ListKey kListKeys[] = {
    {"PROGRAM_BANKS", List::Banks, SlotKind::Program},
    {"COMBI_BANKS", List::Banks, SlotKind::Combination},
    {"DRUMKIT_BANKS", List::Banks, SlotKind::DrumKit},
    {"ARPEGGIO_BANKS", List::Banks, SlotKind::Arpeggio},
    {"PROGRAM_CATEGORIES", List::Categories, SlotKind::Program},
    {"COMBI_CATEGORIES", List::Categories, SlotKind::Combination},
    {"COMBI_PROGRAMS", List::CombinationPrograms, SlotKind::Combination},
};

const ListKey* ListKeyOf(std::string_view key) {
    for (const ListKey& list : kListKeys) {
        if (list.key == key) {
            return &list;
        }
    }
    return nullptr;
}

// What the keys are given from: the file's contents and what is worked out of them once.
struct SlotValueSource {
    SlotValueSource(const PcgContents& contents, std::string fileName)
        : contents(contents), finder(contents), fileName(std::move(fileName)) {
        for (std::uint32_t s = 0; s < contents.slots.size() && patchSlots.size() < kPatchSlots;
             ++s) {
            if (contents.BankOf(contents.slots[s]).kind == SlotKind::Program) {
                patchSlots.push_back(s);
            }
        }
    }

    void Write(std::string_view key, const CReportTemplate::Sink& sink) {
        char label[kMaxSlotLabel];
        if (const auto j = ParsePatchSlotKey(key)) {
            if (*j < patchSlots.size()) {
                const PcgSlot& slot = contents.slots[patchSlots[*j]];
                sink({label, WriteSlotLabel(contents.BankOf(slot), slot, label)});
            }
        } else if (const ListKey* list = ListKeyOf(key)) {
            switch (list->list) {
                case List::Banks:
                    WriteKindBanks(contents, list->kind, fileName, sink);
                    break;
                case List::Categories:
                    WriteKindCategories(contents, list->kind, fileName, sink);
                    break;
                case List::CombinationPrograms:
                    WriteCombinationPrograms(contents, finder, fileName, sink);
                    break;
            }
        } else if (const auto slotKey = ParseSlotKey(key)) {
            if (const PcgSlot* slot = finder.Find(slotKey->kind, slotKey->label)) {
                sink(ValueOf(*slot, slotKey->value));
            }
        }
    }

    std::string ValueOf(const PcgSlot& slot, SlotValue value) {
        char label[kMaxSlotLabel];
        std::string words;
        switch (value) {
            case SlotValue::Name:
                return NameValue(slot.Name(), Escaping::Html);
            case SlotValue::Category:
                return NameValue(CategoryName(contents.BankOf(slot).kind, slot.category),
                                 Escaping::Html);
            case SlotValue::Uses:
                for (std::uint8_t u = 0; u < slot.useCount; ++u) {
                    words += u == 0 ? "" : " ";
                    words.append(label, WriteProgramLabel(slot.uses[u], contents.model, label));
                }
                return words;
            case SlotValue::UsedBy:
                if (!users) {
                    users = std::make_unique<ProgramUsers>(contents);
                }
                for (const std::uint32_t user : users->Of(slot)) {
                    const PcgSlot& combination = contents.slots[user];
                    words += words.empty() ? "" : " ";
                    words.append(label,
                                 WriteSlotLabel(contents.BankOf(combination), combination, label));
                }
                return words;
        }
        return words;
    }

    const PcgContents& contents;
    SlotFinder finder;
    std::string fileName;
    std::vector<std::uint32_t> patchSlots;
    std::unique_ptr<ProgramUsers> users;  // made for the first key that needs it
};

}  // namespace

TemplateKeys TemplateKeysIn(const CReportTemplate& reportTemplate) {
    TemplateKeys used;
    reportTemplate.ForEachTag([&used](std::string_view key) {
        // Most keys of most templates are the names': told apart first, in a few steps.
        constexpr std::string_view kPatchName = "PATCHNAME_";
        if (key.starts_with(kPatchName)) {
            const std::string_view digits = key.substr(kPatchName.size());
            used.patchNames = used.patchNames ||
                              (digits.size() == 3 &&
                               digits.find_first_not_of("0123456789") == std::string_view::npos &&
                               (digits[0] == '0' || (digits[0] == '1' && digits < "128")));
        } else if (ParsePatchSlotKey(key)) {
            used.patchSlots = true;
        } else if (ListKeyOf(key)) {
            used.lists = true;
        } else if (ParseSlotKey(key)) {
            used.slots = true;
        }
    });
    return used;
}

void SetSlotValues(const PcgContents& contents, const TemplateKeys& used,
                   const std::string& fileName, CReportTemplate& reportTemplate) {
    if (!used.WholeFile()) {
        return;
    }
    auto source = std::make_shared<SlotValueSource>(contents, fileName);
    reportTemplate.SetValueSource(
        [source](std::string_view key, const CReportTemplate::Sink& sink) {
            source->Write(key, sink);
        });
}

std::string PcgFileNameValue(const std::string& pcgPath) {
    const std::string trimmed = NameValue(os::FileNameOf(pcgPath), Escaping::Html);
    std::string value;
    ForEachUtf8Character(trimmed, [&value](char32_t c) {
        if (c < 0x80) {
            value += static_cast<char>(c);
            return;
        }
        char reference[16];
        std::snprintf(reference, sizeof reference, "&#x%X;", static_cast<unsigned>(c));
        value += reference;
    });
    return value;
}
