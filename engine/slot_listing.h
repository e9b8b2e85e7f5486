// SPDX-License-Identifier: MIT
// Every slot of PCG files as text for scripts: tab-separated, CSV or JSON.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/pcg_contents.h"
#include "engine/table_output.h"

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

// Writes the listing of one PCG file after another as a table (TableOutput), a row a slot:
// TSV, CSV and the spreadsheet show `columns`; JSON every column, in an object a file whose
// "slots" are its rows, "uses" and "used_by" as arrays.
class SlotListing {
public:
    SlotListing(TableFormat format, std::vector<ListingColumn> columns, TableSink sink,
                Packer packer = {});

    // The slots of `contents`, in file order, under the file `file`.
    void Add(const std::string& file, const PcgContents& contents);

    // Ends the listing; nothing may be added after. False when a spreadsheet cannot be made.
    bool Finish();

private:
    std::vector<ListingColumn> m_columns;
    TableOutput m_table;
};
