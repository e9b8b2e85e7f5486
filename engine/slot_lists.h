// SPDX-License-Identifier: MIT
// The HTML lists a report shows of a whole file: every bank, by category, and every
// combination with the programs it plays.
#pragma once

#include <functional>
#include <string_view>

#include "engine/pcg_contents.h"
#include "engine/slot_finder.h"

using ListSink = std::function<void(std::string_view)>;

// Every list is a section for the kind (<section class="kind program"> with its <h2>), and in
// it blocks short enough for a printed page, each with its heading: an <h3> that names what the
// block holds and, in <span class="about">, the kind and the file (`fileName`, as the report
// shows it), so that every page names all three; a block that goes on from the one before has
// class "more". Names are escaped for HTML. Lines end in CR LF, as the template's own do.

// Every bank of `kind`: programs and combinations bank by bank (a block a bank, "Bank A"), drum
// kits and arpeggio patterns numbered across their banks (a block of 128, "000-127"). An item:
// <li><span class="num">A000</span><span class="name">Grand Piano</span>, then, where the slot
// has a category, <span class="category">Keyboard</span>. Nothing for a kind the file lacks.
void WriteKindBanks(const PcgContents& contents, SlotKind kind, std::string_view fileName,
                    const ListSink& sink);

// The programs or the combinations grouped under their categories, in the categories' order,
// those without one last ("No category"); each group in file order.
void WriteKindCategories(const PcgContents& contents, SlotKind kind, std::string_view fileName,
                         const ListSink& sink);

// Every combination, bank by bank, with the programs it plays in a <ul class="uses"> of items
// like the lists' (a program the file does not hold, a GM one say, by its slot alone).
void WriteCombinationPrograms(const PcgContents& contents, const SlotFinder& finder,
                              std::string_view fileName, const ListSink& sink);
