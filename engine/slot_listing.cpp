// SPDX-License-Identifier: MIT
#include "engine/slot_listing.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "engine/patch_name_value.h"
#include "engine/program_users.h"
#include "engine/slot_categories.h"
#include "engine/slot_labels.h"
#include "engine/text_encoding.h"

namespace {

constexpr std::string_view kColumnNames[] = {"file", "kind",     "bank", "slot",
                                             "name", "category", "uses", "used_by"};
constexpr ListingColumn kEveryColumn[] = {
    ListingColumn::File, ListingColumn::Kind,     ListingColumn::Bank, ListingColumn::Slot,
    ListingColumn::Name, ListingColumn::Category, ListingColumn::Uses, ListingColumn::UsedBy};

std::string_view NameOf(ListingColumn column) {
    return kColumnNames[static_cast<std::size_t>(column)];
}

// Calls `visit(character)` for each character of a name (Windows-1252) or a file name (UTF-8).
template <typename Visit>
void ForEachCharacter(std::string_view text, bool isName, Visit&& visit) {
    if (isName) {
        for (const char byte : text) {
            visit(Windows1252Character(static_cast<unsigned char>(byte)));
        }
    } else {
        ForEachUtf8Character(text, visit);
    }
}

bool NeedsCsvQuotes(std::string_view text, bool isName) {
    bool needs = false;
    ForEachCharacter(text, isName, [&needs](char32_t c) {
        needs = needs || c == '"' || c == ',' || IsControlCharacter(c);
    });
    return needs;
}

// Labels, space-separated: the programs a combination plays, or the combinations that play a
// program.
std::string UsesOf(const PcgContents& contents, const PcgSlot& slot) {
    std::string text;
    char label[kMaxSlotLabel];
    for (std::uint8_t u = 0; u < slot.useCount; ++u) {
        if (u > 0) {
            text += ' ';
        }
        text.append(label, WriteProgramLabel(slot.uses[u], contents.model, label));
    }
    return text;
}

std::string UsersOf(const PcgContents& contents, const ProgramUsers& users, const PcgSlot& slot) {
    std::string text;
    char label[kMaxSlotLabel];
    for (const std::uint32_t user : users.Of(slot)) {
        if (!text.empty()) {
            text += ' ';
        }
        const PcgSlot& combination = contents.slots[user];
        text.append(label, WriteSlotLabel(contents.BankOf(combination), combination, label));
    }
    return text;
}

// A space-separated list as a JSON array of its words.
void AppendJsonArray(std::string_view words, std::string& text) {
    text += '[';
    for (bool first = true; !words.empty(); first = false) {
        const std::size_t space = std::min(words.find(' '), words.size());
        text += first ? "\"" : ",\"";
        text += words.substr(0, space);
        text += '"';
        words.remove_prefix(std::min(space + 1, words.size()));
    }
    text += ']';
}

}  // namespace

bool ListingColumnsNamed(std::string_view list, std::vector<ListingColumn>& columns,
                         std::string& unknown) {
    columns.clear();
    for (;;) {
        const std::size_t comma = std::min(list.find(','), list.size());
        const std::string_view name = list.substr(0, comma);
        const auto* found = std::find(std::begin(kColumnNames), std::end(kColumnNames), name);
        if (found == std::end(kColumnNames)) {
            unknown = std::string(name);
            return false;
        }
        columns.push_back(kEveryColumn[found - std::begin(kColumnNames)]);
        if (comma == list.size()) {
            return true;
        }
        list.remove_prefix(comma + 1);
    }
}

bool ListingFormatNamed(std::string_view name, ListingFormat& format) {
    if (name == "tsv") {
        format = ListingFormat::Tsv;
    } else if (name == "csv") {
        format = ListingFormat::Csv;
    } else if (name == "json") {
        format = ListingFormat::Json;
    } else {
        return false;
    }
    return true;
}

SlotListing::SlotListing(ListingFormat format, std::vector<ListingColumn> columns,
                         std::function<void(std::string_view)> sink)
    : m_format(format), m_columns(std::move(columns)), m_sink(std::move(sink)) {
    if (m_format == ListingFormat::Json) {
        m_columns.assign(std::begin(kEveryColumn) + 1, std::end(kEveryColumn));
    }
}

