// SPDX-License-Identifier: MIT
#include "engine/table_output.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "engine/ods_content.h"
#include "engine/patch_name_value.h"
#include "engine/text_encoding.h"

namespace {

constexpr std::string_view kSheetNames[kSlotKinds] = {"Programs", "Combinations", "Drum kits",
                                                      "Arpeggio patterns"};

// Handed on in pieces, so that a listing of any size is never held whole.
constexpr std::size_t kPieceSize = 64 * 1024;

// Printable ASCII but the quote and the backslash: the bytes that every format writes as they
// are, looked up rather than compared, since every byte of a listing passes here.
constexpr std::array<bool, 256> kPlainBytes = [] {
    std::array<bool, 256> plain{};
    for (int byte = 0x20; byte < 0x7F; ++byte) {
        plain[byte] = byte != '"' && byte != '\\';
    }
    return plain;
}();

bool IsPlain(std::string_view text) {
    bool plain = true;
    for (const char byte : text) {
        plain &= kPlainBytes[static_cast<unsigned char>(byte)];
    }
    return plain;
}

bool NeedsCsvQuotes(std::string_view text) {
    bool needs = false;
    ForEachUtf8Character(text, [&needs](char32_t c) {
        needs = needs || c == '"' || c == ',' || IsControlCharacter(c);
    });
    return needs;
}

}  // namespace

struct TableOutput::Sheets {
    std::array<OdsSheet, kSlotKinds> sheets;
};

bool TableFormatNamed(std::string_view name, TableFormat& format) {
    static constexpr std::pair<std::string_view, TableFormat> kNames[] = {
        {"tsv", TableFormat::Tsv},
        {"csv", TableFormat::Csv},
        {"json", TableFormat::Json},
        {"ods", TableFormat::Ods}};
    for (const auto& [known, value] : kNames) {
        if (known == name) {
            format = value;
            return true;
        }
    }
    return false;
}

std::string NameCell(std::string_view name) {
    std::string cell;
    AppendNameCell(name, cell);
    return cell;
}

void AppendNameCell(std::string_view name, std::string& cell) {
    name = TrimWhiteSpace(name);
    while (!name.empty()) {
        // A run of ASCII is the same in both charsets, and most names are ASCII alone.
        const std::size_t high = static_cast<std::size_t>(
            std::find_if(name.begin(), name.end(),
                         [](char byte) { return static_cast<unsigned char>(byte) >= 0x80; }) -
            name.begin());
        cell.append(name.substr(0, high));
        if (high == name.size()) {
            return;
        }
        AppendUtf8(Windows1252Character(static_cast<unsigned char>(name[high])), cell);
        name.remove_prefix(high + 1);
    }
}

std::string Utf8Cell(std::string_view text) {
    std::string cell;
    ForEachUtf8Character(text, [&cell](char32_t c) { AppendUtf8(c, cell); });
    return cell;
}

TableOutput::TableOutput(TableFormat format, std::vector<TableColumn> columns, TableSink sink,
                         Packer packer)
    : m_format(format),
      m_columns(std::move(columns)),
      m_sink(std::move(sink)),
      m_packer(std::move(packer)) {
    if (m_format == TableFormat::Ods) {
        m_sheets = std::make_unique<Sheets>();
        std::vector<std::string> header;
        for (const TableColumn& column : m_columns) {
            header.emplace_back(column.name);
        }
        for (std::size_t kind = 0; kind < kSlotKinds; ++kind) {
            m_sheets->sheets[kind].name = kSheetNames[kind];
            m_sheets->sheets[kind].rows.push_back(header);
        }
    }
}

TableOutput::~TableOutput() = default;

