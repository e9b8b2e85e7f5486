// SPDX-License-Identifier: MIT
// Rows of slots as text for scripts (TSV, CSV, JSON) or as a spreadsheet (OpenDocument).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/pcg_contents.h"

enum class TableFormat {
    Tsv,   // a row a line, cells tab-separated, no header
    Csv,   // RFC 4180: a header line of the columns' names, CR LF line ends
    Json,  // an array of objects, one a row (or of groups of them, BeginGroup)
    Ods,   // an OpenDocument spreadsheet: a sheet a kind, each headed by the columns' names
};

// The format named "tsv", "csv", "json" or "ods"; false for any other name.
bool TableFormatNamed(std::string_view name, TableFormat& format);

struct TableColumn {
    std::string_view name;
    bool list = false;  // its cells are space-separated words: arrays in JSON
};

using TableSink = std::function<void(std::string_view)>;

// A file of an OpenDocument package: its name in the archive and its bytes.
struct PackageFile {
    std::string name;
    std::string bytes;
    bool stored = false;  // kept uncompressed: the "mimetype" that comes first
};
// Makes the archive (a zip file) of `files` in their order; empty when it cannot.
using Packer = std::function<std::string(const std::vector<PackageFile>& files)>;

// Writes rows to `sink` as `format` says. Cells are UTF-8 (UTF8Cell, NameCell), and a cell
// never breaks a line or a column: a control character becomes a space in TSV and in the
// spreadsheet, and is quoted or escaped as CSV and JSON require. Every spreadsheet cell is
// text, exactly as given, runs of spaces and all: a slot "000" stays "000", and a name that
// begins with "=" or "'" is no formula. The spreadsheet is made whole at Finish, with `packer`.
class TableOutput {
public:
    TableOutput(TableFormat format, std::vector<TableColumn> columns, TableSink sink,
                Packer packer = {});
    ~TableOutput();
    TableOutput(const TableOutput&) = delete;
    TableOutput& operator=(const TableOutput&) = delete;

    // JSON only: the rows that follow, to the next group, are the "slots" of an object whose
    // "file" is `name`, as a listing of several files gives them.
    void BeginGroup(std::string_view name);

    // A row of `kind` (the spreadsheet's sheet), one cell a column.
    void Row(SlotKind kind, const std::vector<std::string>& cells);

    // Ends the output; nothing may be added after. False when the spreadsheet cannot be made.
    bool Finish();

private:
    struct Sheets;
    void AppendCell(std::string_view text, const TableColumn& column, std::string& out) const;
    void AppendCsvHeader();

    TableFormat m_format;
    std::vector<TableColumn> m_columns;
    TableSink m_sink;
    Packer m_packer;
    std::string m_text;  // gathered, and handed on in pieces
    bool m_begun = false;
    bool m_grouped = false;
    bool m_firstInGroup = true;
    std::unique_ptr<Sheets> m_sheets;  // the spreadsheet's rows, until Finish
};

// A name read from a record, as a cell: trimmed of white space, its bytes read as
// Windows-1252 (the report's charset), in UTF-8.
std::string NameCell(std::string_view name);
// The same, appended to `cell`.
void AppendNameCell(std::string_view name, std::string& cell);

// A text of the system's (a file's path), as a cell: a byte that is not UTF-8 as U+FFFD.
std::string Utf8Cell(std::string_view text);
