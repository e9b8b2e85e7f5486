// SPDX-License-Identifier: MIT
#include "engine/slot_finder.h"

#include "engine/slot_labels.h"

SlotFinder::SlotFinder(const PcgContents& contents)
    : m_contents(contents), m_programs(kBankCodes * 256, 0) {
    // Backwards, so that of two slots with one label the first in the file is the one kept.
    for (std::size_t s = contents.slots.size(); s-- > 0;) {
        const PcgSlot& slot = contents.slots[s];
        const PcgBank& bank = contents.BankOf(slot);
        if (bank.kind == SlotKind::Program && bank.code < kBankCodes && slot.index < 256) {
            m_programs[bank.code * 256 + slot.index] = static_cast<std::uint32_t>(s + 1);
        }
    }
}

const PcgSlot* SlotFinder::Find(SlotKind kind, std::string_view label) const {
    std::string_view prefix;
    std::uint32_t number = 0;
    if (!SplitSlotLabel(label, prefix, number)) {
        return nullptr;
    }
    // A bank's slots are numbered one after another from its first.
    for (const PcgBank& bank : m_contents.banks) {
        if (bank.kind != kind || bank.slotCount == 0 || bank.Prefix() != prefix) {
            continue;
        }
        const std::uint32_t first = m_contents.slots[bank.firstSlot].index;
        if (number >= first && number - first < bank.slotCount) {
            return &m_contents.slots[bank.firstSlot + (number - first)];
        }
    }
    return nullptr;
}

const PcgSlot* SlotFinder::Program(ProgramRef program) const {
    if (program.code >= kBankCodes) {
        return nullptr;
    }
    const std::uint32_t slot = m_programs[program.code * 256u + program.number];
    return slot == 0 ? nullptr : &m_contents.slots[slot - 1];
}
