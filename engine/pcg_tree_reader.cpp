// SPDX-License-Identifier: MIT
#include "engine/pcg_tree_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>

#include "engine/byte_order.h"
#include "platform/os/input_file.h"

namespace {

constexpr std::uint64_t kChunkHeaderSize = 8;
constexpr std::uint64_t kBankFieldsSize = 12;  // record count, record size, bank number
constexpr std::uint64_t kNameSize = 16;

// File bytes held in memory, handed out front to back as InputFile hands out a file's.
class MemoryBytes {
public:
    explicit MemoryBytes(std::string_view bytes) : m_rest(bytes) {}
    std::size_t Read(void* destination, std::size_t size) {
        const std::size_t take = std::min(size, m_rest.size());
        std::memcpy(destination, m_rest.data(), take);
        m_rest.remove_prefix(take);
        return take;
    }
    std::uint64_t Skip(std::uint64_t size) {
        const auto take = static_cast<std::size_t>(std::min<std::uint64_t>(size, m_rest.size()));
        m_rest.remove_prefix(take);
        return take;
    }

private:
    std::string_view m_rest;
};

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

// One walk over the tree. `m_position` counts the bytes taken from the source; once the
// source comes back short the file has ended and nothing more is read.
template <typename Source>
class TreeWalk {
public:
    TreeWalk(Source& source, PcgTreeRead& result) : m_source(source), m_result(result) {}

    void Run() {
        unsigned char head[24];
        if (m_source.Read(head, sizeof head) != sizeof head || std::memcmp(head, "KORG", 4) != 0 ||
            std::memcmp(head + 16, "PCG1", 4) != 0) {
            m_result.status = PcgReadStatus::BadHeaders;
            return;
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
    }

private:
    // Reads the next chunk header inside a parent that ends at `end`; false when there is
    // none, the file has ended, or the walk was cut.
    bool NextChunk(std::uint64_t end, unsigned char* header) {
        if (m_stopped || m_position + kChunkHeaderSize > end) {
            return false;
        }
        if (++m_chunks > kMaxPcgChunks) {
            return Cut();
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
                if (m_result.contents.banks.size() == kMaxPcgBanks) {
                    Cut();
                    return;
                }
                m_result.status = PcgReadStatus::Read;
                m_result.contents.banks.push_back(
                    PcgBank{kind, std::memcmp(chunk, "MBK1", 4) == 0, ReadBigEndian32(fields + 8),
                            static_cast<std::uint32_t>(m_result.contents.slots.size()), 0});
                ReadRecords(ReadBigEndian32(fields), ReadBigEndian32(fields + 4), bankEnd);
            }
            SkipTo(bankEnd);
        }
    }

    void ReadRecords(std::uint32_t count, std::uint32_t recordSize, std::uint64_t bankEnd) {
        PcgBank& bank = m_result.contents.banks.back();
        std::uint32_t& running = m_running[static_cast<std::size_t>(bank.kind)];
        const bool numberedAcross = NumberedAcrossBanks(bank.kind);
        for (std::uint32_t r = 0; r < count && recordSize > 0 && m_position < bankEnd; ++r) {
            if (m_result.contents.slots.size() == kMaxPcgSlots) {
                Cut();
                return;
            }
            const std::uint64_t recordEnd = std::min(m_position + recordSize, bankEnd);
            std::array<char, kNameSize> name{};
            const auto want = static_cast<std::size_t>(std::min(kNameSize, recordEnd - m_position));
            const std::size_t got = m_source.Read(name.data(), want);
            m_position += got;
            // A record the file ends inside keeps the bytes it has.
            if (got > 0) {
                // Field by field: a slot put together beforehand and copied in whole is loaded
                // across the smaller stores that made it, which stalls on every record.
                PcgSlot& slot = m_result.contents.slots.emplace_back();
                slot.index = numberedAcross ? running : r;
                slot.bank = static_cast<std::uint32_t>(m_result.contents.banks.size() - 1);
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
        const std::size_t got = m_source.Read(destination, static_cast<std::size_t>(size));
        m_position += got;
        m_stopped = m_stopped || got != size;
        return !m_stopped;
    }

    void SkipTo(std::uint64_t position) {
        if (m_stopped || position <= m_position) {
            return;
        }
        const std::uint64_t got = m_source.Skip(position - m_position);
        m_stopped = got != position - m_position;
        m_position += got;
    }

    bool Cut() {
        m_result.contents.cut = true;
        m_stopped = true;
        return false;
    }

    Source& m_source;
    PcgTreeRead& m_result;
    std::uint64_t m_position = 0;
    std::uint64_t m_chunks = 0;
    bool m_stopped = false;
    std::uint32_t m_running[4] = {};
};

template <typename Source>
PcgTreeRead Walk(Source& source) {
    PcgTreeRead result;
    TreeWalk<Source>(source, result).Run();
    return result;
}

}  // namespace

PcgTreeRead ReadPcgContents(const std::string& pcgPath) {
    os::InputFile file;
    PcgTreeRead result;
    if (!file.Open(pcgPath)) {
        result.status = PcgReadStatus::CannotOpen;
        return result;
    }
    // Room for as many slots as the file could hold, taken once: only what is filled is ever
    // touched, and the slots are never copied as they grow.
    result.contents.slots.reserve(static_cast<std::size_t>(
        std::min<std::uint64_t>(kMaxPcgSlots, file.SizeWhenOpened() / kNameSize)));
    TreeWalk<os::InputFile>(file, result).Run();
    return result;
}

PcgTreeRead ReadPcgContentsFromBytes(std::string_view bytes) {
    MemoryBytes source(bytes);
    return Walk(source);
}
