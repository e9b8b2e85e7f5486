// SPDX-License-Identifier: MIT
// The report's keys for what the whole file holds, beside the 128 PATCHNAME keys.
#pragma once

#include <string>

#include "engine/pcg_contents.h"
#include "engine/report_template.h"

// Which keys a template shows: reading the file costs only what they need. Most templates show
// the 128 names alone.
struct TemplateKeys {
    bool patchNames = false;  // one of PATCHNAME_000 to PATCHNAME_127, written exactly so
    // The keys below:
    bool patchSlots = false;  // "PATCHSLOT_000" to "PATCHSLOT_127"
    bool slots = false;       // a key of one slot: its name, category, programs or users
    bool lists = false;       // any of the lists

    // Any key that only the whole file's reading gives.
    bool WholeFile() const { return patchSlots || slots || lists; }
    // Nothing but where the first 128 programs come from: the file is read no further.
    bool FirstProgramsOnly() const { return patchSlots && !slots && !lists; }
};
TemplateKeys TemplateKeysIn(const CReportTemplate& reportTemplate);

// The number of program slots PATCHSLOT keys show.
inline constexpr std::size_t kPatchSlots = 128;

// Gives the template's whole-file keys their values, written as the report is rendered
// (`contents` must outlive the rendering); a slot or key the file does not hold renders as
// nothing. Every value is escaped for HTML (Escaping::Html).
//   PROGRAM_<slot>, COMBI_<slot>, DRUMKIT_<slot>, ARPEGGIO_<slot>: the slot's name, the slot
//       as SlotLabel gives it (PROGRAM_A000, PROGRAM_EXB-A000, DRUMKIT_143); of two slots with
//       one label, the first in the file;
//   PROGRAM_<slot>_CATEGORY, COMBI_<slot>_CATEGORY: its category's factory name;
//   COMBI_<slot>_USES: the programs it plays, as slots, space-separated, in timbre order;
//   PROGRAM_<slot>_USED_BY: the combinations that play it, space-separated, in file order;
//   PATCHSLOT_000 to PATCHSLOT_127: the j-th program slot in file order, as a slot;
//   PROGRAM_BANKS, COMBI_BANKS, DRUMKIT_BANKS, ARPEGGIO_BANKS: every bank of the kind
//       (WriteKindBanks); PROGRAM_CATEGORIES, COMBI_CATEGORIES: the kind by category
//       (WriteKindCategories); COMBI_PROGRAMS: every combination with its programs
//       (WriteCombinationPrograms). The lists name the file as `fileName`.
void SetSlotValues(const PcgContents& contents, const TemplateKeys& used,
                   const std::string& fileName, CReportTemplate& reportTemplate);

// The report's value for the PCG file's name: `pcgPath` without its folders, trimmed and
// escaped for HTML. File names are UTF-8 while the report's charset is the template's:
// every character beyond ASCII is written as a numeric character reference, which shows the
// same in any charset (a byte that is not UTF-8 as U+FFFD).
std::string PcgFileNameValue(const std::string& pcgPath);
