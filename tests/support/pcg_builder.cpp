// SPDX-License-Identifier: MIT
#include "support/pcg_builder.h"

#include <algorithm>
#include <cstdio>

namespace support {

std::string BigEndian32(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

std::string PatchRecord(std::string_view name, std::size_t size, char fill) {
    std::string record(size, fill);
    record.replace(0, std::min(name.size(), size), name.substr(0, size));
    return record;
}

std::string InstrumentName(std::string_view name) {
    std::string padded(name.substr(0, 16));
    padded.resize(16, ' ');
    return padded;
}

PcgBuilder::PcgBuilder() {
    FileHeader(std::string("KORG") + std::string(12, '\0') + "PCG1" + BigEndian32(0) + "PRG1" +
               BigEndian32(0));
}

PcgBuilder& PcgBuilder::FileHeader(std::string bytes) {
    m_bytes = std::move(bytes);
    return *this;
}

PcgBuilder& PcgBuilder::BankHeader(std::string_view id, std::uint32_t recordCount,
                                   std::uint32_t recordSize, std::uint32_t bankNumber) {
    m_bytes += id;
    m_bytes += BigEndian32(recordCount * recordSize + 12);
    m_bytes += BigEndian32(recordCount);
    m_bytes += BigEndian32(recordSize);
    m_bytes += BigEndian32(bankNumber);
    return *this;
}

PcgBuilder& PcgBuilder::Bank(std::string_view id, const std::vector<std::string>& names,
                             std::uint32_t recordSize, std::uint32_t bankNumber) {
    BankHeader(id, static_cast<std::uint32_t>(names.size()), recordSize, bankNumber);
    for (const auto& name : names) {
        m_bytes += PatchRecord(name, recordSize);
    }
    return *this;
}

PcgBuilder& PcgBuilder::Bytes(std::string_view bytes) {
    m_bytes += bytes;
    return *this;
}

std::string ProgramName(std::size_t n) {
    static const char* const kWords[] = {"Grand Piano", "Strings", "Warm Pad", "Brass",
                                         "Lead",        "Bass",    "Choir",    "Organ"};
    char name[32];
    if (n % 37 == 5) {
        std::snprintf(name, sizeof name, "<Hit> %03zu", n);
    } else if (n % 29 == 3) {
        std::snprintf(name, sizeof name, "  Arp>%zu", n);
    } else {
        std::snprintf(name, sizeof name, "%s %zu", kWords[n % 8], n);
    }
    return name;
}

std::string InstrumentLikePcg() {
    constexpr std::uint32_t kPrograms = 128;
    constexpr std::uint32_t kProgramSize = 540;
    constexpr std::uint32_t kCombiSize = 448;

    PcgBuilder banks;
    banks.FileHeader({});
    for (std::uint32_t bank = 0; bank < 5; ++bank) {
        std::vector<std::string> names;
        for (std::uint32_t k = 0; k < kPrograms; ++k) {
            names.push_back(InstrumentName(ProgramName(bank * kPrograms + k)));
        }
        banks.Bank("PBK1", names, kProgramSize, bank);
    }
    std::vector<std::string> drums;
    for (std::uint32_t k = 0; k < kPrograms; ++k) {
        drums.push_back(InstrumentName(ProgramName(5 * kPrograms + k)));
    }
    banks.Bank("MBK1", drums, kProgramSize, 0x20000);

    PcgBuilder combis;
    combis.FileHeader({});
    for (std::uint32_t bank = 0; bank < 2; ++bank) {
        std::vector<std::string> names;
        for (std::uint32_t k = 0; k < kPrograms; ++k) {
            names.push_back(InstrumentName("Combi " + std::to_string(bank * kPrograms + k)));
        }
        combis.Bank("CBK1", names, kCombiSize, bank);
    }

    const std::string programs = banks.bytes();
    const std::string combiChunk =
        "CMB1" + BigEndian32(static_cast<std::uint32_t>(combis.bytes().size())) + combis.bytes();
    const auto total = static_cast<std::uint32_t>(8 + programs.size() + combiChunk.size());
    std::string file = "KORG";
    file += '\x50';  // product: Triton
    file += std::string(11, '\0');
    file += "PCG1" + BigEndian32(total);
    file += "PRG1" + BigEndian32(static_cast<std::uint32_t>(programs.size()));
    return file + programs + combiChunk;
}

}  // namespace support
