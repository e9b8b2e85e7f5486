// SPDX-License-Identifier: MIT
// Generating reports end to end, every outcome checked by its exact message.
#include "engine/generate_report.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/report_generation.h"
#include "engine/report_template.h"
#include "engine/template_loader.h"
#include "platform/os/executable_path.h"
#include "platform/os/path_names.h"
#include "support/pcg_builder.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace {

using support::PcgBuilder;
using support::ReadFile;

constexpr char kTemplateMissing[] =
    "Couldn't find the template file template.htm. This file should be in the same directory as "
    "the application. Check your installation";
constexpr char kNamesMissing[] =
    "You need to enter the name of the PCG file to read, and the name for the report file, "
    "before I can generate anything ;-)";
constexpr char kReportFailed[] =
    "I could not create the report file, please check the file name is valid.";

class GenerateReportTest : public ::testing::Test {
protected:
    GenerateOutcome Generate(const std::string& pcg, const std::string& report) {
        return GenerateReportFromTemplate({m_template, false}, pcg, report);
    }
    void ExpectFailure(const GenerateOutcome& outcome, const std::string& message) {
        EXPECT_FALSE(outcome.succeeded);
        EXPECT_EQ(outcome.icon, OutcomeIcon::Warning);
        EXPECT_EQ(outcome.message, message);
    }
    void ExpectSuccess(const GenerateOutcome& outcome) {
        EXPECT_TRUE(outcome.succeeded);
        EXPECT_EQ(outcome.icon, OutcomeIcon::Information);
        EXPECT_EQ(outcome.message, "Successfully generated report");
    }

    support::TempDir m_dir;
    std::string m_template = m_dir.Write("template.htm", "<%PATCHNAME_000%>|<%PATCHNAME_001%>\n");
    std::string m_pcg = m_dir.Write("in.pcg", PcgBuilder().Bank("PBK1", {"One", "Two"}).bytes());
    std::string m_report = m_dir.Path("report.htm");
};

TEST_F(GenerateReportTest, WritesTheReport) {
    ExpectSuccess(Generate(m_pcg, m_report));
    EXPECT_EQ(ReadFile(m_report), "One|Two\r\n");
}

TEST_F(GenerateReportTest, ChecksTheTemplateFirst) {
    m_template = m_dir.Path("absent.htm");
    ExpectFailure(Generate("", ""), kTemplateMissing);
    m_template = m_dir.path();
    ExpectFailure(Generate(m_pcg, m_report), kTemplateMissing);
    EXPECT_FALSE(support::Exists(m_report));
}

TEST_F(GenerateReportTest, NeedsBothNamesBeforeTheFiles) {
    ExpectFailure(Generate("", ""), kNamesMissing);
    ExpectFailure(Generate(m_pcg, ""), kNamesMissing);
    ExpectFailure(Generate("", m_report), kNamesMissing);
    ExpectFailure(Generate(m_dir.Path("absent.pcg"), ""), kNamesMissing);
    EXPECT_FALSE(support::Exists(m_report));
}

TEST_F(GenerateReportTest, ReportsWhyThePcgFileWasRefused) {
    ExpectFailure(Generate(m_dir.Path("absent.pcg"), m_report),
                  "Error : The named PCG file does not exist !.");
    ExpectFailure(Generate(m_dir.path(), m_report), "Error : The named PCG file does not exist !.");
    ExpectFailure(
        Generate(m_dir.Write("bad.pcg", "KORG"), m_report),
        "Error : Failed to read the PCG file, it does not appear to be valid (headers)..");
    ExpectFailure(
        Generate(m_dir.Write("none.pcg", PcgBuilder().Bank("CBK1", {"C"}).bytes()), m_report),
        "I couldn't find any patches in that PCG, so I can't generate a report !");
    EXPECT_FALSE(support::Exists(m_report));
}

TEST_F(GenerateReportTest, PathsAreTakenAsTyped) {
    // A path of spaces is not empty: it is a file name like any other.
    ExpectFailure(Generate("  ", m_report), "Error : The named PCG file does not exist !.");
    ExpectFailure(Generate(m_pcg + " ", m_report), "Error : The named PCG file does not exist !.");
    const std::string previous = std::filesystem::current_path();
    ASSERT_EQ(chdir(m_dir.path().c_str()), 0);
    ExpectSuccess(Generate("in.pcg", "  "));
    EXPECT_EQ(chdir(previous.c_str()), 0);
    EXPECT_EQ(ReadFile(m_dir.Path("  ")), "One|Two\r\n");
}