void TableOutput::AppendCell(std::string_view text, const TableColumn& column,
                             std::string& out) const {
    if (m_format == TableFormat::Json && column.list) {
        out += '[';
        for (bool first = true; !text.empty(); first = false) {
            const std::size_t space = std::min(text.find(' '), text.size());
            out += first ? "" : ",";
            AppendCell(text.substr(0, space), TableColumn{}, out);
            text.remove_prefix(std::min(space + 1, text.size()));
        }
        out += ']';
        return;
    }
    // Nearly every cell is plain ASCII, written as it is: no character needs looking at.
    if (IsPlain(text) &&
        (m_format != TableFormat::Csv || text.find(',') == std::string_view::npos)) {
        if (m_format == TableFormat::Json) {
            out += '"';
            out += text;
            out += '"';
        } else {
            out += text;
        }
        return;
    }
    const bool quoted =
        m_format == TableFormat::Json || (m_format == TableFormat::Csv && NeedsCsvQuotes(text));
    if (quoted) {
        out += '"';
    }
    ForEachUtf8Character(text, [this, &out](char32_t c) {
        if (m_format == TableFormat::Json && (c == '"' || c == '\\')) {
            out += '\\';
        } else if (m_format == TableFormat::Json && IsControlCharacter(c)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(c));
            out += escape;
            return;
        } else if (m_format == TableFormat::Csv && c == '"') {
            out += '"';
        } else if (m_format == TableFormat::Tsv && IsControlCharacter(c)) {
            c = ' ';
        }
        AppendUtf8(c, out);
    });
    if (quoted) {
        out += '"';
    }
}

void TableOutput::AppendCsvHeader() {
    for (std::size_t c = 0; c < m_columns.size(); ++c) {
        m_text += c == 0 ? "" : ",";
        m_text += m_columns[c].name;
    }
    m_text += "\r\n";
}

void TableOutput::BeginGroup(std::string_view name) {
    if (m_format != TableFormat::Json) {
        return;
    }
    m_text += m_begun ? (m_grouped ? "]},\n" : ",\n") : "[\n";
    m_text += "{\"file\":";
    AppendCell(name, TableColumn{}, m_text);
    m_text += ",\"slots\":[";
    m_begun = m_grouped = true;
    m_firstInGroup = true;
}

void TableOutput::Row(SlotKind kind, const std::vector<std::string>& cells) {
    switch (m_format) {
        case TableFormat::Ods:
            m_sheets->sheets[static_cast<std::size_t>(kind)].rows.push_back(cells);
            return;
        case TableFormat::Json:
            m_text += m_grouped ? (m_firstInGroup ? "\n{" : ",\n{") : (m_begun ? ",\n{" : "[\n{");
            m_begun = true;
            m_firstInGroup = false;
            for (std::size_t c = 0; c < m_columns.size(); ++c) {
                m_text += c == 0 ? "\"" : ",\"";
                m_text += m_columns[c].name;
                m_text += "\":";
                AppendCell(cells[c], m_columns[c], m_text);
            }
            m_text += '}';
            break;
        case TableFormat::Csv:
            if (!m_begun) {
                AppendCsvHeader();
            }
            m_begun = true;
            [[fallthrough]];
        case TableFormat::Tsv:
            for (std::size_t c = 0; c < m_columns.size(); ++c) {
                if (c > 0) {
                    m_text += m_format == TableFormat::Tsv ? '\t' : ',';
                }
                AppendCell(cells[c], m_columns[c], m_text);
            }
            m_text += m_format == TableFormat::Csv ? "\r\n" : "\n";
            break;
    }
    if (m_text.size() >= kPieceSize) {
        m_sink(m_text);
        m_text.clear();
    }
}

bool TableOutput::Finish() {
    switch (m_format) {
        case TableFormat::Ods: {
            const std::string archive =
                m_packer ? m_packer(OdsFiles(std::vector<OdsSheet>(m_sheets->sheets.begin(),
                                                                   m_sheets->sheets.end())))
                         : std::string();
            if (archive.empty()) {
                return false;
            }
            m_sink(archive);
            return true;
        }
        case TableFormat::Json:
            m_text += !m_begun ? "[]\n" : m_grouped ? "]}\n]\n" : "\n]\n";
            break;
        case TableFormat::Csv:
            if (!m_begun) {
                AppendCsvHeader();  // the header alone: no row followed
            }
            break;
        case TableFormat::Tsv:
            break;
    }
    m_sink(m_text);
    m_text.clear();
    return true;
}
