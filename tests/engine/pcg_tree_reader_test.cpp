// SPDX-License-Identifier: MIT
// Every bank of a PCG file: the factory layouts slot by slot, and hostile chunk trees.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "engine/patch_name_value.h"
#include "engine/pcg_reading.h"
#include "engine/slot_labels.h"
#include "support/pcg_builder.h"
#include "support/temp_dir.h"

namespace {

using support::BankChunk;
using support::BigEndian32;
using support::Chunk;
using support::PcgFile;

constexpr PcgReadRequest kWholeFile{PcgRules::WholeFile};

std::string Labels(const PcgContents& contents) {
    std::string labels;
    for (const PcgBank& bank : contents.banks) {
        labels += std::string(KindName(bank.kind).substr(0, 1)) + std::string(bank.Label()) + " ";
    }
    return labels;
}

// Every slot's label, space-separated, "kind:label" at each bank's first.
std::string SlotLabels(const PcgContents& contents) {
    std::string labels;
    for (const PcgSlot& slot : contents.slots) {
        labels += SlotLabel(contents.BankOf(slot), slot) + " ";
    }
    return labels;
}

// How a timbre's bank code reads, by the table of the maker's notes.
std::string CodeLabel(std::uint8_t code, bool extreme) {
    static const char* const kLabels[] = {"A", "B", "C", "D", "E", "F", "G", "g(1)", "g(2)"};
    if (code >= 17) {
        return extreme ? std::string(1, static_cast<char>('H' + code - 17))
                       : "EXB-" + std::string(1, static_cast<char>('A' + code - 17));
    }
    return code <= 8 ? kLabels[code] : code == 16 ? "g(d)" : "g(" + std::to_string(code - 6) + ")";
}

TEST(PcgTreeReader, FactoryLayoutsGiveEverySlotInFileOrder) {
    struct Layout {
        support::PcgLayout layout;
        bool extreme;
        std::size_t programs, combinations, drumKits, arpeggios;
        const char* banks;
    };
    const Layout layouts[] = {
        {support::PcgLayout::Classic, false, 640, 512, 16, 200, "pA pB pC pD pE cA cB cC cD d a "},
        {support::PcgLayout::LaterModel, true, 13 * 128, 12 * 128, 144, 507,
         "pA pB pC pD pE pF pH pI pJ pK pL pM pN cA cB cC cD cE cH cI cJ cK cL cM cN d d d a a a "},
    };
    support::TempDir dir;
    for (const Layout& expected : layouts) {
        // The later model's file is read from the disk, the classic one from memory.
        const std::string bytes = support::FactoryLikePcg(expected.layout);
        const PcgReading read = expected.layout == support::PcgLayout::LaterModel
                                    ? ReadPcg(dir.Write("later.pcg", bytes), kWholeFile)
                                    : ReadPcgBytes(bytes, kWholeFile);
        ASSERT_EQ(read.status, PcgReadStatus::Read);
        EXPECT_FALSE(read.contents.shortfall);
        EXPECT_EQ(read.contents.model.extreme, expected.extreme);
        EXPECT_EQ(Labels(read.contents), expected.banks);

        std::size_t counts[4] = {};
        SlotKind last = SlotKind::Program;
        for (const PcgSlot& slot : read.contents.slots) {
            const PcgBank& bank = read.contents.BankOf(slot);
            ASSERT_GE(bank.kind, last) << "kinds out of file order";
            last = bank.kind;
            const std::size_t n = counts[static_cast<std::size_t>(bank.kind)]++;
            const std::string label = SlotLabel(bank, slot);
            ASSERT_EQ(TrimWhiteSpace(slot.Name()),
                      support::FactorySlotName(KindName(bank.kind), label));
            // Categories and timbres as the records hold them.
            const bool banked = !NumberedAcrossBanks(bank.kind);
            ASSERT_EQ(slot.category, banked ? support::FactoryCategory(n) : kNoCategory) << label;
            std::string uses;
            if (bank.kind == SlotKind::Combination) {
                for (const support::Timbre& timbre : support::FactoryTimbres(n)) {
                    char number[8];
                    std::snprintf(number, sizeof number, "%03u", timbre.number);
                    const std::string program = CodeLabel(timbre.code, expected.extreme) + number;
                    if ((timbre.status == 0 || timbre.status == 2) && timbre.code < 25 &&
                        uses.find(program) == std::string::npos) {
                        uses += program + " ";
                    }
                }
            }
            std::string read_uses;
            for (std::uint8_t u = 0; u < slot.useCount; ++u) {
                read_uses += ProgramLabel(slot.uses[u], read.contents.model) + " ";
            }
            ASSERT_EQ(read_uses, uses) << label;
        }
        EXPECT_EQ(counts[0], expected.programs);
        EXPECT_EQ(counts[1], expected.combinations);
        EXPECT_EQ(counts[2], expected.drumKits);
        EXPECT_EQ(counts[3], expected.arpeggios);
    }
}

// Each model labels its banks, and numbers its drum kits and arpeggio patterns, as its own
// display does; a partial save keeps its banks' own labels and numbers.
TEST(PcgTreeReader, LabelsSlotsAsEachModelShowsThem) {
    const auto banks = [](std::string_view id, std::string_view bankId,
                          const std::vector<std::uint32_t>& numbers, std::uint32_t size = 16) {
        std::string chunks;
        for (const std::uint32_t number : numbers) {
            chunks += BankChunk(number == 0x8000 ? "MBK1" : bankId, {"x", "y"}, size, number);
        }
        return Chunk(id, chunks);
    };
    const std::vector<std::uint32_t> every = {0,       1,       4,       0x8000,  0x10000, 0x10001,
                                              0x10002, 0x20000, 0x20006, 0x20007, 5};
    const std::string programs = banks("PRG1", "PBK1", every);
    const std::string triton =
        "A000 A001 B000 B001 E000 E001 F000 F001 G000 G001 g(1)000 g(1)001 g(d)000 g(d)001 "
        "EXB-A000 EXB-A001 EXB-G000 EXB-G001 EXB-H000 EXB-H001 0x5-000 0x5-001 ";
    struct Case {
        const char* model;
        std::string bytes;
        std::string labels;
    };
    const Case cases[] = {
        {"Triton, Studio, Rack", PcgFile(programs), triton},
        {"Triton LE", PcgFile(programs, 0x63), triton},
        {"Karma", PcgFile(programs, 0x5D), triton},
        {"Triton Extreme", PcgFile(programs, 0x50, true),
         "A000 A001 B000 B001 E000 E001 F000 F001 G000 G001 g(1)000 g(1)001 g(d)000 g(d)001 "
         "H000 H001 N000 N001 0x20007-000 0x20007-001 0x5-000 0x5-001 "},
        {"combinations of a Studio", PcgFile(banks("CMB1", "CBK1", {2, 0x20003})),
         "C000 C001 EXB-D000 EXB-D001 "},
        {"a save of bank J's drum kits",
         PcgFile(Chunk("DIV1", "") + banks("DKT1", "DBK1", {0x20002}), 0x50, true), "048 049 "},
        {"drum kits by bank", PcgFile(banks("DKT1", "DBK1", {3, 1, 0x10000, 0x20007, 0x20000, 9})),
         "048 049 016 017 064 065 128 129 016 017 010 011 "},
        {"arpeggio patterns by bank", PcgFile(banks("ARP1", "ABK1", {2, 1, 0x20007, 0x30000})),
         "216 217 200 201 312 313 006 007 "},
    };
    for (const Case& expected : cases) {
        const PcgReading read = ReadPcgBytes(expected.bytes, kWholeFile);
        EXPECT_EQ(SlotLabels(read.contents), expected.labels) << expected.model;
    }
    EXPECT_EQ(SlotLabel(PcgBank{}, PcgSlot{1000, 0, 0, {}, kNoCategory, 0, {}, {}}), "1000");
}

// Categories and timbres come only from the records the maker's notes describe, of the Triton
// family's files; anything else gives none, never a guess.
TEST(PcgTreeReader, TakesCategoriesAndTimbresOnlyWhereTheRecordsHoldThem) {
    const std::vector<support::Timbre> timbres = {{5, 7, 0},  {5, 7, 2}, {9, 24, 0},
                                                  {1, 25, 0}, {2, 0, 4}, {3, 16, 2}};
    const auto programs = [](std::uint32_t size, std::uint8_t category) {
        return Chunk("PRG1",
                     BankChunk("PBK1", {support::ProgramRecord("P", size, category)}, size, 0));
    };
    const std::string combination = support::CombinationRecord("C", 13, timbres);
    const std::string combinations = Chunk("CMB1", BankChunk("CBK1", {combination}, 448, 0));
    struct Case {
        const char* what;
        std::string bytes;
        std::string found;  // category of each slot, then what it plays
    };
    const Case cases[] = {
        {"a PCM program", PcgFile(programs(540, 8)), "8 "},
        {"a MOSS program", PcgFile(programs(604, 15)), "15 "},
        {"a category past the table", PcgFile(programs(540, 16)), "- "},
        {"a record of another size", PcgFile(programs(720, 3)), "- "},
        {"another model's", PcgFile(programs(540, 3) + combinations, 0x63), "- - "},
        {"a combination of an Extreme", PcgFile(combinations, 0x50, true),
         "13 g(1)005 0x20007-009 g(d)003 "},
        {"a combination of a Studio", PcgFile(combinations), "13 g(1)005 EXB-H009 g(d)003 "},
        {"a record cut short in its timbres",
         PcgFile(Chunk("CMB1", BankChunk("CBK1", {combination.substr(0, 300)}, 300, 0))), "- "},
        {"a file that ends inside the timbres",
         PcgFile(combinations).substr(0, PcgFile(combinations).size() - 20), "13 "},
    };
    for (const Case& expected : cases) {
        const PcgReading read = ReadPcgBytes(expected.bytes, kWholeFile);
        std::string found;
        for (const PcgSlot& slot : read.contents.slots) {
            found += slot.category == kNoCategory ? "- " : std::to_string(slot.category) + " ";
            for (std::uint8_t u = 0; u < slot.useCount; ++u) {
                found += ProgramLabel(slot.uses[u], read.contents.model) + " ";
            }
        }
        EXPECT_EQ(found, expected.found) << expected.what;
    }
}

// Each hostile shape ends the reading cleanly, keeping what the file really held.
TEST(PcgTreeReader, HostileTreesEndCleanly) {
    const std::string bank = BankChunk("PBK1", {"One", "Two"}, 20, 0);
    std::string tenThousandEmpty;
    for (int k = 0; k < 10000; ++k) {
        tenThousandEmpty += BankChunk("PBK1", {}, 540, 0);
    }
    const auto claims = [](std::uint32_t count, std::uint32_t size, std::string records) {
        return Chunk("PRG1", "PBK1" + BigEndian32(12 + static_cast<std::uint32_t>(records.size())) +
                                 BigEndian32(count) + BigEndian32(size) + BigEndian32(0) + records);
    };
    struct Case {
        const char* what;
        std::string bytes;
        PcgReadStatus status;
        std::vector<std::string> names;
        std::size_t banks;
        bool endsEarly = false;  // before the end its "PCG1" chunk gives
    };
    const std::string full = PcgFile(Chunk("PRG1", bank));
    const Case cases[] = {
        {"the header alone", PcgFile(""), PcgReadStatus::NoBanks, {}, 0},
        {"no PCG1",
         "KORG" + std::string(12, '\0') + Chunk("PCG2", Chunk("PRG1", bank)),
         PcgReadStatus::BadHeaders,
         {},
         0},
        {"cut inside the second record",
         full.substr(0, full.size() - 10),
         PcgReadStatus::Read,
         {"One", "Two"},
         1,
         true},
        {"cut inside the first name",
         full.substr(0, 24 + 8 + 8 + 12 + 2),
         PcgReadStatus::Read,
         {"On"},
         1,
         true},
        {"cut inside the bank's fields",
         full.substr(0, 24 + 8 + 8 + 6),
         PcgReadStatus::NoBanks,
         {},
         0,
         true},
        {"a container bigger than the file",
         PcgFile(Chunk("PRG1", bank).replace(4, 4, BigEndian32(0xFFFFFFF0))),
         PcgReadStatus::Read,
         {"One", "Two"},
         1},
        {"a bank bigger than its container",
         PcgFile(Chunk("PRG1", bank.substr(0, 22)) +
                 Chunk("CMB1", BankChunk("CBK1", {"C"}, 16, 0))),
         PcgReadStatus::Read,
         {"On", "C"},
         2},
        {"a container among the banks, and banks of another kind",
         PcgFile(Chunk("PRG1", Chunk("PRG1", bank) + BankChunk("CBK1", {"Combi"}, 20, 0) + bank)),
         PcgReadStatus::Read,
         {"One", "Two"},
         1},
        {"banks outside any container",
         PcgFile(bank + Chunk("GLB1", bank)),
         PcgReadStatus::NoBanks,
         {},
         0},
        {"zero records", PcgFile(claims(0, 16, "Unclaimed record")), PcgReadStatus::Read, {}, 1},
        {"2^32 - 1 records",
         PcgFile(claims(0xFFFFFFFF, 16, "Held record 0001Held record 02")),
         PcgReadStatus::Read,
         {"Held record 0001", "Held record 02"},
         1},
        {"records of 5 bytes",
         PcgFile(claims(3, 5, std::string("AbcdeFg\0ijKlmno", 15))),
         PcgReadStatus::Read,
         {"Abcde", "Fg", "Klmno"},
         1},
        {"records of no bytes", PcgFile(claims(1000, 0, "")), PcgReadStatus::Read, {}, 1},
        {"10,000 empty banks",
         PcgFile(Chunk("PRG1", tenThousandEmpty)),
         PcgReadStatus::Read,
         {},
         10000},
    };
    for (const Case& expected : cases) {
        const PcgReading read = ReadPcgBytes(expected.bytes, kWholeFile);
        EXPECT_EQ(read.status, expected.status) << expected.what;
        EXPECT_EQ(read.contents.banks.size(), expected.banks) << expected.what;
        std::vector<std::string> names;
        for (const PcgSlot& slot : read.contents.slots) {
            names.emplace_back(slot.Name());
        }
        EXPECT_EQ(names, expected.names) << expected.what;
        EXPECT_EQ(read.contents.shortfall.kind,
                  expected.endsEarly ? PcgShortfall::Kind::EndsEarly : PcgShortfall::Kind::None)
            << expected.what;
    }
}

TEST(PcgTreeReader, KeepsNoMoreThanItsCaps) {
    // A record of one byte per slot: one more than a listing keeps.
    const std::string records(kMaxPcgSlots + 1, 'x');
    const PcgReading many =
        ReadPcgBytes(PcgFile(Chunk("ARP1", "ABK1" + BigEndian32(12 + kMaxPcgSlots + 1) +
                                               BigEndian32(kMaxPcgSlots + 1) + BigEndian32(1) +
                                               BigEndian32(0) + records)),
                     kWholeFile);
    EXPECT_EQ(many.contents.slots.size(), kMaxPcgSlots);
    EXPECT_EQ(SlotLabel(many.contents.banks[0], many.contents.slots.back()), "65535");
    EXPECT_EQ(many.contents.shortfall.kind, PcgShortfall::Kind::TooManySlots);

    // 4 GiB of holes behind a header that claims them all: a chunk every 8 bytes of zeros.
    support::TempDir dir;
    const std::string path = dir.Write(
        "sparse.pcg", "KORG" + std::string(12, '\0') + "PCG1" + BigEndian32(0xFFFFFFE7) + "PRG1" +
                          BigEndian32(0xFFFFFFDF) + BankChunk("PBK1", {"First"}, 16, 0));
    ASSERT_EQ(truncate(path.c_str(), 1ll << 32), 0);
    const PcgReading sparse = ReadPcg(path, kWholeFile);
    EXPECT_EQ(sparse.status, PcgReadStatus::Read);
    ASSERT_EQ(sparse.contents.slots.size(), 1u);
    EXPECT_EQ(sparse.contents.slots[0].Name(), "First");
    EXPECT_EQ(sparse.contents.shortfall.kind, PcgShortfall::Kind::TooManyChunks);
}

}  // namespace
