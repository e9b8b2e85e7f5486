// SPDX-License-Identifier: MIT
#include "engine/program_users.h"

namespace {

constexpr std::uint32_t kNumbers = 256;  // a timbre's program number is one byte

}  // namespace

bool ProgramUsers::KeyOf(std::uint8_t code, std::uint32_t number, std::uint32_t& key) {
    if (code >= kBankCodes || number >= kNumbers) {
        return false;
    }
    key = code * kNumbers + number;
    return true;
}

ProgramUsers::ProgramUsers(const PcgContents& contents)
    : m_contents(contents), m_begin(kBankCodes * kNumbers + 1, 0) {
    // Counted first, then placed, each key's combinations in file order.
    for (const bool place : {false, true}) {
        std::vector<std::uint32_t> next;
        if (place) {
            for (std::size_t k = 1; k < m_begin.size(); ++k) {
                m_begin[k] += m_begin[k - 1];
            }
            m_users.resize(m_begin.back());
            next.assign(m_begin.begin(), m_begin.end() - 1);
        }
        for (std::uint32_t s = 0; s < contents.slots.size(); ++s) {
            const PcgSlot& slot = contents.slots[s];
            for (std::uint8_t u = 0; u < slot.useCount; ++u) {
                std::uint32_t key = 0;
                if (KeyOf(slot.uses[u].code, slot.uses[u].number, key)) {
                    if (place) {
                        m_users[next[key]++] = s;
                    } else {
                        ++m_begin[key + 1];
                    }
                }
            }
        }
    }
}

std::span<const std::uint32_t> ProgramUsers::Of(const PcgSlot& program) const {
    const PcgBank& bank = m_contents.BankOf(program);
    std::uint32_t key = 0;
    if (bank.kind != SlotKind::Program || !KeyOf(bank.code, program.index, key)) {
        return {};
    }
    return std::span<const std::uint32_t>(m_users).subspan(m_begin[key],
                                                           m_begin[key + 1] - m_begin[key]);
}
