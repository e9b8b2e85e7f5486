// SPDX-License-Identifier: MIT
// Reading and writing through the checked file wrappers.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/os/executable_path.h"
#include "platform/os/file_identity.h"
#include "platform/os/input_file.h"
#include "platform/os/path_names.h"
#include "support/temp_dir.h"

namespace {

TEST(ExecutablePath, NamesThisTestProgram) {
    const std::string path = os::ExecutablePath();
    EXPECT_EQ(path.front(), '/');
    EXPECT_EQ(std::filesystem::path(path).filename(), "platform_os_tests");
    EXPECT_EQ(os::DirectoryOf(path) + "platform_os_tests", path);
}

TEST(InputFile, ReadsAndSkipsAcrossItsBuffer) {
    support::TempDir dir;
    std::string bytes(300000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 7);
    }
    const auto path = dir.Write("data", bytes);

    os::InputFile file;
    ASSERT_TRUE(file.Open(path));
    EXPECT_EQ(file.SizeWhenOpened(), bytes.size());
    std::string head(10, '\0');
    EXPECT_EQ(file.Read(head.data(), head.size()), 10u);
    EXPECT_EQ(head, bytes.substr(0, 10));
    EXPECT_EQ(file.Skip(200000), 200000u);
    std::string middle(1000, '\0');
    EXPECT_EQ(file.Read(middle.data(), middle.size()), 1000u);
    EXPECT_EQ(middle, bytes.substr(200010, 1000));
    EXPECT_FALSE(file.Ended());
    EXPECT_EQ(file.Skip(1ull << 40), bytes.size() - 201010);
    EXPECT_TRUE(file.Ended());
    EXPECT_FALSE(file.Failed());
    EXPECT_EQ(file.Read(middle.data(), 1), 0u);
}

TEST(InputFile, RefusesWhatIsNotARegularFile) {
    support::TempDir dir;
    os::InputFile missing;
    EXPECT_FALSE(missing.Open(dir.Path("absent")));
    os::InputFile directory;
    EXPECT_FALSE(directory.Open(dir.path()));
    // A FIFO with no writer would block a plain open forever.
    const auto fifo = dir.Path("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    os::InputFile pipe;
    EXPECT_FALSE(pipe.Open(fifo));
}

TEST(FileIdentity, SeesThroughSpellingsAndLinks) {
    support::TempDir dir;
    const auto path = dir.Write("file", "x");
    const auto other = dir.Write("other", "x");
    ASSERT_EQ(symlink(path.c_str(), dir.Path("symlink").c_str()), 0);
    ASSERT_EQ(link(path.c_str(), dir.Path("hardlink").c_str()), 0);

    const auto identity = os::IdentityOf(path);
    ASSERT_TRUE(identity);
    EXPECT_EQ(os::IdentityOf(dir.path() + "/./file"), identity);
    EXPECT_EQ(os::IdentityOf(dir.Path("symlink")), identity);
    EXPECT_EQ(os::IdentityOf(dir.Path("hardlink")), identity);
    EXPECT_NE(os::IdentityOf(other), identity);
    EXPECT_FALSE(os::IdentityOf(dir.Path("absent")));
}

}  // namespace
