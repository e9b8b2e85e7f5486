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

std::string Chunk(std::string_view id, std::string_view content) {
    return std::string(id) + BigEndian32(static_cast<std::uint32_t>(content.size())) +
           std::string(content);
}

std::string BankChunk(std::string_view id, const std::vector<std::string>& names,
                      std::uint32_t recordSize, std::uint32_t bankNumber) {
    std::string content = BigEndian32(static_cast<std::uint32_t>(names.size())) +
                          BigEndian32(recordSize) + BigEndian32(bankNumber);
    for (const auto& name : names) {
        content += PatchRecord(name, recordSize);
    }
    return Chunk(id, content);
}

std::string PcgFile(std::string_view children, std::uint8_t product, bool extreme) {
    std::string header = "KORG" + std::string(12, '\0');
    header[4] = static_cast<char>(product);
    header[8] = extreme ? '\x01' : '\0';
    return header + Chunk("PCG1", children);
}

std::uint8_t FactoryCategory(std::size_t n) {
    return static_cast<std::uint8_t>(n % 16);
}

std::vector<Timbre> FactoryTimbres(std::size_t n) {
    const auto number = [n](std::size_t t) { return static_cast<std::uint8_t>((n + 7 * t) % 128); };
    const auto bank = static_cast<std::uint8_t>(n % 5);  // A-E, in every factory-like file
    return {
        {number(0), bank, 0},  // INT
        {number(1), 6, 2},     // Both, a GM program
        {number(2), bank, 1},  // Off
        {number(3), 7, 0},     // g(1)
        {number(4), bank, 3},  // EXT
        {number(0), bank, 2},  // the first program again
        {number(6), 30, 0},    // beyond the table
        {number(7), 17, 0},    // H, or EXB-A
    };
}

std::string ProgramRecord(std::string_view name, std::uint32_t size, std::uint8_t category) {
    std::string record = PatchRecord(name, size);
    if (size > 206) {
        record[206] = static_cast<char>(category);
    }
    return record;
}

std::string CombinationRecord(std::string_view name, std::uint8_t category,
                              const std::vector<Timbre>& timbres) {
    std::string record = PatchRecord(name, 448);
    record[214] = static_cast<char>(0xA0 | category);
    // Timbres not given are off, as an instrument leaves them.
    for (std::size_t t = 0; t < 8; ++t) {
        const Timbre timbre = t < timbres.size() ? timbres[t] : Timbre{0, 0, 1};
        record[224 + 28 * t] = static_cast<char>(timbre.number);
        record[224 + 28 * t + 1] = static_cast<char>(timbre.code);
        record[224 + 28 * t + 2] = static_cast<char>(timbre.status << 5 | 0x11);
    }
    return record;
}

std::string FactorySlotName(std::string_view kind, std::string_view slot) {
    const std::string label(slot);
    if ((kind == "program" && (slot == "E127" || slot == "N127"))) {
        return "InitialProg" + label;
    }
    if (kind == "combination" && slot == "N000") {
        return "InitialCombi" + label;
    }
    if (kind == "drumkit" && slot == "143") {
        return "Drumkit143";
    }
    if (kind == "arpeggio" && slot == "506") {
        return "ArpeggioPat506";
    }
    // Upper-case M and W are the widest letters of most fonts.
    std::string name = std::string(1, static_cast<char>(kind[0] - 'a' + 'A')) + "-" + label + " ";
    for (std::size_t i = 0; name.size() < 16; ++i) {
        name += "MW"[i % 2];
    }
    return name;
}

