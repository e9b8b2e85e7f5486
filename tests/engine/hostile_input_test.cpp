// SPDX-License-Identifier: MIT
// Report generation on input built to hurt: huge or odd templates, PCG headers that lie, a full
// disk, report paths that lead back to the PCG file or change while it runs, readers that
// leave, and limits on size and memory.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "engine/report_generation.h"
#include "platform/os/write_signals.h"
#include "support/child_process.h"
#include "support/pcg_builder.h"
#include "support/temp_dir.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
constexpr bool kSanitized = __has_feature(address_sanitizer);
#else
constexpr bool kSanitized = false;
#endif

using support::PcgBuilder;
using support::ReadFile;

constexpr char kReportFailed[] =
    "I could not create the report file, please check the file name is valid.";

class HostileInput : public ::testing::Test {
protected:
    GenerateOutcome Generate(const std::string& report) {
        return GenerateReportFromTemplate({m_template, false}, m_pcg, report);
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

// --- the report under attack: races, limits, readers that leave, memory -----------------------

TEST_F(HostileInput, AReportPathFlippedToALinkWhileGeneratingNeverReachesThePcg) {
    // Another process keeps turning the report path into a link to the PCG file and back into
    // a plain file, each in one atomic step, while Generate runs again and again.
    const std::string pcgBytes = ReadFile(m_pcg);
    std::atomic<bool> stop{false};
    std::thread flipper([&] {
        const std::string link = m_dir.Path("staged-link");
        const std::string plain = m_dir.Path("staged-plain");
        while (!stop) {
            std::ofstream(plain) << "plain";
            rename(plain.c_str(), m_report.c_str());
            std::this_thread::sleep_for(std::chrono::microseconds(50));
            if (symlink(m_pcg.c_str(), link.c_str()) == 0) {
                rename(link.c_str(), m_report.c_str());
            }
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
    });
    // Until some runs got through to writing, so the race was really run.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    int succeeded = 0;
    for (int i = 0; (i < 2000 || succeeded < 5) && std::chrono::steady_clock::now() < deadline;
         ++i) {
        succeeded += Generate(m_report).succeeded;
        if (ReadFile(m_pcg) != pcgBytes) {
            ADD_FAILURE() << "the PCG file was written after " << i + 1 << " runs";
            break;
        }
    }
    stop = true;
    flipper.join();
    EXPECT_EQ(ReadFile(m_pcg), pcgBytes);
    EXPECT_GT(succeeded, 0);
}

TEST_F(HostileInput, AFileSizeLimitOrAReaderThatLeavesIsAFailedWrite) {
    // Large enough to fill a pipe's buffer many times over.
    m_template = m_dir.Write("big.htm", Repeated("<tr><td><%PATCHNAME_000%></td></tr>\n", 20000));
    m_dir.Write("report.htm", "old report");
    const auto entries = Listing();
    const auto generate = [this](const std::string& report) {
        os::IgnoreWriteSignals();
        const GenerateOutcome outcome = Generate(report);
        return outcome.status == GenerateStatus::ReportNotCreated &&
                       outcome.message == kReportFailed
                   ? 0
                   : 1;
    };

    // A limit on file size fails the write part way, as a full disk does.
    const auto limited = support::RunInChild([&] {
        const rlimit limit{16384, 16384};
        setrlimit(RLIMIT_FSIZE, &limit);
        return generate(m_report);
    });
    EXPECT_EQ(limited.exitCode, 0) << "ended by signal " << limited.signal;
    EXPECT_EQ(ReadFile(m_report), "old report");
    EXPECT_EQ(Listing(), entries);

    // A FIFO whose reader goes away after 100 bytes.
    const std::string fifo = m_dir.Path("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    std::thread leaving([reader] {
        fcntl(reader, F_SETFL, 0);
        char first[100];
        std::size_t got = 0;
        while (got < sizeof first) {
            const ssize_t n = read(reader, first + got, sizeof first - got);
            if (n <= 0) {
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        close(reader);
    });
    const auto piped = support::RunInChild([&] {
        close(reader);  // the child must not keep the reader's end open itself
        return generate(fifo);
    });
    leaving.join();
    EXPECT_EQ(piped.exitCode, 0) << "ended by signal " << piped.signal;
}

TEST_F(HostileInput, TemplateMemoryStaysWithinThreeTimesItsSize) {
    if (kSanitized) {
        GTEST_SKIP() << "the sanitizers change what memory costs";
    }
    constexpr long kSizeKib = 8 * 1024;
    // The densest tags there are, on one line and on lines of their own.
    for (const std::string_view shape : {"<%%>", "<%%>\n"}) {
        m_template = m_dir.Write("tags.htm", Repeated(shape, kSizeKib * 1024 / shape.size()));
        const long extra =
            support::ExtraPeakKib([this] { return Generate(m_report).succeeded ? 0 : 1; });
        EXPECT_LE(extra, 3 * kSizeKib) << shape.size() << "-byte pieces";
    }
}

TEST_F(HostileInput, RunningOutOfMemoryIsAFailureThatKeepsTheOldReport) {
    if (kSanitized) {
        GTEST_SKIP() << "the sanitizers reserve address space of their own";
    }
    m_dir.Write("report.htm", "old report");
    m_template = m_dir.Write("huge.htm", Repeated("<%%>", 16 << 20));
    const auto result = support::RunInChild([this] {
        // Room for the program as it is now and a little more, but not for the template.
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t size = static_cast<rlim_t>(pages * sysconf(_SC_PAGESIZE) + (24 << 20));
        const rlimit limit{size, size};
        setrlimit(RLIMIT_AS, &limit);
        return Generate(m_report).status == GenerateStatus::TemplateMissing ? 0 : 1;
    });
    EXPECT_EQ(result.exitCode, 0) << "ended by signal " << result.signal;
    EXPECT_EQ(ReadFile(m_report), "old report");
}

}  // namespace
