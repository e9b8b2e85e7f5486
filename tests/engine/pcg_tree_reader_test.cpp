// SPDX-License-Identifier: MIT
// Every bank of a PCG file: the factory layouts slot by slot, and hostile chunk trees.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "engine/patch_name_value.h"
#include "engine/pcg_reading.h"
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
        labels += std::string(KindName(bank.kind).substr(0, 1)) + BankLabel(bank) + " ";
    }
    return labels;
}

TEST(PcgTreeReader, FactoryLayoutsGiveEverySlotInFileOrder) {
    struct Layout {
        support::PcgLayout layout;
        std::size_t programs, combinations, drumKits, arpeggios;
        const char* banks;
    };
    const Layout layouts[] = {
        {support::PcgLayout::Classic, 640, 512, 16, 200, "pA pB pC pD pE cA cB cC cD dA aA "},
        {support::PcgLayout::LaterModel, 13 * 128, 12 * 128, 144, 507,
         "pA pB pC pD pE pF pH pI pJ pK pL pM pN cA cB cC cD cE cH cI cJ cK cL cM cN dA dB dC aA "
         "aB "},
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
        EXPECT_EQ(Labels(read.contents), expected.banks);

        std::size_t counts[4] = {};
        SlotKind last = SlotKind::Program;
        for (const PcgSlot& slot : read.contents.slots) {
            const PcgBank& bank = read.contents.BankOf(slot);
            ASSERT_GE(bank.kind, last) << "kinds out of file order";
            last = bank.kind;
            ++counts[static_cast<std::size_t>(bank.kind)];
            const std::string label = SlotLabel(bank, slot);
            ASSERT_EQ(TrimWhiteSpace(slot.Name()),
                      support::FactorySlotName(KindName(bank.kind), label));
        }
        EXPECT_EQ(counts[0], expected.programs);
        EXPECT_EQ(counts[1], expected.combinations);
        EXPECT_EQ(counts[2], expected.drumKits);
        EXPECT_EQ(counts[3], expected.arpeggios);
    }
}

TEST(PcgTreeReader, NamesBanksAsTheInstrumentDoes) {
    const auto bank = [](std::uint32_t number, bool board = false,
                         SlotKind kind = SlotKind::Program) {
        return PcgBank{kind, board, number, 0, 1};
    };
    EXPECT_EQ(BankLabel(bank(0)), "A");
    EXPECT_EQ(BankLabel(bank(4)), "E");
    EXPECT_EQ(BankLabel(bank(0x8000, true)), "F");
    EXPECT_EQ(BankLabel(bank(2, true)), "F");
    EXPECT_EQ(BankLabel(bank(0x20000)), "H");
    EXPECT_EQ(BankLabel(bank(0x20006)), "N");
    EXPECT_EQ(BankLabel(bank(0x20007)), "0x20007");
    EXPECT_EQ(BankLabel(bank(5)), "0x5");
    EXPECT_EQ(SlotLabel(bank(5), PcgSlot{7, 0, 0, {}}), "0x5-007");
    EXPECT_EQ(SlotLabel(bank(0x20006), PcgSlot{127, 0, 0, {}}), "N127");
    EXPECT_EQ(SlotLabel(bank(3, false, SlotKind::DrumKit), PcgSlot{1000, 0, 0, {}}), "1000");
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
