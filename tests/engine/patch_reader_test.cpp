// SPDX-License-Identifier: MIT
// Reading patch names from PCG files, well-formed and hostile.
#include "engine/patch_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "engine/pcg_reading.h"
#include "support/pcg_builder.h"
#include "support/temp_dir.h"

namespace {

using support::PcgBuilder;

class PatchReader : public ::testing::Test {
protected:
    // Read from a file, and the same bytes from memory, which must give the same.
    ReadOutcome Read(const std::string& bytes) {
        const ReadOutcome outcome = ReadPatchNames(m_dir.Write("file.pcg", bytes), m_table);
        const PcgReading fromMemory = ReadPcgBytes(bytes, {});
        EXPECT_EQ(fromMemory.status == PcgReadStatus::Read, outcome == ReadOutcome::Read);
        EXPECT_EQ(fromMemory.status == PcgReadStatus::NoBanks, outcome == ReadOutcome::NoBanks);
        EXPECT_STREQ(fromMemory.names.errorText.data(), m_table.errorText.data());
        for (std::size_t k = 0; k < m_table.entries.size(); ++k) {
            EXPECT_STREQ(fromMemory.names.entries[k].name, m_table.entries[k].name) << k;
        }
        return outcome;
    }
    std::string Name(std::size_t k) const { return m_table.entries[k].name; }
    std::string Error() const { return m_table.errorText.data(); }

    support::TempDir m_dir;
    CPatchTable m_table;
};

TEST(PatchTable, IsBankMajorAndEmptyWhenConstructed) {
    const CPatchTable table;
    EXPECT_EQ(table.errorText[0], '\0');
    EXPECT_EQ(table.entries[0].bank, 'A');
    EXPECT_EQ(table.entries[0].number, 0);
    EXPECT_EQ(table.entries[129].bank, 'B');
    EXPECT_EQ(table.entries[129].number, 1);
    EXPECT_EQ(table.entries[767].bank, 'F');
    EXPECT_EQ(table.entries[767].number, 127);
    for (const auto& entry : table.entries) {
        EXPECT_EQ(entry.name[0], '\0');
    }
}

TEST_F(PatchReader, FailsOnAMissingFileOrAFolder) {
    EXPECT_EQ(ReadPatchNames(m_dir.Path("absent.pcg"), m_table), ReadOutcome::Failed);
    EXPECT_EQ(Error(), "The named PCG file does not exist !");
    CPatchTable again;
    EXPECT_EQ(ReadPatchNames(m_dir.path(), again), ReadOutcome::Failed);
    EXPECT_STREQ(again.errorText.data(), "The named PCG file does not exist !");
}

TEST_F(PatchReader, ReturnsInsteadOfWaitingOnAFifo) {
    const auto fifo = m_dir.Path("pipe.pcg");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ReadPatchNames(fifo, m_table), ReadOutcome::Failed);
    EXPECT_EQ(Error(), "The named PCG file does not exist !");
}

TEST_F(PatchReader, ChecksEachHeaderMagicExactly) {
    const std::string valid = PcgBuilder().bytes();
    const char* const kBadHeaders =
        "Failed to read the PCG file, it does not appear to be valid (headers).";
    for (const std::size_t offset : {0u, 16u, 24u}) {
        std::string bytes = valid;
        bytes[offset] = static_cast<char>(std::tolower(bytes[offset]));
        CPatchTable table;
        EXPECT_EQ(ReadPatchNames(m_dir.Write("bad.pcg", bytes), table), ReadOutcome::Failed);
        EXPECT_STREQ(table.errorText.data(), kBadHeaders) << "offset " << offset;
    }
    for (const std::size_t length : {0u, 4u, 31u}) {
        CPatchTable table;
        EXPECT_EQ(ReadPatchNames(m_dir.Write("short.pcg", valid.substr(0, length)), table),
                  ReadOutcome::Failed);
        EXPECT_STREQ(table.errorText.data(), kBadHeaders) << "length " << length;
    }
}

TEST_F(PatchReader, NeedsABankChunkRightAfterTheHeader) {
    EXPECT_EQ(Read(PcgBuilder().bytes()), ReadOutcome::NoBanks);
    EXPECT_EQ(Read(PcgBuilder().Bytes("PBK1").bytes()), ReadOutcome::NoBanks);
    // A chunk of another kind ends the banks, even when bank chunks follow it.
    EXPECT_EQ(Read(PcgBuilder().Bank("CBK1", {"Combi"}).Bank("PBK1", {"Piano"}).bytes()),
              ReadOutcome::NoBanks);
    EXPECT_EQ(Read(PcgBuilder().Bank("pbk1", {"Piano"}).bytes()), ReadOutcome::NoBanks);
    EXPECT_EQ(Error(), "");
}

TEST_F(PatchReader, CountsAnEmptyBankAsABank) {
    EXPECT_EQ(Read(PcgBuilder().BankHeader("PBK1", 0, 540).bytes()), ReadOutcome::Read);
    EXPECT_EQ(Name(0), "");
}

