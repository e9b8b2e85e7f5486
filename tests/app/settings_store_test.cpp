// SPDX-License-Identifier: MIT
// The settings store: where its file lives and what the dialog's reads and writes leave in it.
#include "app/settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace {

// Every test gets a configuration folder of its own.
class SettingsStore : public testing::Test {
protected:
    support::TempDir m_dir;
    support::ScopedEnv m_config{"XDG_CONFIG_HOME", m_dir.path()};
    std::string m_file = m_dir.Path("app_settings_tests.INI");
};

TEST_F(SettingsStore, FileIsNamedAfterTheExecutable) {
    EXPECT_EQ(SettingsFilePath(), m_file);
}

TEST_F(SettingsStore, FirstRunReadsDefaultsAndCreatesNothing) {
    EXPECT_EQ(ReadSetting("MRU", "report", ""), "");
    EXPECT_EQ(ReadSetting("MRU", "pcg", "fallback"), "fallback");
    EXPECT_FALSE(support::Exists(m_file));
}

TEST_F(SettingsStore, AGenerateWritesReportThenPcg) {
    ASSERT_TRUE(WriteSetting("MRU", "report", "/home/me/Reports/triton.htm"));
    ASSERT_TRUE(WriteSetting("MRU", "pcg", "/home/me/Triton/PRELOAD.PCG"));
    EXPECT_EQ(support::ReadFile(m_file),
              "[MRU]\r\nreport=/home/me/Reports/triton.htm\r\npcg=/home/me/Triton/PRELOAD.PCG\r\n");
    EXPECT_EQ(ReadSetting("MRU", "report", ""), "/home/me/Reports/triton.htm");
    EXPECT_EQ(ReadSetting("MRU", "pcg", ""), "/home/me/Triton/PRELOAD.PCG");

    // The next Generate writes both again, unchanged or not, in the same places.
    ASSERT_TRUE(WriteSetting("MRU", "report", "/home/me/Reports/triton.htm"));
    ASSERT_TRUE(WriteSetting("MRU", "pcg", "/home/me/Triton/other file.pcg"));
    EXPECT_EQ(support::ReadFile(m_file),
              "[MRU]\r\nreport=/home/me/Reports/triton.htm\r\npcg=/home/me/Triton/other "
              "file.pcg\r\n");
}

TEST_F(SettingsStore, TheTwoPathsAreStoredAsAPairOrNotAtAll) {
    ASSERT_TRUE(WriteSettings("MRU", {{"report", "/r/first.htm"}, {"pcg", "/p/first.pcg"}}));
    const std::string first = "[MRU]\r\nreport=/r/first.htm\r\npcg=/p/first.pcg\r\n";
    EXPECT_EQ(support::ReadFile(m_file), first);
    // A line break is legal in a file name but not in the file: neither path of this run is
    // stored, so the two that are stay a pair.
    EXPECT_FALSE(WriteSettings("MRU", {{"report", "/r/second.htm"}, {"pcg", "/p/two\nlines.pcg"}}));
    EXPECT_FALSE(WriteSettings("MRU", {{"report", "/r/cr\r.htm"}, {"pcg", "/p/second.pcg"}}));
    EXPECT_EQ(support::ReadFile(m_file), first);
}

TEST_F(SettingsStore, AnUnwritableProfileFailsQuietly) {
    ASSERT_EQ(mkdir(m_file.c_str(), 0700), 0);
    EXPECT_FALSE(WriteSetting("MRU", "report", "/tmp/r.htm"));
    EXPECT_EQ(ReadSetting("MRU", "report", ""), "");
}

}  // namespace
