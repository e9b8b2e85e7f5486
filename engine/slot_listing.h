// SPDX-License-Identifier: MIT
// Every slot of PCG files as text for scripts: tab-separated, CSV or JSON.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/pcg_contents.h"

enum class ListingFormat {
    Tsv,   // the columns of each slot on a line, tab-separated, no header
    Csv,   // RFC 4180: a header line of the columns' names, CR LF line ends
    Json,  // an array of {"file": ..., "slots": [{every column but the file}...]}
};

// What a listing shows of each slot:
enum class ListingColumn : std::uint8_t {
    File,      // the PCG file's path as given
    Kind,      // "program", "combination", "drumkit", "arpeggio"
    Bank,      // the bank's label ("A", "EXB-A"); empty for drum kits and arpeggio patterns
    Slot,      // as the instrument shows it ("A000", "048")
    Name,      // trimmed
    Category,  // the factory name of its category, or empty
    Uses,      // a combination's programs, as slots, space-separated, in timbre order
    UsedBy,    // a program's combinations in the same file, space-separated, in file order
};

// The columns named in `list`, comma-separated ("kind,slot,name"), in that order: "file",
// "kind", "bank", "slot", "name", "category", "uses", "used_by". False, with `unknown` set to
// the first name that is none of them (an empty one too).
bool ListingColumnsNamed(std::string_view list, std::vector<ListingColumn>& columns,
                         std::string& unknown);

// Writes the listing of one PCG file after another to `sink`, as UTF-8 whatever the bytes:
// names are read as Windows-1252 (the report's charset) and trimmed of white space as in the
// report; file names as UTF-8 (a byte that is not, as U+FFFD). A value never breaks a line or
// a column: a control character in it becomes a space in TSV, and is quoted or escaped as CSV
// and JSON require. TSV and CSV show `columns`; JSON every column, "uses" and "used_by" as
// arrays.
class SlotListing {
public:
    SlotListing(ListingFormat format, std::vector<ListingColumn> columns,
                std::function<void(std::string_view)> sink);

    // The slots of `contents`, in file order, under the file `file`.
    void Add(const std::string& file, const PcgContents& contents);

    // Ends the listing (JSON's closing bracket); nothing may be added after.
    void Finish();

private:
    // The text of `value`, escaped for the format.
    void AppendField(std::string_view value, bool isName, std::string& line) const;
    void AppendHeader(std::string& text) const;

    ListingFormat m_format;
    std::vector<ListingColumn> m_columns;
    std::function<void(std::string_view)> m_sink;
    bool m_begun = false;
};

// The format named "tsv", "csv" or "json"; false for any other name.
bool ListingFormatNamed(std::string_view name, ListingFormat& format);
