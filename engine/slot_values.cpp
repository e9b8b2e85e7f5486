// SPDX-License-Identifier: MIT
#include "engine/slot_values.h"

#include <cstdio>
#include <cstring>
#include <string_view>

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

// Copies `text` to `out`; returns where it ends.
char* Put(char* out, std::string_view text) {
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

// One list item per slot of `bank`, each written whole into a buffer and appended at once: a
// report of every bank has thousands, and appending them piece by piece cost more than all the
// rest. Line ends as the template's own lines have them in the report.
void AppendSlots(const PcgContents& contents, const PcgBank& bank, std::string& html) {
    constexpr std::string_view kOpen = "<li><span class=\"num\">";
    constexpr std::string_view kMiddle = "</span><span class=\"name\">";
    constexpr std::string_view kClose = "</span></li>\r\n";
    const std::string prefix = SlotLabelPrefix(bank);
    // Room for the longest prefix ("0xFFFFFFFF-"), number and name (every byte escaped).
    char item[kOpen.size() + 11 + 10 + kMiddle.size() + 4 * sizeof PcgSlot::name + kClose.size()];
    for (std::uint32_t s = bank.firstSlot; s < bank.firstSlot + bank.slotCount; ++s) {
        const PcgSlot& slot = contents.slots[s];
        char* out = WriteSlotNumber(slot, Put(Put(item, kOpen), prefix));
        out = Put(WritePatchNameValue(slot.Name(), Put(out, kMiddle)), kClose);
        html.append(item, static_cast<std::size_t>(out - item));
    }
}

// About what a kind's sections take: a slot's item is some 70 bytes, a bank's heading and list
// some 80. One allocation, so that the text is never copied as it grows.
std::size_t SectionsSize(const PcgContents& contents, SlotKind kind) {
    std::size_t size = 256;
    for (const PcgBank& bank : contents.banks) {
        if (bank.kind == kind) {
            size += 96 + static_cast<std::size_t>(bank.slotCount) * 80;
        }
    }
    return size;
}

std::string KindSections(const PcgContents& contents, SlotKind kind) {
    std::string html;
    bool listOpen = false;
    for (const PcgBank& bank : contents.banks) {
        if (bank.kind != kind) {
            continue;
        }
        if (html.empty()) {
            html.reserve(SectionsSize(contents, kind));
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
