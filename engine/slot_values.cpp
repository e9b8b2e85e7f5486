// SPDX-License-Identifier: MIT
#include "engine/slot_values.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "engine/patch_name_value.h"
#include "engine/text_encoding.h"
#include "platform/os/path_names.h"

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

// Copies `text` to `out`; returns where it ends.
char* Put(char* out, std::string_view text) {
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

// Gathers small pieces of text and hands them on in large ones.
class PieceBuffer {
public:
    explicit PieceBuffer(const CReportTemplate::Sink& sink) : m_sink(sink) {
        m_text.resize(kSize + kRoom);
    }
    ~PieceBuffer() { Flush(); }
    PieceBuffer(const PieceBuffer&) = delete;
    PieceBuffer& operator=(const PieceBuffer&) = delete;

    void Add(std::string_view text) {
        if (text.size() > kRoom) {
            Flush();
            m_sink(text);
            return;
        }
        Commit(Put(Room(), text));
    }
    // Where up to kRoom bytes may be written; Commit(end) then takes them.
    char* Room() { return m_text.data() + m_used; }
    void Commit(const char* end) {
        m_used = static_cast<std::size_t>(end - m_text.data());
        if (m_used >= kSize) {
            Flush();
        }
    }
    void Flush() {
        if (m_used > 0) {
            m_sink(std::string_view(m_text.data(), m_used));
            m_used = 0;
        }
    }

    static constexpr std::size_t kRoom = 1024;

private:
    static constexpr std::size_t kSize = 32 * 1024;
    const CReportTemplate::Sink& m_sink;
    std::string m_text;
    std::size_t m_used = 0;
};

// One list item per slot of `bank`, each written in place: a report of every bank has
// thousands, and adding them piece by piece cost more than all the rest. Line ends as the
// template's own lines have them in the report.
void AddSlots(const PcgContents& contents, const PcgBank& bank, PieceBuffer& html) {
    constexpr std::string_view kOpen = "<li><span class=\"num\">";
    constexpr std::string_view kMiddle = "</span><span class=\"name\">";
    constexpr std::string_view kClose = "</span></li>\r\n";
    const std::string prefix = SlotLabelPrefix(bank);
    // The longest prefix ("0xFFFFFFFF-"), number and name (every byte escaped) fit the room.
    static_assert(kOpen.size() + 11 + 10 + kMiddle.size() +
                      kMaxEscapedGrowth * sizeof PcgSlot::name + kClose.size() <=
                  PieceBuffer::kRoom);
    for (std::uint32_t s = bank.firstSlot; s < bank.firstSlot + bank.slotCount; ++s) {
        const PcgSlot& slot = contents.slots[s];
        char* out = WriteSlotNumber(slot, Put(Put(html.Room(), kOpen), prefix));
        html.Commit(Put(WriteNameValue(slot.Name(), Escaping::Html, Put(out, kMiddle)), kClose));
    }
}

void WriteKindSections(const PcgContents& contents, SlotKind kind,
                       const CReportTemplate::Sink& sink) {
    PieceBuffer html(sink);
    bool begun = false;
    bool listOpen = false;
    for (const PcgBank& bank : contents.banks) {
        if (bank.kind != kind) {
            continue;
        }
        if (!begun) {
            html.Add("<section class=\"kind ");
            html.Add(KindName(kind));
            html.Add("\">\r\n<h2>");
            html.Add(TextsOf(kind).heading);
            html.Add("</h2>\r\n");
            begun = true;
        }
        // One list for a kind numbered across its banks, one a bank for the others.
        if (!NumberedAcrossBanks(kind)) {
            html.Add("<section class=\"bank\">\r\n<h3>Bank ");
            html.Add(BankLabel(bank));
            html.Add("</h3>\r\n<ol>\r\n");
            AddSlots(contents, bank, html);
            html.Add("</ol>\r\n</section>\r\n");
        } else {
            if (!listOpen) {
                html.Add("<ol>\r\n");
                listOpen = true;
            }
            AddSlots(contents, bank, html);
        }
    }
    if (listOpen) {
        html.Add("</ol>\r\n");
    }
    if (begun) {
        html.Add("</section>");
    }
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
            } else if (key.starts_with(kKindTexts[kind].keyPrefix) &&
                       IsSlotLabel(static_cast<SlotKind>(kind),
                                   key.substr(std::strlen(kKindTexts[kind].keyPrefix)))) {
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
                                NameValue(slot->Name(), Escaping::Html));
    }
    // The lists are written as the report is, never held whole.
    for (std::size_t kind = 0; kind < kKinds; ++kind) {
        if (used.sections[kind]) {
            reportTemplate.SetValueWriter(
                kKindTexts[kind].sectionsKey, [&contents, kind](const CReportTemplate::Sink& sink) {
                    WriteKindSections(contents, static_cast<SlotKind>(kind), sink);
                });
        }
    }
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
