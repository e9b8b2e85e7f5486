// SPDX-License-Identifier: MIT
#include "engine/slot_listing.h"

#include <cstdio>

#include "engine/patch_name_value.h"
#include "engine/text_encoding.h"

namespace {

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

const char* CsvHeader(bool nameFiles) {
    return nameFiles ? "file,kind,slot,name\r\n" : "kind,slot,name\r\n";
}

bool NeedsCsvQuotes(std::string_view text, bool isName) {
    bool needs = false;
    ForEachCharacter(text, isName, [&needs](char32_t c) {
        needs = needs || c == '"' || c == ',' || IsControlCharacter(c);
    });
    return needs;
}

}  // namespace

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

SlotListing::SlotListing(ListingFormat format, bool nameFiles,
                         std::function<void(std::string_view)> sink)
    : m_format(format), m_nameFiles(nameFiles), m_sink(std::move(sink)) {}

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

void SlotListing::Add(const std::string& file, const PcgContents& contents) {
    std::string text;
    if (!m_begun) {
        if (m_format == ListingFormat::Csv) {
            text = CsvHeader(m_nameFiles);
        } else if (m_format == ListingFormat::Json) {
            text = "[\n";
        }
    } else if (m_format == ListingFormat::Json) {
        text = ",\n";
    }
    m_begun = true;
    if (m_format == ListingFormat::Json) {
        text += "{\"file\":";
        AppendField(file, false, text);
        text += ",\"slots\":[";
    }
    const char* const separator = m_format == ListingFormat::Tsv ? "\t" : ",";
    bool first = true;
    for (const PcgSlot& slot : contents.slots) {
        const PcgBank& bank = contents.BankOf(slot);
        if (m_format == ListingFormat::Json) {
            text += first ? "\n{\"kind\":\"" : ",\n{\"kind\":\"";
            text += KindName(bank.kind);
            if (!NumberedAcrossBanks(bank.kind)) {
                text += "\",\"bank\":\"" + BankLabel(bank);
            }
            text += "\",\"slot\":\"" + SlotLabel(bank, slot) + "\",\"name\":";
            AppendField(slot.Name(), true, text);
            text += "}";
        } else {
            if (m_nameFiles) {
                AppendField(file, false, text);
                text += separator;
            }
            text += KindName(bank.kind);
            text += separator + SlotLabel(bank, slot) + separator;
            AppendField(slot.Name(), true, text);
            text += m_format == ListingFormat::Csv ? "\r\n" : "\n";
        }
        first = false;
        // Handed on in pieces, so a listing of any size is never held whole.
        if (text.size() >= 64 * 1024) {
            m_sink(text);
            text.clear();
        }
    }
    if (m_format == ListingFormat::Json) {
        text += "]}";
    }
    m_sink(text);
}

void SlotListing::Finish() {
    if (m_format == ListingFormat::Json) {
        m_sink(m_begun ? "\n]\n" : "[]\n");
    } else if (m_format == ListingFormat::Csv && !m_begun) {
        m_sink(CsvHeader(m_nameFiles));
    }
}
