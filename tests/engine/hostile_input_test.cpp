// SPDX-License-Identifier: MIT
// Report generation on input built to hurt: huge or odd templates, PCG headers that lie, a full
// disk, and report paths that lead back to the PCG file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/report_generation.h"
#include "support/pcg_builder.h"
#include "support/temp_dir.h"

namespace {

using support::PcgBuilder;
using support::ReadFile;

constexpr char kReportFailed[] =
    "I could not create the report file, please check the file name is valid.";

class HostileInput : public ::testing::Test {
protected:
    GenerateOutcome Generate(const std::string& report) {
        return GenerateReportFromTemplate(m_template, m_pcg, report);
    }
    // The report made with `templateBytes` as the template file.
    std::string ReportFrom(std::string_view templateBytes) {
        m_template = m_dir.Write("template.htm", templateBytes);
        const GenerateOutcome outcome = Generate(m_report);
        EXPECT_TRUE(outcome.succeeded) << outcome.message;
        return ReadFile(m_report);
    }
    void ExpectReportRefused(const std::string& report) {
        const GenerateOutcome outcome = Generate(report);
        EXPECT_FALSE(outcome.succeeded) << report;
        EXPECT_EQ(outcome.icon, OutcomeIcon::Warning);
        EXPECT_EQ(outcome.message, kReportFailed);
    }
    std::vector<std::string> Listing() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(m_dir.path())) {
            names.push_back(entry.path().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    support::TempDir m_dir;
    std::string m_template = m_dir.Write("template.htm", "[<%PATCHNAME_000%>|<%PATCHNAME_001%>]\n");
    std::string m_pcg = m_dir.Write("in.pcg", PcgBuilder().Bank("PBK1", {"One", "Two"}).bytes());
    std::string m_report = m_dir.Path("report.htm");
};

// `piece` repeated `times` times, built by doubling.
std::string Repeated(std::string_view piece, std::size_t times) {
    std::string text(piece);
    text.reserve(piece.size() * times);
    while (text.size() * 2 <= piece.size() * times) {
        text += text;
    }
    text.append(text, 0, piece.size() * times - text.size());
    return text;
}

// The big reports are compared as views: a failure must not print hundreds of megabytes.
TEST_F(HostileInput, AHundredMegabyteLineIsReportedWhole) {
    constexpr std::size_t kHalf = 50 * 1024 * 1024;
    std::string line(kHalf, 'x');
    line += "<%PATCHNAME_000%>";
    line.append(kHalf, 'y');
    const std::string report = ReportFrom(line);
    ASSERT_EQ(report.size(), 2 * kHalf + 5);
    const std::string_view view = report;
    EXPECT_EQ(view.find_first_not_of('x'), kHalf);
    EXPECT_EQ(view.substr(kHalf, 3), "One");
    EXPECT_EQ(view.find_first_not_of('y', kHalf + 3), 2 * kHalf + 3);
    EXPECT_EQ(view.substr(2 * kHalf + 3), "\r\n");
}

TEST_F(HostileInput, AMillionTagsOnOneLine) {
    // Keys without a value vanish, whatever their number.
    const std::string thousandTags = Repeated("<%K%>", 999) + "<%PATCHNAME_001%>";
    const std::string report = ReportFrom(Repeated(thousandTags, 1000) + "\n");
    EXPECT_EQ(report, Repeated("Two", 1000) + "\r\n");
}

TEST_F(HostileInput, AMillionOpeningMarkersMakeOneKey) {
    const std::string opens = Repeated("<%", 1000000);
    // The first opens a tag and the rest are its key, up to the first "%>"...
    EXPECT_EQ(ReportFrom(opens + "%>tail\n"), "tail\r\n");
    // ...even one lines later, so the lines between vanish into the key...
    EXPECT_EQ(ReportFrom("head\n" + opens + "\nmore <%PATCHNAME_000%>\n"), "head\r\n\r\n");
    // ...or, with none, to the end of the text.
    EXPECT_EQ(ReportFrom("head\n" + opens + "\nmore\n"), "head\r\n");
}

TEST_F(HostileInput, NulAndCtrlZInTheTemplateFile) {
    // A NUL ends its line's text; a Ctrl-Z ends the file, here in the middle of a tag, which
    // then takes the line end that follows it as part of its key.
    constexpr char kBytes[] =
        "a\0<%PATCHNAME_000%>\n[<%PATCHNAME_000%>]\0tail\n\0\nb<%PATCH\x1A"
        "NAME_001%>\nlost\n";
    EXPECT_EQ(ReportFrom(std::string_view(kBytes, sizeof kBytes - 1)), "a\r\n[One]\r\nb");
}

TEST_F(HostileInput, AFullDiskFailsAndTouchesNothing) {
    const std::vector<std::string> listing = Listing();
    const std::string pcgBytes = ReadFile(m_pcg);
    const std::string templateBytes = ReadFile(m_template);
    ExpectReportRefused("/dev/full");
    EXPECT_EQ(Listing(), listing);
    EXPECT_EQ(ReadFile(m_pcg), pcgBytes);
    EXPECT_EQ(ReadFile(m_template), templateBytes);
}

TEST_F(HostileInput, NoSpellingOfThePcgPathIsWrittenAsTheReport) {
    const std::string pcgBytes = ReadFile(m_pcg);
    const std::string folder = std::filesystem::path(m_dir.path()).filename();
    ASSERT_EQ(mkdir(m_dir.Path("sub").c_str(), 0700), 0);
    ASSERT_EQ(symlink(m_dir.path().c_str(), m_dir.Path("alias").c_str()), 0);
    ASSERT_EQ(symlink(m_dir.Path("alias/in.pcg").c_str(), m_dir.Path("link.htm").c_str()), 0);
    ASSERT_EQ(symlink("link.htm", m_dir.Path("link-to-link.htm").c_str()), 0);
    ASSERT_EQ(link(m_pcg.c_str(), m_dir.Path("sub/hard.htm").c_str()), 0);
    for (const std::string& report :
         {m_dir.Path("sub/../in.pcg"), m_dir.Path("sub/../../" + folder + "/in.pcg"),
          m_dir.Path("alias/in.pcg"), m_dir.Path("alias/sub/../alias/in.pcg"),
          m_dir.Path("link-to-link.htm"), m_dir.Path("sub/hard.htm")}) {
        ExpectReportRefused(report);
    }
    const std::string previous = std::filesystem::current_path();
    ASSERT_EQ(chdir(m_dir.Path("sub").c_str()), 0);
    for (const char* report : {"../in.pcg", "./../in.pcg", "./hard.htm", "../alias/in.pcg"}) {
        ExpectReportRefused(report);
    }
    ASSERT_EQ(chdir(previous.c_str()), 0);
    EXPECT_EQ(ReadFile(m_pcg), pcgBytes);
}

TEST_F(HostileInput, DotDotAfterALinkIsNotMistakenForThePcg) {
    // "deep/.." is "sub", not the folder that holds "deep": the path leads to another file of
    // the same name, which may be written.
    ASSERT_EQ(mkdir(m_dir.Path("sub").c_str(), 0700), 0);
    ASSERT_EQ(mkdir(m_dir.Path("sub/inner").c_str(), 0700), 0);
    ASSERT_EQ(symlink(m_dir.Path("sub/inner").c_str(), m_dir.Path("deep").c_str()), 0);
    const std::string pcgBytes = ReadFile(m_pcg);
    EXPECT_TRUE(Generate(m_dir.Path("deep/../in.pcg")).succeeded);
    EXPECT_EQ(ReadFile(m_dir.Path("sub/in.pcg")), "[One|Two]\r\n");
    EXPECT_EQ(ReadFile(m_pcg), pcgBytes);
}

TEST_F(HostileInput, HeadersClaimingBillionsOfRecords) {
    struct Claim {
        std::uint32_t count;
        std::uint32_t size;
        const char* report;
    };
    // Size 0 reads no names and leaves "Only" to be taken as the next (invalid) bank header.
    for (const Claim claim :
         {Claim{0xFFFFFFFF, 0, "[|]\r\n"}, Claim{0xFFFFFFFF, 0xFFFFFFFF, "[Only|]\r\n"},
          Claim{0xFFFFFFFF, 0x80000000, "[Only|]\r\n"}}) {
        m_pcg = m_dir.Write("claim.pcg", PcgBuilder()
                                             .BankHeader("PBK1", claim.count, claim.size)
                                             .Bytes(support::PatchRecord("Only", 16))
                                             .Bank("MBK1", {"Never reached"}, 16)
                                             .bytes());
        const GenerateOutcome outcome = Generate(m_report);
        EXPECT_TRUE(outcome.succeeded) << claim.size << ": " << outcome.message;
        EXPECT_EQ(ReadFile(m_report), claim.report) << claim.size;
    }
}

}  // namespace