TEST_F(GenerateReportTest, FailsWhereTheReportCannotBeCreated) {
    ExpectFailure(Generate(m_pcg, m_dir.Path("no/such/folder/report.htm")), kReportFailed);
    ExpectFailure(Generate(m_pcg, m_dir.path()), kReportFailed);
}

TEST_F(GenerateReportTest, ReplacesAnExistingReport) {
    m_dir.Write("report.htm", std::string(10000, 'o'));
    ExpectSuccess(Generate(m_pcg, m_report));
    EXPECT_EQ(ReadFile(m_report), "One|Two\r\n");
}

TEST_F(GenerateReportTest, NeverOverwritesItsInputs) {
    const std::string pcgBytes = ReadFile(m_pcg);
    const std::string templateBytes = ReadFile(m_template);
    ASSERT_EQ(symlink(m_pcg.c_str(), m_dir.Path("link.htm").c_str()), 0);
    ASSERT_EQ(link(m_pcg.c_str(), m_dir.Path("hard.htm").c_str()), 0);
    for (const std::string& report : {m_pcg, m_dir.path() + "/./in.pcg", m_dir.path() + "//in.pcg",
                                      m_dir.Path("link.htm"), m_dir.Path("hard.htm"), m_template}) {
        ExpectFailure(Generate(m_pcg, report), kReportFailed);
    }
    EXPECT_EQ(ReadFile(m_pcg), pcgBytes);
    EXPECT_EQ(ReadFile(m_template), templateBytes);
}

TEST_F(GenerateReportTest, EscapesAndTrimsNamesAndFillsOnly128Keys) {
    std::vector<std::string> names(200, "n");
    names[0] = "  Soft <Pad> ";
    names[1] = "Tom & \"Jerry\"\t";
    names[2] =
        "\xA0"
        "hi\xA0";
    names[127] = "Last";
    names[128] = "Too far";
    m_template =
        m_dir.Write("keys.htm",
                    "[<%PATCHNAME_000%>][<%PATCHNAME_001%>][<%PATCHNAME_002%>]\n"
                    "[<%PATCHNAME_127%>][<%PATCHNAME_128%>][<%PATCHNAME_1%>][<%OTHER%>]\n");
    ExpectSuccess(
        Generate(m_dir.Write("many.pcg", PcgBuilder().Bank("PBK1", names).bytes()), m_report));
    EXPECT_EQ(ReadFile(m_report),
              "[Soft &lt;Pad&gt;][Tom & \"Jerry\"][\xA0"
              "hi\xA0]\r\n[Last][][][]\r\n");
}

TEST_F(GenerateReportTest, KeysForMissingNamesRenderEmpty) {
    m_template = m_dir.Write("few.htm", "<%PATCHNAME_001%>/<%PATCHNAME_002%>.\n");
    ExpectSuccess(Generate(m_pcg, m_report));
    EXPECT_EQ(ReadFile(m_report), "Two/.\r\n");
}

TEST_F(GenerateReportTest, AnEmptyTemplateGivesAnEmptyReport) {
    m_dir.Write("report.htm", "old content");
    m_template = m_dir.Write("blank.htm", "\n\r\n\n");
    ExpectSuccess(Generate(m_pcg, m_report));
    EXPECT_TRUE(support::Exists(m_report));
    EXPECT_EQ(ReadFile(m_report), "");
}

TEST_F(GenerateReportTest, MatchesTheGoldenReport) {
    const std::string data = TABULON_TEST_DATA_DIR;
    m_template = data + "/golden_template.htm";
    const auto pcg = m_dir.Write("triton.pcg", support::InstrumentLikePcg());
    ExpectSuccess(Generate(pcg, m_report));
    EXPECT_EQ(ReadFile(m_report), ReadFile(data + "/golden_report.htm"));
}

