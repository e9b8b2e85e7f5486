// SPDX-License-Identifier: MIT
#include "engine/pcg_tree_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>

#include "engine/byte_order.h"
#include "engine/slot_categories.h"
#include "engine/slot_labels.h"
#include "engine/sound_digest.h"

namespace {

constexpr std::uint64_t kChunkHeaderSize = 8;
constexpr std::uint64_t kBankFieldsSize = 12;  // record count, record size, bank number
constexpr std::uint64_t kNameSize = 16;
constexpr std::uint32_t kCombinationSize = 448;  // the only records with timbres
constexpr std::uint32_t kFirstTimbre = 224;
constexpr std::uint32_t kTimbreSize = 28;

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

// The programs a combination's timbres play (INT or Both), each once, in timbre order; a
// timbre whose bank code is outside the table plays none.
void ReadTimbres(const unsigned char* record, PcgSlot& slot) {
    for (std::uint32_t t = 0; t < kMaxTimbres; ++t) {
        const unsigned char* timbre = record + kFirstTimbre + kTimbreSize * t;
        const unsigned status = timbre[2] >> 5;  // 0 INT, 1 Off, 2 Both, 3 EXT, 4 EX2
        const ProgramRef program{timbre[1], timbre[0]};
        if ((status != 0 && status != 2) || program.code >= kBankCodes) {
            continue;
        }
        const auto end = slot.uses.begin() + slot.useCount;
        if (std::find(slot.uses.begin(), end, program) == end) {
            slot.uses[slot.useCount++] = program;
        }
    }
}

// One walk over the tree. `m_position` counts the bytes taken from the file; once the file
// comes back short it has ended and nothing more is read.
class TreeWalk {
public:
    TreeWalk(os::InputFile& file, PcgContents& contents, PcgTreeNeeds needs)
        : m_file(file), m_contents(contents), m_needs(needs) {}

    PcgReadStatus Run() {
        unsigned char head[24];
        if (m_file.Read(head, sizeof head) != sizeof head || std::memcmp(head, "KORG", 4) != 0 ||
            std::memcmp(head + 16, "PCG1", 4) != 0) {
            return PcgReadStatus::BadHeaders;
        }
        m_contents.model = PcgModel{head[4], head[8] == 1};
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
        if (m_stopped && !m_done && !m_contents.shortfall) {
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
                PcgBank& bank = m_contents.banks.emplace_back();
                bank.kind = kind;
                bank.optionalBoard = std::memcmp(chunk, "MBK1", 4) == 0;
                bank.number = ReadBigEndian32(fields + 8);
                bank.firstSlot = static_cast<std::uint32_t>(m_contents.slots.size());
                bank.slotCount = 0;
                LabelBank(bank, m_contents.model);
                ReadRecords(ReadBigEndian32(fields), ReadBigEndian32(fields + 4), bankEnd);
            }
            SkipTo(bankEnd);
        }
    }

    void ReadRecords(std::uint32_t count, std::uint32_t recordSize, std::uint64_t bankEnd) {
        PcgBank& bank = m_contents.banks.back();
        std::uint32_t& running = m_running[static_cast<std::size_t>(bank.kind)];
        // Numbered by where the bank's numbers begin, or, for a bank outside the table, on from
        // the kind's slots before it, as the instrument numbers a whole file.
        std::uint32_t number = 0;
        if (NumberedAcrossBanks(bank.kind)) {
            number = FirstNumberOf(bank.kind, bank.number).value_or(running);
        }
        // What the record holds beyond its name: where the category is, and the timbres.
        CategoryPlace category{};
        const bool categorized = CategoryPlaceOf(bank.kind, recordSize, m_contents.model, category);
        const bool timbres = bank.kind == SlotKind::Combination && recordSize == kCombinationSize &&
                             m_contents.model.TritonFamily();
        const std::uint64_t wanted = timbres       ? kCombinationSize
                                     : categorized ? category.offset + 1
                                                   : kNameSize;
        const bool program = bank.kind == SlotKind::Program;
        for (std::uint32_t r = 0; r < count && recordSize > 0 && m_position < bankEnd; ++r) {
            if (m_contents.slots.size() == kMaxPcgSlots) {
                Cut(PcgShortfall::Kind::TooManySlots);
                return;
            }
            const std::uint64_t recordEnd = std::min(m_position + recordSize, bankEnd);
            unsigned char record[kCombinationSize];
            const auto want = static_cast<std::size_t>(std::min(wanted, recordEnd - m_position));
            const std::size_t got = m_file.Read(record, want);
            m_position += got;
            // A record the file ends inside keeps the bytes it has.
            if (got > 0) {
                // Field by field: a slot put together beforehand and copied in whole is loaded
                // across the smaller stores that made it, which stalls on every record.
                PcgSlot& slot = m_contents.slots.emplace_back();
                slot.index = number + r;
                slot.bank = static_cast<std::uint32_t>(m_contents.banks.size() - 1);
                const std::size_t nameBytes = std::min<std::size_t>(got, kNameSize);
                slot.nameLength =
                    static_cast<std::uint8_t>(std::find(record, record + nameBytes, '\0') - record);
                std::memcpy(slot.name.data(), record, kNameSize);
                if (nameBytes < kNameSize) {
                    std::memset(slot.name.data() + nameBytes, 0, kNameSize - nameBytes);
                }
                slot.category = kNoCategory;
                if (categorized && got > category.offset) {
                    const unsigned value =
                        record[category.offset] & (category.lowBitsOnly ? 0x0F : 0xFF);
                    slot.category =
                        value < kCategories ? static_cast<std::uint8_t>(value) : kNoCategory;
                }
                slot.useCount = 0;
                if (timbres && got == kCombinationSize) {
                    ReadTimbres(record, slot);
                }
                ++bank.slotCount;
                ++running;
                if (m_needs.sounds) {
                    ReadSound(record, got, recordEnd, slot);
                }
                if (program && ++m_programs == m_needs.programsWanted) {
                    m_done = m_stopped = true;  // all that is needed is in
                    return;
                }
            }
            if (got < want) {
                m_stopped = true;
                return;
            }
            SkipTo(recordEnd);
        }
    }

    // The digest of the record's bytes after its name: those already read, then the rest up to
    // `recordEnd`, which leaves the file there.
    void ReadSound(const unsigned char* record, std::size_t got, std::uint64_t recordEnd,
                   PcgSlot& slot) {
        SoundDigest digest;
        if (got > kNameSize) {
            digest.Add(record + kNameSize, got - kNameSize);
        }
        const std::uint64_t rest = recordEnd - m_position;
        const std::uint64_t passed =
            m_file.Pass(rest, [&digest](const unsigned char* bytes, std::size_t size) {
                digest.Add(bytes, size);
            });
        m_position += passed;
        m_stopped = m_stopped || passed != rest;
        slot.sound = digest.Finish();
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
    bool m_done = false;  // stopped with every program wanted
    bool m_found = false;
    PcgTreeNeeds m_needs;
    std::size_t m_programs = 0;
    std::uint32_t m_running[kSlotKinds] = {};
};

}  // namespace

PcgReadStatus ReadPcgTree(os::InputFile& file, PcgContents& contents, PcgTreeNeeds needs) {
    // Room for as many slots as the file could hold, taken once: only what is filled is ever
    // touched, and the slots are never copied as they grow.
    contents.slots.reserve(static_cast<std::size_t>(
        std::min<std::uint64_t>(kMaxPcgSlots, file.SizeWhenOpened() / kNameSize)));
    return TreeWalk(file, contents, needs).Run();
}
