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

TEST_F(SettingsStore, AnUnwritableProfileFailsQuietly) {
    ASSERT_EQ(mkdir(m_file.c_str(), 0700), 0);
    EXPECT_FALSE(WriteSetting("MRU", "report", "/tmp/r.htm"));
    EXPECT_EQ(ReadSetting("MRU", "report", ""), "");
}

}  // namespace