namespace {

std::string BankLetter(std::uint32_t number) {
    return std::string(1, static_cast<char>(number >= 0x20000  ? 'H' + (number - 0x20000)
                                            : number == 0x8000 ? 'F'
                                                               : 'A' + number));
}

// What the edited later model's file changes of the factory-like one, in one kind.
struct Edits {
    std::string renamed;          // the slot renamed "Renamed Lead"
    std::string edited;           // the slot whose sound is edited
    std::uint32_t removed = ~0u;  // the bank left out
};

// A container of banks of 128 named by bank letter and position ("A000"), each record with its
// category and, for combinations, its timbres, and a sound of its own (its number among the
// kind's records in bytes 16-19).
std::string BankedContainer(std::string_view id, std::string_view bankId, std::string_view kind,
                            const std::vector<std::uint32_t>& numbers, std::uint32_t recordSize,
                            const Edits& edits = {}) {
    std::string banks;
    std::size_t n = 0;
    for (const std::uint32_t number : numbers) {
        if (number == edits.removed) {
            n += 128;  // the others keep what they would have had
            continue;
        }
        const bool board = number == 0x8000;
        const std::uint32_t size = board ? 604 : recordSize;
        std::string content = BigEndian32(128) + BigEndian32(size) + BigEndian32(number);
        for (std::uint32_t k = 0; k < 128; ++k, ++n) {
            char slot[32];
            std::snprintf(slot, sizeof slot, "%s%03u", BankLetter(number).c_str(), k);
            const std::string name =
                InstrumentName(slot == edits.renamed ? "Renamed Lead" : FactorySlotName(kind, slot));
            std::string record = kind == "combination"
                                     ? CombinationRecord(name, FactoryCategory(n), FactoryTimbres(n))
                                     : ProgramRecord(name, size, FactoryCategory(n));
            record.replace(16, 4, BigEndian32(static_cast<std::uint32_t>(n)));
            if (slot == edits.edited) {
                record[300] ^= 1;
            }
            content += record;
        }
        banks += Chunk(board ? "MBK1" : bankId, content);
    }
    return Chunk(id, banks);
}

// A container of banks whose slots are numbered across them ("017"): each bank a number and
// how many records it holds.
std::string NumberedContainer(std::string_view id, std::string_view bankId, std::string_view kind,
                              const std::vector<std::pair<std::uint32_t, std::uint32_t>>& banks,
                              std::uint32_t recordSize) {
    std::string chunks;
    std::uint32_t next = 0;
    for (const auto& [number, size] : banks) {
        std::string content = BigEndian32(size) + BigEndian32(recordSize) + BigEndian32(number);
        for (std::uint32_t k = 0; k < size; ++k, ++next) {
            char slot[32];
            std::snprintf(slot, sizeof slot, "%03u", next);
            // A sound of its own, as for the other kinds.
            std::string record = PatchRecord(InstrumentName(FactorySlotName(kind, slot)), recordSize);
            record.replace(16, 4, BigEndian32(next));
            content += record;
        }
        chunks += Chunk(bankId, content);
    }
    return Chunk(id, chunks);
}

}  // namespace

std::string FactoryLikePcg(PcgLayout layout) {
    const std::vector<std::uint32_t> classicBanks = {0, 1, 2, 3, 4};
    if (layout == PcgLayout::Classic) {
        return PcgFile(BankedContainer("PRG1", "PBK1", "program", classicBanks, 540) +
                       BankedContainer("CMB1", "CBK1", "combination", {0, 1, 2, 3}, 448) +
                       NumberedContainer("DKT1", "DBK1", "drumkit", {{0u, 16u}}, 2640) +
                       NumberedContainer("ARP1", "ABK1", "arpeggio", {{0u, 200u}}, 160) +
                       Chunk("GLB1", std::string(256, '\x01')) +
                       Chunk("CSM1", std::string(64, '\x02')));
    }
    std::vector<std::uint32_t> programBanks = {0, 1, 2, 3, 4, 0x8000};
    std::vector<std::uint32_t> combiBanks = classicBanks;
    for (std::uint32_t k = 0; k < 7; ++k) {
        programBanks.push_back(0x20000 + k);
        combiBanks.push_back(0x20000 + k);
    }
    const std::string leading =
        Chunk("DIV1", std::string(72, '\x03')) + Chunk("INI1", std::string(40, '\x04'));
    Edits programEdits;
    Edits combinationEdits;
    if (layout == PcgLayout::LaterModelEdited) {
        programEdits = {"A005", {}, 0x20003};
        combinationEdits = {{}, "B010"};
    }
    const std::string combinations =
        BankedContainer("CMB1", "CBK1", "combination", combiBanks, 448, combinationEdits);
    if (layout == PcgLayout::CombinationsOnly) {
        return PcgFile(leading + combinations, 0x50, true);
    }
    using Banks = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
    return PcgFile(
        leading + BankedContainer("PRG1", "PBK1", "program", programBanks, 540, programEdits) +
            combinations +
            NumberedContainer("DKT1", "DBK1", "drumkit",
                              Banks{{0, 16}, {0x20000, 112}, {0x20007, 16}}, 2640) +
            NumberedContainer("ARP1", "ABK1", "arpeggio",
                              Banks{{0, 200}, {0x20000, 112}, {0x20007, 195}}, 160) +
            Chunk("GLB1", std::string(256, '\x01')) + Chunk("CSM1", std::string(64, '\x02')),
        0x50, true);
}

std::string DuplicatesPcg() {
    std::string programs = BigEndian32(16) + BigEndian32(540) + BigEndian32(0);
    const auto record = [](std::string_view name, char sound) {
        std::string bytes = ProgramRecord(InstrumentName(name), 540, 0);
        bytes[100] = sound;
        return bytes;
    };
    programs += record("Piano One", 'x') + record("Piano Two", 'x') + record("Phat Bass", 'y') +
                record("Phat Bass", 'z') + record("Acid303", 'a') + record("TR808", 'b');
    for (int k = 6; k < 16; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "InitialProgA%03d", k);
        programs += record(name, '0');
    }
    return PcgFile(Chunk("PRG1", Chunk("PBK1", programs)));
}

}  // namespace support