TEST(GenerateReport, UsesTheTemplateBesideTheExecutable) {
    support::TempDir dir;
    const support::ScopedEnv noTemplateOfTheUsers("XDG_DATA_HOME", dir.Path("data"));
    const auto pcg = dir.Write("triton.pcg", support::InstrumentLikePcg());
    const auto report = dir.Path("report.htm");
    const GenerateOutcome outcome = GenerateReport(pcg, report);
    ASSERT_TRUE(outcome.succeeded) << outcome.message;
    EXPECT_EQ(ReadFile(report), ReadFile(TABULON_TEST_DATA_DIR "/instrument_report.htm"));
}

// No fixed buffer limits the executable's path: a copy of this program far down a folder tree
// still finds the template beside itself.
TEST(GenerateReport, FindsItsTemplateFromAFolderOfAnyDepth) {
    support::TempDir dir;
    std::filesystem::path deep = dir.path();
    for (char c = 'a'; c < 'g'; ++c) {
        deep /= std::string(100, c);
    }
    std::filesystem::create_directories(deep);
    ASSERT_GT(deep.string().size(), 600u);
    const std::string here = os::DirectoryOf(os::ExecutablePath());
    std::filesystem::copy_file(os::ExecutablePath(), deep / "engine_tests");
    std::filesystem::copy_file(here + "template.htm", deep / "template.htm");

    const pid_t child = fork();
    if (child == 0) {
        const std::string program = (deep / "engine_tests").string();
        if (freopen((dir.path() + "/child.log").c_str(), "w", stdout) == nullptr) {
            _exit(126);
        }
        execl(program.c_str(), program.c_str(),
              "--gtest_filter=GenerateReport.UsesTheTemplateBesideTheExecutable", nullptr);
        _exit(127);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_NE(ReadFile(dir.path() + "/child.log").find("[  PASSED  ] 1 test."), std::string::npos);
}

// The user's own template, in their data folder, comes before the shipped one, and one that
// is there but cannot be read is reported by name, never passed over.
TEST(GenerateReport, TheUsersOwnTemplateComesFirst) {
    support::TempDir dir;
    const auto pcg = dir.Write("triton.pcg", support::InstrumentLikePcg());
    const auto report = dir.Path("report.htm");
    const support::ScopedEnv home("HOME", dir.Path("home"));
    const support::ScopedEnv data("XDG_DATA_HOME", dir.Path("data"));
    std::filesystem::create_directories(dir.Path("data/tabulon"));
    dir.Write("data/tabulon/template.htm", "mine: <%PATCHNAME_000%>\n");
    ASSERT_TRUE(GenerateReport(pcg, report).succeeded);
    EXPECT_EQ(ReadFile(report), "mine: Grand Piano 0\r\n");

    const std::string own = dir.Path("data/tabulon/template.htm");
    ASSERT_EQ(unlink(own.c_str()), 0);
    ASSERT_EQ(mkdir(own.c_str(), 0700), 0);
    const GenerateOutcome folder = GenerateReport(pcg, report);
    EXPECT_EQ(folder.status, GenerateStatus::UserTemplateUnreadable);
    EXPECT_EQ(folder.icon, OutcomeIcon::Warning);
    EXPECT_EQ(folder.message, "Couldn't read your template file " + own + ".");
    EXPECT_EQ(ReadFile(report), "mine: Grand Piano 0\r\n");

    // A data folder that is not an absolute path does not count: the home's one does.
    const support::ScopedEnv relative("XDG_DATA_HOME", "data");
    std::filesystem::create_directories(dir.Path("home/.local/share/tabulon"));
    dir.Write("home/.local/share/tabulon/template.htm", "home: <%PATCHNAME_001%>\n");
    ASSERT_TRUE(GenerateReport(pcg, report).succeeded);
    EXPECT_EQ(ReadFile(report), "home: Strings 1\r\n");
}

// The shipped template names the file and shows each of the 128 names once, in order, with
// its slot's label just before it on its line; it holds no other key.
TEST(ShippedTemplate, HoldsEachOf128KeysOnce) {
    const auto text = LoadTemplateText(os::DirectoryOf(os::ExecutablePath()) + "template.htm");
    ASSERT_TRUE(text);
    CReportTemplate reportTemplate;
    reportTemplate.SetTemplate(*text);
    const std::vector<TemplateChunk> chunks = reportTemplate.Chunks();
    std::vector<std::string> names;
    std::size_t slots = 0;
    std::size_t fileNames = 0;
    for (std::size_t c = 0; c < chunks.size(); ++c) {
        if (!chunks[c].isTag) {
            continue;
        }
        const std::string key(chunks[c].text);
        if (key.starts_with("PATCHNAME_")) {
            names.push_back(key);
            ASSERT_GE(c, 2u) << key;
            EXPECT_TRUE(chunks[c - 2].isTag && chunks[c - 2].text == "PATCHSLOT_" + key.substr(10))
                << key << " is not beside its slot";
            EXPECT_EQ(chunks[c - 1].text.find('\n'), std::string_view::npos) << key;
        } else if (key.starts_with("PATCHSLOT_")) {
            ++slots;
        } else if (key == "PCG_FILE_NAME") {
            ++fileNames;
        } else {
            ADD_FAILURE() << "the shipped template holds the key " << key;
        }
    }
    EXPECT_GE(fileNames, 1u);
    EXPECT_EQ(slots, 128u);
    ASSERT_EQ(names.size(), 128u);
    for (int j = 0; j < 128; ++j) {
        char key[16];
        std::snprintf(key, sizeof key, "PATCHNAME_%03d", j);
        EXPECT_EQ(names[static_cast<std::size_t>(j)], key);
    }
}

}  // namespace