void SlotListing::AppendField(std::string_view value, bool isName, std::string& line) const {
    if (isName) {
        value = TrimWhiteSpace(value);
    }
    const bool quoted = m_format == ListingFormat::Json ||
                        (m_format == ListingFormat::Csv && NeedsCsvQuotes(value, isName));
    if (quoted) {
        line += '"';
    }
    ForEachCharacter(value, isName, [this, &line](char32_t c) {
        if (m_format == ListingFormat::Json && (c == '"' || c == '\\')) {
            line += '\\';
        } else if (m_format == ListingFormat::Json && IsControlCharacter(c)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(c));
            line += escape;
            return;
        } else if (m_format == ListingFormat::Csv && c == '"') {
            line += '"';
        } else if (m_format == ListingFormat::Tsv && IsControlCharacter(c)) {
            c = ' ';
        }
        AppendUtf8(c, line);
    });
    if (quoted) {
        line += '"';
    }
}

void SlotListing::AppendHeader(std::string& text) const {
    for (std::size_t c = 0; c < m_columns.size(); ++c) {
        text += c == 0 ? "" : ",";
        text += NameOf(m_columns[c]);
    }
    text += "\r\n";
}

void SlotListing::Add(const std::string& file, const PcgContents& contents) {
    std::string text;
    if (!m_begun) {
        if (m_format == ListingFormat::Csv) {
            AppendHeader(text);
        } else if (m_format == ListingFormat::Json) {
            text = "[\n";
        }
    } else if (m_format == ListingFormat::Json) {
        text = ",\n";
    }
    m_begun = true;
    const bool json = m_format == ListingFormat::Json;
    if (json) {
        text += "{\"file\":";
        AppendField(file, false, text);
        text += ",\"slots\":[";
    }
    // Only a listing that shows them pays for the combinations' index.
    std::optional<ProgramUsers> users;
    if (std::find(m_columns.begin(), m_columns.end(), ListingColumn::UsedBy) != m_columns.end()) {
        users.emplace(contents);
    }
    const char separator = m_format == ListingFormat::Tsv ? '\t' : ',';
    char label[kMaxSlotLabel];
    bool firstSlot = true;
    for (const PcgSlot& slot : contents.slots) {
        const PcgBank& bank = contents.BankOf(slot);
        text += json ? (firstSlot ? "\n{" : ",\n{") : "";
        firstSlot = false;
        for (std::size_t c = 0; c < m_columns.size(); ++c) {
            const ListingColumn column = m_columns[c];
            if (json) {
                text += c == 0 ? "\"" : ",\"";
                text += NameOf(column);
                text += "\":";
            } else if (c > 0) {
                text += separator;
            }
            switch (column) {
                case ListingColumn::File:
                    AppendField(file, false, text);
                    break;
                case ListingColumn::Kind:
                    AppendField(KindName(bank.kind), false, text);
                    break;
                case ListingColumn::Bank:
                    AppendField(bank.Label(), false, text);
                    break;
                case ListingColumn::Slot:
                    AppendField({label, WriteSlotLabel(bank, slot, label)}, false, text);
                    break;
                case ListingColumn::Name:
                    AppendField(slot.Name(), true, text);
                    break;
                case ListingColumn::Category:
                    AppendField(CategoryName(bank.kind, slot.category), false, text);
                    break;
                case ListingColumn::Uses:
                case ListingColumn::UsedBy: {
                    const std::string words = column == ListingColumn::Uses
                                                  ? UsesOf(contents, slot)
                                                  : UsersOf(contents, *users, slot);
                    if (json) {
                        AppendJsonArray(words, text);
                    } else {
                        AppendField(words, false, text);
                    }
                    break;
                }
            }
        }
        text += json ? "}" : m_format == ListingFormat::Csv ? "\r\n" : "\n";
        // Handed on in pieces, so a listing of any size is never held whole.
        if (text.size() >= 64 * 1024) {
            m_sink(text);
            text.clear();
        }
    }
    if (json) {
        text += "]}";
    }
    m_sink(text);
}

void SlotListing::Finish() {
    if (m_format == ListingFormat::Json) {
        m_sink(m_begun ? "\n]\n" : "[]\n");
    } else if (m_format == ListingFormat::Csv && !m_begun) {
        std::string header;
        AppendHeader(header);
        m_sink(header);
    }
}
