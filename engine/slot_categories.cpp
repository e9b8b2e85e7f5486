// SPDX-License-Identifier: MIT
#include "engine/slot_categories.h"

std::string_view CategoryName(SlotKind kind, std::uint8_t category) {
    static constexpr std::string_view kPrograms[kCategories] = {
        "Keyboard",    "Organ",     "Bell/Mallet",   "Strings",
        "Vocal/Airy",  "Brass",     "Woodwind/Reed", "Guitar/Plucked",
        "Bass",        "SlowSynth", "FastSynth",     "LeadSynth",
        "MotionSynth", "SE",        "Hit/Arpg",      "Drums"};
    static constexpr std::string_view kCombinations[kCategories] = {
        "Keyboard",   "Organ",      "Bell/Mallet/Perc", "Strings",      "BrassReed",
        "Orchestral", "World",      "Guitar/Plucked",   "Pads",         "MotionSynth",
        "Synth",      "LeadSplits", "BassSplits",       "Complex & SE", "RhythmicPattern",
        "Ds/Hits"};
    if (category >= kCategories) {
        return {};
    }
    if (kind == SlotKind::Program) {
        return kPrograms[category];
    }
    return kind == SlotKind::Combination ? kCombinations[category] : std::string_view();
}

bool CategoryPlaceOf(SlotKind kind, std::uint32_t recordSize, const PcgModel& model,
                     CategoryPlace& place) {
    if (!model.TritonFamily()) {
        return false;
    }
    // Programs of the PCM engine are 540 bytes, of the MOSS board 604.
    if (kind == SlotKind::Program && (recordSize == 540 || recordSize == 604)) {
        place = {206, false};
        return true;
    }
    if (kind == SlotKind::Combination && recordSize == 448) {
        place = {214, true};
        return true;
    }
    return false;
}
