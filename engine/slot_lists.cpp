// SPDX-License-Identifier: MIT
#include "engine/slot_lists.h"

#include <cstdint>
#include <string>
#include <vector>

#include "engine/patch_name_value.h"
#include "engine/piece_buffer.h"
#include "engine/slot_categories.h"
#include "engine/slot_labels.h"

namespace {

// Slot lists of 128 take a page with their heading; a combination and its programs take up
// to nine lines, so fewer of them do.
constexpr std::size_t kSlotsPerBlock = 128;
constexpr std::size_t kCombinationsPerBlock = 16;

constexpr std::string_view kHeadings[kSlotKinds] = {"Programs", "Combinations", "Drum kits",
                                                    "Arpeggio patterns"};

std::string_view HeadingOf(SlotKind kind) {
    return kHeadings[static_cast<std::size_t>(kind)];
}

// <span class="num">label</span><span class="name">name</span>
char* PutSlot(const PcgContents& contents, const PcgSlot& slot, char* out) {
    out = WriteSlotLabel(contents.BankOf(slot), slot, Put(out, "<span class=\"num\">"));
    out = Put(out, "</span><span class=\"name\">");
    return Put(WriteNameValue(slot.Name(), Escaping::Html, out), "</span>");
}

// The room one item needs at the most: a label, a name every byte of which is escaped, a
// category, and the markup around them.
static_assert(kMaxSlotLabel + kMaxEscapedGrowth * 16 + 2 * 16 + 160 <= PieceBuffer::kRoom);

void PutSlotItem(const PcgContents& contents, const PcgSlot& slot, PieceBuffer& html) {
    char* out = PutSlot(contents, slot, Put(html.Room(), "<li>"));
    const std::string_view category = CategoryName(contents.BankOf(slot).kind, slot.category);
    if (!category.empty()) {
        out = Put(WriteNameValue(category, Escaping::Html, Put(out, "<span class=\"category\">")),
                  "</span>");
    }
    html.Commit(Put(out, "</li>\r\n"));
}

// A kind's section around the blocks that `write` adds; nothing when it adds none.
class KindSection {
public:
    KindSection(SlotKind kind, std::string_view fileName, PieceBuffer& html)
        : m_kind(kind), m_fileName(fileName), m_html(html) {}
    ~KindSection() {
        if (m_begun) {
            m_html.Add("</section>\r\n");
        }
    }
    KindSection(const KindSection&) = delete;
    KindSection& operator=(const KindSection&) = delete;

    // Adds the blocks of `slots` (indexes into the slots, in order), `perBlock` to a block,
    // under `title` (escaped) or, for slots numbered across banks, their first and last
    // numbers; each item written by `item`. `listClass` is the class of the <ol>, if any.
    template <typename Item>
    void AddBlocks(const PcgContents& contents, const std::vector<std::uint32_t>& slots,
                   std::string_view title, std::size_t perBlock, std::string_view listClass,
                   Item&& item) {
        for (std::size_t first = 0; first < slots.size(); first += perBlock) {
            const std::size_t last = std::min(first + perBlock, slots.size()) - 1;
            Begin();
            m_html.Add(first == 0 ? "<section class=\"block\">\r\n<h3>"
                                  : "<section class=\"block\">\r\n<h3 class=\"more\">");
            if (title.empty()) {
                char* out = m_html.Room();
                out = WriteSlotLabel(contents.BankOf(contents.slots[slots[first]]),
                                     contents.slots[slots[first]], out);
                out = WriteSlotLabel(contents.BankOf(contents.slots[slots[last]]),
                                     contents.slots[slots[last]], Put(out, "&ndash;"));
                m_html.Commit(out);
            } else {
                m_html.Add(NameValue(title, Escaping::Html));
                m_html.Add(first == 0 ? "" : ", continued");
            }
            m_html.Add("<span class=\"about\"> &middot; ");
            m_html.Add(HeadingOf(m_kind));
            m_html.Add(" &middot; ");
            m_html.Add(m_fileName);
            m_html.Add("</span></h3>\r\n");
            m_html.Add(listClass.empty() ? "<ol>\r\n" : "<ol class=\"");
            if (!listClass.empty()) {
                m_html.Add(listClass);
                m_html.Add("\">\r\n");
            }
            for (std::size_t s = first; s <= last; ++s) {
                item(contents.slots[slots[s]]);
            }
            m_html.Add("</ol>\r\n</section>\r\n");
        }
    }

private:
    void Begin() {
        if (!m_begun) {
            m_html.Add("<section class=\"kind ");
            m_html.Add(KindName(m_kind));
            m_html.Add("\">\r\n<h2>");
            m_html.Add(HeadingOf(m_kind));
            m_html.Add("</h2>\r\n");
            m_begun = true;
        }
    }

