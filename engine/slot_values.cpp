// SPDX-License-Identifier: MIT
#include "engine/slot_values.h"

#include <cstdio>

#include "engine/patch_name_value.h"
#include "engine/text_encoding.h"
#include "platform/os/executable_path.h"

namespace {

constexpr std::size_t kKinds = 4;

struct KindTexts {
    const char* keyPrefix;
    const char* sectionsKey;
    const char* heading;
};

constexpr KindTexts kKindTexts[kKinds] = {
    {"PROGRAM_", "PROGRAM_BANKS", "Programs"},
    {"COMBI_", "COMBI_BANKS", "Combinations"},
    {"DRUMKIT_", "DRUMKIT_BANKS", "Drum kits"},
    {"ARPEGGIO_", "ARPEGGIO_BANKS", "Arpeggio patterns"},
};

const KindTexts& TextsOf(SlotKind kind) {
    return kKindTexts[static_cast<std::size_t>(kind)];
}

// Drum kits and arpeggio patterns are numbered across their banks: one list for the kind.
bool ListedByBank(SlotKind kind) {
    return kind == SlotKind::Program || kind == SlotKind::Combination;
}

// Line ends as the template's own lines have them in the report.
void AppendSlots(const PcgContents& contents, const PcgBank& bank, std::string& html) {
    const std::string labelPrefix = SlotLabelPrefix(bank);
    for (std::uint32_t s = bank.firstSlot; s < bank.firstSlot + bank.slotCount; ++s) {
        const PcgSlot& slot = contents.slots[s];
        html += "<li><span class=\"num\">";
        html += labelPrefix;
        AppendSlotNumber(slot, html);
        html += "</span><span class=\"name\">";
        AppendPatchNameValue(slot.Name(), html);
        html += "</span></li>\r\n";
    }
}

std::string KindSections(const PcgContents& contents, SlotKind kind) {
    std::string html;
    bool listOpen = false;
    for (const PcgBank& bank : contents.banks) {
        if (bank.kind != kind) {
            continue;
        }
        if (html.empty()) {
            // About 70 bytes a slot: one allocation for a whole bank of the usual size.
            html.reserve(static_cast<std::size_t>(bank.slotCount) * 80 + 256);
            html += "<section class=\"kind ";
            html += KindName(kind);
            html += "\">\r\n<h2>";
            html += TextsOf(kind).heading;
            html += "</h2>\r\n";
        }
        if (ListedByBank(kind)) {
            html += "<section class=\"bank\">\r\n<h3>Bank ";
            html += BankLabel(bank);
            html += "</h3>\r\n<ol>\r\n";
            AppendSlots(contents, bank, html);
            html += "</ol>\r\n</section>\r\n";
        } else {
            if (!listOpen) {
                html += "<ol>\r\n";
                listOpen = true;
            }
            AppendSlots(contents, bank, html);
        }
    }
    if (listOpen) {
        html += "</ol>\r\n";
    }
    if (!html.empty()) {
        html += "</section>";
    }
    return html;
}

}  // namespace

bool SlotKeysUsed::Any() const {
    return slots || sections[0] || sections[1] || sections[2] || sections[3];
}

SlotKeysUsed SlotKeysIn(const CReportTemplate& reportTemplate) {
    SlotKeysUsed used;
    reportTemplate.ForEachTag([&used](std::string_view key) {
        for (std::size_t kind = 0; kind < kKinds; ++kind) {
            if (key == kKindTexts[kind].sectionsKey) {
                used.sections[kind] = true;
            } else if (key.starts_with(kKindTexts[kind].keyPrefix)) {
                used.slots = true;
            }
        }
    });
    return used;
}

void SetSlotValues(const PcgContents& contents, const SlotKeysUsed& used,
                   CReportTemplate& reportTemplate) {
    // Backwards, so that of two slots with one key the first in the file is the one kept.
    for (auto slot = contents.slots.rbegin(); used.slots && slot != contents.slots.rend(); ++slot) {
        const PcgBank& bank = contents.BankOf(*slot);
        reportTemplate.SetValue(TextsOf(bank.kind).keyPrefix + SlotLabel(bank, *slot),
                                PatchNameValue(slot->Name()));
    }
    for (std::size_t kind = 0; kind < kKinds; ++kind) {
        if (used.sections[kind]) {
            reportTemplate.SetValue(kKindTexts[kind].sectionsKey,
                                    KindSections(contents, static_cast<SlotKind>(kind)));
        }
    }
}

std::string PcgFileNameValue(const std::string& pcgPath) {
    const std::string trimmed = PatchNameValue(os::FileNameOf(pcgPath));
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