TEST_F(PatchReader, FillsTheTableInFileOrderAcrossBanks) {
    std::vector<std::string> first, second;
    for (int k = 0; k < 128; ++k) {
        first.push_back("A" + std::to_string(k));
        second.push_back("B" + std::to_string(k));
    }
    const auto bytes = PcgBuilder()
                           .Bank("PBK1", first)
                           .Bank("MBK1", second)
                           .Bank("PBK1", {"after drums"}, 20)
                           .Bank("CBK1", {"never"})
                           .bytes();
    EXPECT_EQ(Read(bytes), ReadOutcome::Read);
    EXPECT_EQ(Name(0), "A0");
    EXPECT_EQ(Name(127), "A127");
    EXPECT_EQ(Name(128), "B0");
    EXPECT_EQ(Name(255), "B127");
    EXPECT_EQ(Name(256), "after drums");
    EXPECT_EQ(Name(257), "");
    // The bank letter is the slot's, not the chunk's.
    EXPECT_EQ(m_table.entries[256].bank, 'C');
}

TEST_F(PatchReader, TakesTheFirstSixteenBytesCutAtTheFirstNul) {
    const auto bytes =
        PcgBuilder()
            .Bank("PBK1", {"Sixteen chars ok", "Seventeen chars!!"})
            .BankHeader("PBK1", 2, 30)
            .Bytes(support::PatchRecord("  Pad  ", 30, '\x01'))
            .Bytes(support::PatchRecord(std::string("Abc") + std::string(13, '\0'), 30, 'z'))
            .bytes();
    EXPECT_EQ(Read(bytes), ReadOutcome::Read);
    EXPECT_EQ(Name(0), "Sixteen chars ok");
    EXPECT_EQ(Name(1), "Seventeen chars!");
    EXPECT_EQ(Name(2), std::string("  Pad  ") + std::string(9, '\x01'));
    EXPECT_EQ(Name(3), "Abc");
}

TEST_F(PatchReader, ReadsTheInstrumentsOwnLayout) {
    EXPECT_EQ(Read(support::InstrumentLikePcg()), ReadOutcome::Read);
    for (std::size_t k = 0; k < CPatchTable::kEntries; ++k) {
        ASSERT_EQ(Name(k), support::InstrumentName(support::ProgramName(k))) << k;
    }
}

// Faults of a reader that trusts its headers: each of these once meant stale bytes, endless
// loops or reads from the wrong place.
TEST_F(PatchReader, ShortRecordsGiveOnlyTheirOwnBytes) {
    const auto bytes = PcgBuilder()
                           .Bank("PBK1", {"Long enough name"}, 16)
                           .Bank("PBK1", {"Tiny", "Ab"}, 4)
                           .BankHeader("PBK1", 2, 0)
                           .bytes();
    EXPECT_EQ(Read(bytes), ReadOutcome::Read);
    EXPECT_EQ(Name(0), "Long enough name");
    EXPECT_EQ(Name(1), "Tiny");
    EXPECT_EQ(Name(2), "Ab");
    EXPECT_EQ(Name(3), "");
    EXPECT_EQ(Name(4), "");
}

TEST_F(PatchReader, ARecordCutOffByTheEndOfTheFileKeepsOnlyWhatWasRead) {
    // The previous record leaves a long name in the buffer; the cut one must not inherit it.
    const auto bytes = PcgBuilder()
                           .Bank("PBK1", {"Previous record!"}, 16)
                           .BankHeader("PBK1", 3, 540)
                           .Bytes("Cut")
                           .bytes();
    EXPECT_EQ(Read(bytes), ReadOutcome::Read);
    EXPECT_EQ(Name(0), "Previous record!");
    EXPECT_EQ(Name(1), "Cut");
    EXPECT_EQ(Name(2), "");
    EXPECT_EQ(Name(3), "");
}

TEST_F(PatchReader, RecordsLargerThanAnyBufferAreConsumedWhole) {
    const auto bytes = PcgBuilder()
                           .Bank("PBK1", {"Big one", "Big two"}, 100000)
                           .Bank("MBK1", {"Next header"}, 540)
                           .bytes();
    EXPECT_EQ(Read(bytes), ReadOutcome::Read);
    EXPECT_EQ(Name(0), "Big one");
    EXPECT_EQ(Name(1), "Big two");
    EXPECT_EQ(Name(2), "Next header");
}

TEST_F(PatchReader, ClaimsBeyondTheFileFinishAtOnce) {
    struct Claim {
        std::uint32_t count, size;
    };
    for (const Claim claim :
         {Claim{0xFFFFFFFF, 0}, Claim{0xFFFFFFFF, 0xFFFFFFFF}, Claim{0xFFFFFFFF, 0x80000000},
          Claim{1, 0x80000000}, Claim{0x80000000, 16}}) {
        CPatchTable table;
        const auto bytes = PcgBuilder()
                               .BankHeader("PBK1", claim.count, claim.size)
                               .Bytes(support::PatchRecord("Only record", 16))
                               .bytes();
        EXPECT_EQ(ReadPatchNames(m_dir.Write("claim.pcg", bytes), table), ReadOutcome::Read)
            << claim.count << " x " << claim.size;
        EXPECT_STREQ(table.entries[0].name, claim.size == 0 ? "" : "Only record");
        EXPECT_STREQ(table.entries[1].name, "");
    }
}