    SlotKind m_kind;
    std::string_view m_fileName;
    PieceBuffer& m_html;
    bool m_begun = false;
};

std::vector<std::uint32_t> SlotsOf(const PcgBank& bank) {
    std::vector<std::uint32_t> slots(bank.slotCount);
    for (std::uint32_t s = 0; s < bank.slotCount; ++s) {
        slots[s] = bank.firstSlot + s;
    }
    return slots;
}

}  // namespace

void WriteKindBanks(const PcgContents& contents, SlotKind kind, std::string_view fileName,
                    const ListSink& sink) {
    PieceBuffer html(sink);
    KindSection section(kind, fileName, html);
    const auto item = [&](const PcgSlot& slot) { PutSlotItem(contents, slot, html); };
    // Kinds numbered across their banks are one list; the others a list a bank.
    std::vector<std::uint32_t> numbered;
    for (const PcgBank& bank : contents.banks) {
        if (bank.kind != kind) {
            continue;
        }
        const std::vector<std::uint32_t> slots = SlotsOf(bank);
        if (NumberedAcrossBanks(kind)) {
            numbered.insert(numbered.end(), slots.begin(), slots.end());
        } else if (!slots.empty()) {
            section.AddBlocks(contents, slots, "Bank " + std::string(bank.Label()), kSlotsPerBlock,
                              {}, item);
        }
    }
    section.AddBlocks(contents, numbered, {}, kSlotsPerBlock, {}, item);
}

void WriteKindCategories(const PcgContents& contents, SlotKind kind, std::string_view fileName,
                         const ListSink& sink) {
    std::vector<std::uint32_t> groups[kCategories + 1];
    for (std::uint32_t s = 0; s < contents.slots.size(); ++s) {
        const PcgSlot& slot = contents.slots[s];
        if (contents.BankOf(slot).kind == kind) {
            groups[slot.category < kCategories ? slot.category : kCategories].push_back(s);
        }
    }
    PieceBuffer html(sink);
    KindSection section(kind, fileName, html);
    for (std::uint8_t category = 0; category <= kCategories; ++category) {
        const std::string_view title =
            category < kCategories ? CategoryName(kind, category) : "No category";
        section.AddBlocks(
            contents, groups[category], title, kSlotsPerBlock, {}, [&](const PcgSlot& slot) {
                html.Commit(Put(PutSlot(contents, slot, Put(html.Room(), "<li>")), "</li>\r\n"));
            });
    }
}

void WriteCombinationPrograms(const PcgContents& contents, const SlotFinder& finder,
                              std::string_view fileName, const ListSink& sink) {
    PieceBuffer html(sink);
    KindSection section(SlotKind::Combination, fileName, html);
    const auto item = [&](const PcgSlot& combination) {
        html.Commit(PutSlot(contents, combination, Put(html.Room(), "<li>")));
        if (combination.useCount > 0) {
            html.Add("<ul class=\"uses\">");
            for (std::uint8_t u = 0; u < combination.useCount; ++u) {
                const ProgramRef program = combination.uses[u];
                char* out = Put(html.Room(), "<li>");
                if (const PcgSlot* held = finder.Program(program)) {
                    out = PutSlot(contents, *held, out);
                } else {
                    out = Put(WriteProgramLabel(program, contents.model,
                                                Put(out, "<span class=\"num\">")),
                              "</span>");
                }
                html.Commit(Put(out, "</li>"));
            }
            html.Add("</ul>");
        }
        html.Add("</li>\r\n");
    };
    for (const PcgBank& bank : contents.banks) {
        if (bank.kind == SlotKind::Combination && bank.slotCount > 0) {
            section.AddBlocks(contents, SlotsOf(bank), "Bank " + std::string(bank.Label()),
                              kCombinationsPerBlock, "combinations", item);
        }
    }
}
