// SPDX-License-Identifier: MIT
#include "engine/patch_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "engine/byte_order.h"

namespace {

constexpr std::size_t kFileHeaderSize = 32;
constexpr std::size_t kBankHeaderSize = 20;
constexpr std::size_t kNameSize = 16;

PcgReadStatus Fail(CPatchTable& table, PcgReadStatus status) {
    const char* text = status == PcgReadStatus::CannotOpen ? kPcgMissingText : kPcgBadHeadersText;
    static_assert(sizeof(kPcgBadHeadersText) <= CPatchTable::kErrorTextSize);
    std::strncpy(table.errorText.data(), text, CPatchTable::kErrorTextSize - 1);
    table.errorText.back() = '\0';
    return status;
}

bool HasMagic(const unsigned char* bytes, const char (&magic)[5]) {
    return std::memcmp(bytes, magic, 4) == 0;
}

// Reads one bank chunk's records. Entries past the table's end, or past the end of the file,
// are counted but not stored; once the file has ended nothing more is read.
void ReadRecords(os::InputFile& file, std::uint64_t count, std::uint64_t size, CPatchTable& table,
                 std::uint64_t wanted, std::uint64_t& nameCount) {
    const std::uint64_t nameBytes = std::min<std::uint64_t>(size, kNameSize);
    while (count > 0 && nameCount < wanted && !file.Ended()) {
        char* name = table.entries[nameCount].name;
        const std::size_t got = file.Read(name, static_cast<std::size_t>(nameBytes));
        name[got] = '\0';
        file.Skip(size - nameBytes);
        ++nameCount;
        --count;
    }
    // What is left is only consumed, so that the next bank header is read from its place, in
    // one pass whose length the file bounds (count * size cannot overflow 64 bits, both being
    // 32-bit values); once every name wanted is in, no later bank is read and nothing need be.
    if (nameCount < wanted) {
        file.Skip(count * size);
    }
    nameCount += count;
}

// Later models put "DIV1" and "INI1" blocks before the programs. `chunk` is the 8-byte chunk
// header at offset 24; true once the file stands right behind a "PRG1" chunk header.
bool ReachProgramChunk(os::InputFile& file, const unsigned char* chunk) {
    unsigned char next[8];
    while (!HasMagic(chunk, "PRG1")) {
        if (!HasMagic(chunk, "DIV1") && !HasMagic(chunk, "INI1")) {
            return false;
        }
        const std::uint32_t size = ReadBigEndian32(chunk + 4);
        if (file.Skip(size) != size || file.Read(next, sizeof next) != sizeof next) {
            return false;
        }
        chunk = next;
    }
    return true;
}

}  // namespace

ReadOutcome ReadPatchNames(const std::string& pcgPath, CPatchTable& table) {
    os::InputFile file;
    if (!file.Open(pcgPath)) {
        Fail(table, PcgReadStatus::CannotOpen);
        return ReadOutcome::Failed;
    }
    switch (ReadClassicNames(file, table, CPatchTable::kEntries)) {
        case PcgReadStatus::Read:
            return ReadOutcome::Read;
        case PcgReadStatus::NoBanks:
            return ReadOutcome::NoBanks;
        case PcgReadStatus::CannotOpen:
        case PcgReadStatus::BadHeaders:
            break;
    }
    return ReadOutcome::Failed;
}

PcgReadStatus ReadClassicNames(os::InputFile& file, CPatchTable& table, std::size_t namesWanted) {
    const std::uint64_t wanted = std::min(namesWanted, table.entries.size());
    unsigned char header[kFileHeaderSize] = {};
    if (file.Read(header, sizeof header) != sizeof header || !HasMagic(header, "KORG") ||
        !HasMagic(header + 16, "PCG1") || !ReachProgramChunk(file, header + 24)) {
        return Fail(table, PcgReadStatus::BadHeaders);
    }

    std::uint64_t bankCount = 0;
    std::uint64_t nameCount = 0;
    for (;;) {
        unsigned char bank[kBankHeaderSize] = {};
        if (file.Read(bank, sizeof bank) != sizeof bank) {
            break;
        }
        if (!HasMagic(bank, "PBK1") && !HasMagic(bank, "MBK1")) {
            break;
        }
        const std::uint32_t recordCount = ReadBigEndian32(bank + 8);
        const std::uint32_t recordSize = ReadBigEndian32(bank + 12);
        ++bankCount;
        ReadRecords(file, recordCount, recordSize, table, wanted, nameCount);
        // With a bank read the outcome is settled, and no more names are wanted: the rest of
        // the file (most of a later model's programs) would only be read past.
        if (nameCount >= wanted) {
            break;
        }
    }
    return bankCount == 0 ? PcgReadStatus::NoBanks : PcgReadStatus::Read;
}
