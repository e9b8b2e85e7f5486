// SPDX-License-Identifier: MIT
// The report's keys for every slot of a PCG file, beside the 128 PATCHNAME keys.
#pragma once

#include <string>
#include <string_view>

#include "engine/pcg_contents.h"
#include "engine/report_template.h"

// Which of the keys below a template shows: most show none, and the all-banks template shows
// only the kinds' sections.
struct SlotKeysUsed {
    bool slots = false;     // any key of a single slot ("PROGRAM_A000": a label SlotLabel gives)
    bool sections[4] = {};  // "PROGRAM_BANKS" and the others, by SlotKind
    bool Any() const;
};
SlotKeysUsed SlotKeysIn(const CReportTemplate& reportTemplate);

// Sets, as far as `used` asks, for every slot the file holds, "PROGRAM_<slot>",
// "COMBI_<slot>", "DRUMKIT_<slot>" or "ARPEGGIO_<slot>" (the slot as SlotLabel gives it:
// PROGRAM_A000, DRUMKIT_143) to its name, trimmed and escaped for HTML (Escaping::Html);
// where two banks give the same slot, the first in the file wins. Sets "PROGRAM_BANKS",
// "COMBI_BANKS", "DRUMKIT_BANKS" and "ARPEGGIO_BANKS" to the HTML of that kind's section: a
// heading for the kind and for each of its banks, and a numbered list of the names (nothing
// when the file holds no bank of it), written as the report is rendered: `contents` must
// outlive the rendering. Slots the file does not hold have no value, so their tags render as
// nothing.
void SetSlotValues(const PcgContents& contents, const SlotKeysUsed& used,
                   CReportTemplate& reportTemplate);

// The report's value for the PCG file's name: `pcgPath` without its folders, trimmed and
// escaped for HTML. File names are UTF-8 while the report's charset is the template's:
// every character beyond ASCII is written as a numeric character reference, which shows the
// same in any charset (a byte that is not UTF-8 as U+FFFD).
std::string PcgFileNameValue(const std::string& pcgPath);