namespace {

// Templates may show any slot of the file, by bank and number, and the file's name.
TEST(SlotKeys, FillEverySlotTheFileHoldsAndNoOther) {
    support::TempDir dir;
    const std::string keys =
        "<%PATCHNAME_000%>|<%PROGRAM_E000%>|<%PROGRAM_E127%>|<%PROGRAM_F000%>|<%PROGRAM_N127%>|<%"
        "COMBI_N000%>|"
        "<%DRUMKIT_015%>|<%DRUMKIT_143%>|<%ARPEGGIO_506%>|<%PCG_FILE_NAME%>\n";
    std::string templatePath = dir.Write("keys.htm", keys);
    const auto report = [&](const std::string& name, const std::string& bytes) {
        const std::string out = dir.Path("out.htm");
        const GenerateOutcome outcome =
            GenerateReportFromTemplate({templatePath, false}, dir.Write(name, bytes), out);
        EXPECT_TRUE(outcome.succeeded) << outcome.message;
        return ReadFile(out);
    };
    EXPECT_EQ(
        report("classic.pcg", support::FactoryLikePcg(support::PcgLayout::Classic)),
        "P-A000 MWMWMWMWM|P-E000 MWMWMWMWM|InitialProgE127||||D-015 MWMWMWMWMW|||classic.pcg\r\n");
    EXPECT_EQ(report("Later M\xC3\xBCller <1>.PCG ",
                     support::FactoryLikePcg(support::PcgLayout::LaterModel)),
              "P-A000 MWMWMWMWM|P-E000 MWMWMWMWM|InitialProgE127|P-F000 MWMWMWMWM|InitialProgN127|"
              "InitialCombiN000|"
              "D-015 MWMWMWMWMW|Drumkit143|ArpeggioPat506|Later M&#xFC;ller &lt;1&gt;.PCG\r\n");

    // Names are trimmed, and escaped as the first 128 are, and for "&" and quotes too; of two
    // banks with one number, the first in the file gives the slot.
    using support::BankChunk;
    using support::Chunk;
    const std::string twice =
        support::PcgFile(Chunk("PRG1", BankChunk("PBK1", {"  <Hit> & run "}, 16, 4) +
                                           BankChunk("PBK1", {"Second E"}, 16, 4)));
    EXPECT_EQ(report("twice.pcg", twice),
              "&lt;Hit&gt; & run|&lt;Hit&gt; &amp; run||||||||twice.pcg\r\n");

    // So are they in the lists of every bank: padded, cut by a NUL before markup, or full.
    const std::string out = dir.Path("lists.htm");
    ASSERT_TRUE(GenerateReportFromTemplate(
                    {dir.Write("lists-template.htm", "<%PROGRAM_BANKS%>"), false},
                    dir.Write("names.pcg", support::PcgFile(Chunk(
                                               "PRG1", BankChunk("PBK1",
                                                                 {"  <Hit> & run ", "Piano      ",
                                                                  std::string("Cut\0<b>", 7),
                                                                  "Sixteen bytes<>!"},
                                                                 16, 0)))),
                    out)
                    .succeeded);
    const std::string lists = ReadFile(out);
    std::string names;
    for (std::size_t at = 0; (at = lists.find("\"name\">", at)) != std::string::npos;) {
        at += 7;
        names += lists.substr(at, lists.find('<', at) - at) + "|";
    }
    EXPECT_EQ(names, "&lt;Hit&gt; &amp; run|Piano|Cut|Sixteen bytes&lt;&gt;!|");

    // No name adds markup to a user's template, in an attribute or as an entity.
    const std::string quoted = support::PcgFile(
        Chunk("PRG1", BankChunk("PBK1", {"\"hidden x=", "R&B &lt;3 &not", "it's"}, 16, 0)));
    templatePath = dir.Write("attribute.htm",
                             "<a title=\"<%PROGRAM_A000%>\"><%PROGRAM_A001%> "
                             "<%PROGRAM_A002%></a>");
    EXPECT_EQ(report("'quoted'.pcg", quoted),
              "<a title=\"&quot;hidden x=\">R&amp;B &amp;lt;3 &amp;not it&#39;s</a>\r\n");
}

// A template of whole-file keys alone is judged by what the whole file holds, so any file
// with a slot of any kind is reported; one that also shows PATCHNAME keys keeps their rules.
TEST(SlotKeys, JudgeByTheWholeFileWhereNoPatchNameIsShown) {
    using support::BankChunk;
    using support::Chunk;
    using support::PcgFile;
    support::TempDir dir;
    const std::string out = dir.Path("out.htm");
    const auto generate = [&](const std::string& templateText, const std::string& pcg) {
        return GenerateReportFromTemplate({dir.Write("t.htm", templateText), false},
                                          dir.Write("f.pcg", pcg), out);
    };
    const std::string combis = Chunk("CMB1", BankChunk("CBK1", {"Only Combi"}, 448, 0));
    const std::string combiOnly[] = {
        PcgFile(combis),
        PcgFile(Chunk("DIV1", "") + Chunk("INI1", "") + combis),
        PcgFile(Chunk("GLB1", "") + Chunk("PRG1", "") + combis),
    };
    for (const std::string& pcg : combiOnly) {
        EXPECT_TRUE(generate("<%COMBI_A000%>", pcg).succeeded);
        EXPECT_EQ(ReadFile(out), "Only Combi\r\n");
        EXPECT_TRUE(generate("<%COMBI_BANKS%>", pcg).succeeded);
        // The classic rules still judge where the first 128 names are shown, and where no key
        // asks for the whole file (a key that only looks like a slot's).
        EXPECT_EQ(generate("<%PATCHNAME_000%><%COMBI_A000%>", pcg).status,
                  GenerateStatus::PcgInvalid);
        EXPECT_EQ(generate("<%COMBI_A1%><%PCG_FILE_NAME%>", pcg).status,
                  GenerateStatus::PcgInvalid);
    }
    EXPECT_EQ(generate("<% PATCHNAME_000%><%PATCHNAME_128%><%COMBI_A000%>", combiOnly[0]).status,
              GenerateStatus::Succeeded);
    EXPECT_EQ(
        generate("<%COMBI_A000%>", PcgFile(Chunk("PRG1", BankChunk("PBK1", {}, 540, 0)))).status,
        GenerateStatus::NoPatches);
    EXPECT_EQ(generate("<%COMBI_A000%>", "KORG" + std::string(20, '\0')).status,
              GenerateStatus::PcgInvalid);

    // A file cut short is reported as far as it goes, and the outcome says so.
    const std::string later = support::FactoryLikePcg(support::PcgLayout::LaterModel);
    const GenerateOutcome half = generate("<%PROGRAM_BANKS%>", later.substr(0, 1000000));
    EXPECT_TRUE(half.succeeded);
    EXPECT_EQ(half.shortfall.kind, PcgShortfall::Kind::EndsEarly);
    EXPECT_EQ(ShortfallLine(half.shortfall, half.slotsRead, "reported"),
              "the file ends at byte 1000000, its chunks say " + std::to_string(later.size()) +
                  "; " + std::to_string(half.slotsRead) + " slots reported");
    EXPECT_FALSE(generate("<%PATCHNAME_000%>", later.substr(0, 1000000)).shortfall);
}

}  // namespace