TEST_F(PatchReader, RecordsBeyondTheTableAreSkippedSoLaterBanksStayAligned) {
    std::vector<std::string> many(800, "x");
    many[767] = "last stored";
    many[768] = "not stored";
    const auto bytes = PcgBuilder().Bank("PBK1", many, 24).Bank("PBK1", {"ignored"}).bytes();
    EXPECT_EQ(Read(bytes), ReadOutcome::Read);
    EXPECT_EQ(Name(767), "last stored");
}

TEST_F(PatchReader, AHugeSparseFileIsReadToItsEndWithoutTrouble) {
    // 1 GiB of holes behind a header that claims far more: no disk space used.
    const auto path = m_dir.Write("sparse.pcg", PcgBuilder()
                                                    .BankHeader("PBK1", 0xFFFFFFFF, 4096)
                                                    .Bytes(support::PatchRecord("First", 4096))
                                                    .bytes());
    ASSERT_EQ(truncate(path.c_str(), 1ll << 30), 0);
    EXPECT_EQ(ReadPatchNames(path, m_table), ReadOutcome::Read);
    EXPECT_EQ(Name(0), "First");
    EXPECT_EQ(Name(1), "");
}

// What this process has read from files so far.
std::uint64_t BytesReadSoFar() {
    std::ifstream io("/proc/self/io");
    std::string field;
    std::uint64_t value = 0;
    while (io >> field >> value && field != "rchar:") {
    }
    return value;
}

TEST_F(PatchReader, RecordsOfGigabytesArePassedOverUnread) {
    using support::BigEndian32;
    // 128 records of 4 GiB claimed, 40 GiB of holes there: ten records, never read.
    const auto classic = m_dir.Write("sparse.pcg", PcgBuilder()
                                                       .BankHeader("PBK1", 128, 0xFFFFFFFF)
                                                       .Bytes(support::PatchRecord("First", 16))
                                                       .bytes());
    // The whole tree's largest chunk, 4 GiB, filled with records of 256 MiB.
    const auto tree = m_dir.Write(
        "tree.pcg", "KORG" + std::string(12, '\0') + "PCG1" + BigEndian32(0xFFFFFFF0) + "PRG1" +
                        BigEndian32(0xFFFFFFE0) + "PBK1" + BigEndian32(0xFFFFFFD0) +
                        BigEndian32(128) + BigEndian32(1u << 28) + BigEndian32(0) +
                        support::PatchRecord("First", 16));
    for (const std::string& path : {classic, tree}) {
        ASSERT_EQ(truncate(path.c_str(), 40ll << 30), 0);
    }
    const std::uint64_t before = BytesReadSoFar();
    EXPECT_EQ(ReadPatchNames(classic, m_table), ReadOutcome::Read);
    const PcgReading whole = ReadPcg(tree, {PcgRules::WholeFile});
    EXPECT_LT(BytesReadSoFar() - before, 16u << 20);
    EXPECT_EQ(Name(0), "First");
    EXPECT_EQ(Name(9), "");
    ASSERT_EQ(whole.contents.slots.size(), 16u);
    EXPECT_EQ(whole.contents.slots[0].Name(), "First");
    EXPECT_FALSE(whole.contents.shortfall);
}

}  // namespace

namespace {

// Later models begin the "PCG1" chunk with "DIV1" and "INI1" blocks; their programs are read
// as a classic file's. Anything else at offset 24 is still not a PCG file.
TEST_F(PatchReader, ReadsLaterModelsPastTheirLeadingBlocks) {
    EXPECT_EQ(Read(support::FactoryLikePcg(support::PcgLayout::LaterModel)), ReadOutcome::Read);
    for (std::size_t k = 0; k < 128; ++k) {
        char slot[32];
        std::snprintf(slot, sizeof slot, "A%03zu", k);
        ASSERT_EQ(Name(k), support::InstrumentName(support::FactorySlotName("program", slot)));
    }
    using support::Chunk;
    const std::string programs =
        Chunk("PRG1", "") + PcgBuilder().FileHeader({}).Bank("PBK1", {"P"}).bytes();
    const std::string div = Chunk("DIV1", "divisions");
    const std::pair<std::string, bool> cases[] = {
        {Chunk("INI1", "") + programs, true},
        {div + Chunk("INI1", "x") + div + programs, true},
        {Chunk("GLB1", "") + programs, false},
        {div + Chunk("CMB1", "") + programs, false},
        {div.substr(0, 12), false},
        {Chunk("DIV1", std::string(100, 'x')).substr(0, 50) + programs, false},
    };
    for (const auto& [content, valid] : cases) {
        CPatchTable table;
        EXPECT_EQ(ReadPatchNames(m_dir.Write("f.pcg", support::PcgFile(content)), table),
                  valid ? ReadOutcome::Read : ReadOutcome::Failed)
            << content;
        EXPECT_STREQ(table.entries[0].name, valid ? "P" : "");
    }
}

}  // namespace
