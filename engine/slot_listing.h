// SPDX-License-Identifier: MIT
// Every slot of PCG files as text for scripts: tab-separated, CSV or JSON.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "engine/pcg_contents.h"

enum class ListingFormat {
    Tsv,   // kind<TAB>slot<TAB>name per line, no header
    Csv,   // RFC 4180: a header line "kind,slot,name", CR LF line ends
    Json,  // an array of {"file": ..., "slots": [{"kind", "bank", "slot", "name"}...]}
};

// Writes the listing of one PCG file after another to `sink`, as UTF-8 whatever the bytes:
// names are read as Windows-1252 (the report's charset) and trimmed of white space as in the
// report; file names as UTF-8 (a byte that is not, as U+FFFD). A value never breaks a line or
// a column: a control character in it becomes a space in TSV, and is quoted or escaped as CSV
// and JSON require. With `nameFiles`, every TSV and CSV line begins with the file's column.
class SlotListing {
public:
    SlotListing(ListingFormat format, bool nameFiles, std::function<void(std::string_view)> sink);

    // The slots of `contents`, in file order, under the file `file`.
    void Add(const std::string& file, const PcgContents& contents);

    // Ends the listing (JSON's closing bracket); nothing may be added after.
    void Finish();

private:
    // The text of `value`, escaped for the format.
    void AppendField(std::string_view value, bool isName, std::string& line) const;

    ListingFormat m_format;
    bool m_nameFiles;
    std::function<void(std::string_view)> m_sink;
    bool m_begun = false;
};

// The format named "tsv", "csv" or "json"; false for any other name.
bool ListingFormatNamed(std::string_view name, ListingFormat& format);
