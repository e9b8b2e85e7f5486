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
    for (std::uint32_t s = bank.firstSlot; s < bank.firstSlot + bank.slotCount; ++s) {
        const PcgSlot& slot = contents.slots[s];
        html += "<li><span class=\"num\">" + SlotLabel(bank, slot) +
                "</span><span class=\"name\">" + PatchNameValue(slot.Name()) + "</span></li>\r\n";
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
            html = std::string("<section class=\"kind ") + std::string(KindName(kind)) +
                   "\">\r\n<h2>" + TextsOf(kind).heading + "</h2>\r\n";
        }
        if (ListedByBank(kind)) {
            html += "<section class=\"bank\">\r\n<h3>Bank " + BankLabel(bank) + "</h3>\r\n<ol>\r\n";
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

void SetSlotValues(const PcgContents& contents, CReportTemplate& reportTemplate) {
    // Backwards, so that of two slots with one key the first in the file is the one kept.
    for (auto slot = contents.slots.rbegin(); slot != contents.slots.rend(); ++slot) {
        const PcgBank& bank = contents.BankOf(*slot);
        reportTemplate.SetValue(TextsOf(bank.kind).keyPrefix + SlotLabel(bank, *slot),
                                PatchNameValue(slot->Name()));
    }
    for (const SlotKind kind :
         {SlotKind::Program, SlotKind::Combination, SlotKind::DrumKit, SlotKind::Arpeggio}) {
        reportTemplate.SetValue(TextsOf(kind).sectionsKey, KindSections(contents, kind));
    }
}

bool IsSlotKey(std::string_view key) {
    for (const KindTexts& texts : kKindTexts) {
        if (key.starts_with(texts.keyPrefix)) {
            return true;
        }
    }
    return false;
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
