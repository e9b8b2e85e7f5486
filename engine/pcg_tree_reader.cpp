// SPDX-License-Identifier: MIT
#include "engine/pcg_tree_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>

#include "engine/byte_order.h"

namespace {

constexpr std::uint64_t kChunkHeaderSize = 8;
constexpr std::uint64_t kBankFieldsSize = 12;  // record count, record size, bank number
constexpr std::uint64_t kNameSize = 16;

std::optional<SlotKind> ContainerKind(const unsigned char* id) {
    if (std::memcmp(id, "PRG1", 4) == 0)
        return SlotKind::Program;
    if (std::memcmp(id, "CMB1", 4) == 0)
        return SlotKind::Combination;
    if (std::memcmp(id, "DKT1", 4) == 0)
        return SlotKind::DrumKit;
    if (std::memcmp(id, "ARP1", 4) == 0)
        return SlotKind::Arpeggio;
    return std::nullopt;
}

bool IsBankOf(SlotKind kind, const unsigned char* id) {
    switch (kind) {
        case SlotKind::Program:
            return std::memcmp(id, "PBK1", 4) == 0 || std::memcmp(id, "MBK1", 4) == 0;
        case SlotKind::Combination:
            return std::memcmp(id, "CBK1", 4) == 0;
        case SlotKind::DrumKit:
            return std::memcmp(id, "DBK1", 4) == 0;
        case SlotKind::Arpeggio:
            break;
    }
    return std::memcmp(id, "ABK1", 4) == 0;
}

// One walk over the tree. `m_position` counts the bytes taken from the file; once the file
// comes back short it has ended and nothing more is read.
class TreeWalk {
public:
    TreeWalk(os::InputFile& file, PcgContents& contents) : m_file(file), m_contents(contents) {}

    PcgReadStatus Run() {
        unsigned char head[24];
        if (m_file.Read(head, sizeof head) != sizeof head || std::memcmp(head, "KORG", 4) != 0 ||
            std::memcmp(head + 16, "PCG1", 4) != 0) {
            return PcgReadStatus::BadHeaders;
        }
        m_position = sizeof head;
        const std::uint64_t end = m_position + ReadBigEndian32(head + 20);
        unsigned char chunk[kChunkHeaderSize];
        while (NextChunk(end, chunk)) {
            const std::uint64_t chunkEnd = std::min(m_position + ReadBigEndian32(chunk + 4), end);
            if (const auto kind = ContainerKind(chunk)) {
                ReadBanks(*kind, chunkEnd);
            }
            SkipTo(chunkEnd);
        }
        // Passing over what is left, unread, tells whether the file holds all its chunks say.
        SkipTo(end);
        if (m_stopped && !m_contents.shortfall) {
            m_contents.shortfall = {PcgShortfall::Kind::EndsEarly, m_position, end};
        }
        return m_found ? PcgReadStatus::Read : PcgReadStatus::NoBanks;
    }

private:
    // Reads the next chunk header inside a parent that ends at `end`; false when there is
    // none, the file has ended, or the walk was cut.
    bool NextChunk(std::uint64_t end, unsigned char* header) {
        if (m_stopped || m_position + kChunkHeaderSize > end) {
            return false;
        }
        if (++m_chunks > kMaxPcgChunks) {
            return Cut(PcgShortfall::Kind::TooManyChunks);
        }
        return Take(header, kChunkHeaderSize);
    }

    void ReadBanks(SlotKind kind, std::uint64_t containerEnd) {
        unsigned char chunk[kChunkHeaderSize];
        while (NextChunk(containerEnd, chunk)) {
            const std::uint64_t bankEnd =
                std::min(m_position + ReadBigEndian32(chunk + 4), containerEnd);
            unsigned char fields[kBankFieldsSize];
            if (IsBankOf(kind, chunk) && m_position + kBankFieldsSize <= bankEnd &&
                Take(fields, sizeof fields)) {
                if (m_contents.banks.size() == kMaxPcgBanks) {
                    Cut(PcgShortfall::Kind::TooManyBanks);
                    return;
                }
                m_found = true;
                m_contents.banks.push_back(
                    PcgBank{kind, std::memcmp(chunk, "MBK1", 4) == 0, ReadBigEndian32(fields + 8),
                            static_cast<std::uint32_t>(m_contents.slots.size()), 0});
                ReadRecords(ReadBigEndian32(fields), ReadBigEndian32(fields + 4), bankEnd);
            }
            SkipTo(bankEnd);
        }
    }

    void ReadRecords(std::uint32_t count, std::uint32_t recordSize, std::uint64_t bankEnd) {
        PcgBank& bank = m_contents.banks.back();
        std::uint32_t& running = m_running[static_cast<std::size_t>(bank.kind)];
        const bool numberedAcross = NumberedAcrossBanks(bank.kind);
        for (std::uint32_t r = 0; r < count && recordSize > 0 && m_position < bankEnd; ++r) {
            if (m_contents.slots.size() == kMaxPcgSlots) {
                Cut(PcgShortfall::Kind::TooManySlots);
                return;
            }
            const std::uint64_t recordEnd = std::min(m_position + recordSize, bankEnd);
            std::array<char, kNameSize> name{};
            const auto want = static_cast<std::size_t>(std::min(kNameSize, recordEnd - m_position));
            const std::size_t got = m_file.Read(name.data(), want);
            m_position += got;
            // A record the file ends inside keeps the bytes it has.
            if (got > 0) {
                // Field by field: a slot put together beforehand and copied in whole is loaded
                // across the smaller stores that made it, which stalls on every record.
                PcgSlot& slot = m_contents.slots.emplace_back();
                slot.index = numberedAcross ? running : r;
                slot.bank = static_cast<std::uint32_t>(m_contents.banks.size() - 1);
                slot.nameLength = static_cast<std::uint8_t>(
                    std::find(name.begin(), name.begin() + got, '\0') - name.begin());
                slot.name = name;
                ++bank.slotCount;
                ++running;
            }
            if (got < want) {
                m_stopped = true;
                return;
            }
            SkipTo(recordEnd);
        }
    }

    bool Take(unsigned char* destination, std::uint64_t size) {
        const std::size_t got = m_file.Read(destination, static_cast<std::size_t>(size));
        m_position += got;
        m_stopped = m_stopped || got != size;
        return !m_stopped;
    }

    void SkipTo(std::uint64_t position) {
        if (m_stopped || position <= m_position) {
            return;
        }
        const std::uint64_t got = m_file.Skip(position - m_position);
        m_stopped = got != position - m_position;
        m_position += got;
    }

    bool Cut(PcgShortfall::Kind why) {
        m_contents.shortfall.kind = why;
        m_stopped = true;
        return false;
    }

    os::InputFile& m_file;
    PcgContents& m_contents;
    std::uint64_t m_position = 0;
    std::uint64_t m_chunks = 0;
    bool m_stopped = false;
    bool m_found = false;
    std::uint32_t m_running[4] = {};
};

}  // namespace

PcgReadStatus ReadPcgTree(os::InputFile& file, PcgContents& contents) {
    // Room for as many slots as the file could hold, taken once: only what is filled is ever
    // touched, and the slots are never copied as they grow.
    contents.slots.reserve(static_cast<std::size_t>(
        std::min<std::uint64_t>(kMaxPcgSlots, file.SizeWhenOpened() / kNameSize)));
    return TreeWalk(file, contents).Run();
}
