// SPDX-License-Identifier: MIT
// Replacing files whole: what users rely on is kept, nothing is left half written or behind.
#include "platform/os/file_commit.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <future>
#include <set>
#include <string>
#include <thread>

#include "platform/os/file_identity.h"
#include "platform/os/write_signals.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace {

using support::ReadFile;

std::set<std::string> Entries(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename());
    }
    return names;
}

unsigned ModeOf(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// Both ways of writing the new file: unnamed until complete, and named from the start (as on
// file systems that offer no unnamed files).
class FileCommitTest : public ::testing::TestWithParam<bool> {
protected:
    os::FileCommit::Options Options() const {
        os::FileCommit::Options options;
        options.unnamedTemporary = GetParam();
        return options;
    }
    bool Replace(const std::string& path, std::string_view bytes) const {
        os::FileCommit file;
        return file.Begin(path, Options()) && file.Write(bytes) && file.Commit();
    }

    support::TempDir m_dir;
};

TEST_P(FileCommitTest, ReplacesWholeKeepingPermissionsAndLinks) {
    const auto real = m_dir.Write("real.htm", "old");
    ASSERT_EQ(chmod(real.c_str(), 0640), 0);
    ASSERT_EQ(symlink("real.htm", m_dir.Path("link.htm").c_str()), 0);
    ASSERT_EQ(symlink("made.htm", m_dir.Path("dangling.htm").c_str()), 0);

    EXPECT_TRUE(Replace(m_dir.Path("link.htm"), std::string(200000, 'n')));
    EXPECT_EQ(ReadFile(real), std::string(200000, 'n'));
    EXPECT_EQ(ModeOf(real), 0640u);
    EXPECT_TRUE(Replace(m_dir.Path("dangling.htm"), "made"));
    EXPECT_EQ(ReadFile(m_dir.Path("made.htm")), "made");
    const mode_t mask = umask(022);
    EXPECT_TRUE(Replace(m_dir.Path("new.htm"), ""));
    umask(mask);
    EXPECT_EQ(ModeOf(m_dir.Path("new.htm")), 0644u);

    EXPECT_TRUE(std::filesystem::is_symlink(m_dir.Path("link.htm")));
    EXPECT_TRUE(std::filesystem::is_symlink(m_dir.Path("dangling.htm")));
    EXPECT_EQ(Entries(m_dir.path()), (std::set<std::string>{"real.htm", "link.htm", "dangling.htm",
                                                            "made.htm", "new.htm"}));
}

TEST_P(FileCommitTest, AFailedWriteLeavesTheOldFileAndNothingElse) {
    const auto path = m_dir.Write("report.htm", "old report");
    // A file-size limit fails the write part way, as a full disk does; set in a child so that
    // this process keeps its limits.
    const auto result = support::RunInChild([&] {
        os::IgnoreWriteSignals();
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        os::FileCommit file;
        if (!file.Begin(path, Options())) {
            return 2;
        }
        file.Write(std::string(100000, 'x'));
        return file.Commit() ? 1 : 0;
    });
    EXPECT_EQ(result.exitCode, 0) << "signal " << result.signal;
    EXPECT_EQ(ReadFile(path), "old report");
    // Nor does one given up half way leave anything.
    {
        os::FileCommit file;
        ASSERT_TRUE(file.Begin(path, Options()));
        file.Write("abandoned");
    }
    EXPECT_EQ(ReadFile(path), "old report");
    EXPECT_EQ(Entries(m_dir.path()), std::set<std::string>{"report.htm"});
}

TEST_P(FileCommitTest, TheNewFileNeverHasMorePermissionsThanTheOld) {
    const auto path = m_dir.Write("Tabulon.INI", "secret");
    ASSERT_EQ(chmod(path.c_str(), 0600), 0);
    const mode_t mask = umask(0);
    os::FileCommit file;
    ASSERT_TRUE(file.Begin(path, Options()));
    file.Write(std::string(100000, 's'));
    for (const std::string& name : Entries(m_dir.path())) {
        EXPECT_EQ(ModeOf(m_dir.Path(name)), 0600u) << name;
    }
    EXPECT_TRUE(file.Commit());
    umask(mask);
    EXPECT_EQ(ModeOf(path), 0600u);
}

// The longest names, though a temporary's name is longer still; and what a writer killed half
// way left of such a file goes with the next write (only a named temporary can be left).
TEST_P(FileCommitTest, LongNamesAndTheTemporariesOfKilledWriters) {
    const std::string longest(255, 'n');
    const std::string name(250, 'r');
    EXPECT_TRUE(Replace(m_dir.Path(longest), "new"));
    const auto path = m_dir.Write(name, "old");
    const auto killed = support::RunInChild([&] {
        os::FileCommit file;
        return file.Begin(path, Options()) ? raise(SIGKILL) : 1;
    });
    EXPECT_EQ(killed.signal, SIGKILL);
    EXPECT_EQ(Entries(m_dir.path()).size(), GetParam() ? 2u : 3u);
    EXPECT_TRUE(Replace(path, "new"));
    EXPECT_EQ(Entries(m_dir.path()), (std::set<std::string>{longest, name}));
}

INSTANTIATE_TEST_SUITE_P(Temporaries, FileCommitTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Unnamed" : "Named"; });

// Pieces are gathered into whole buffers and large ones partly written straight: whatever
// their sizes, the bytes arrive once each and in order.
TEST(FileCommit, PiecesOfAnySizeArriveWholeAndInOrder) {
    support::TempDir dir;
    const auto report = dir.Write("report.htm", "old");
    std::string expected;
    os::FileCommit file;
    ASSERT_TRUE(file.Begin(report, {}));
    char fill = 'a';
    for (const std::size_t size : {1, 262143, 2, 0, 600000, 262144, 524288, 5}) {
        const std::string piece(size, fill++);
        expected += piece;
        ASSERT_TRUE(file.Write(piece));
    }
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(ReadFile(report), expected);
}

TEST(FileCommit, NeverWritesWhatItMustKeep) {
    support::TempDir dir;
    const auto input = dir.Write("in.pcg", "input");
    ASSERT_EQ(symlink(input.c_str(), dir.Path("link.htm").c_str()), 0);
    ASSERT_EQ(link(input.c_str(), dir.Path("hard.htm").c_str()), 0);
    os::FileCommit::Options options;
    options.keep = {*os::IdentityOf(input)};
    for (const char* name : {"in.pcg", "link.htm", "hard.htm"}) {
        os::FileCommit file;
        EXPECT_FALSE(file.Begin(dir.Path(name), options)) << name;
    }

    // The entry is looked at again right before the rename: one that turned into a link to an
    // input since writing began is left alone, and so is the input.
    const auto report = dir.Write("report.htm", "old");
    os::FileCommit file;
    ASSERT_TRUE(file.Begin(report, options));
    file.Write("new");
    ASSERT_EQ(unlink(report.c_str()), 0);
    ASSERT_EQ(symlink(input.c_str(), report.c_str()), 0);
    EXPECT_FALSE(file.Commit());
    EXPECT_EQ(ReadFile(input), "input");
    EXPECT_EQ(Entries(dir.path()),
              (std::set<std::string>{"in.pcg", "link.htm", "hard.htm", "report.htm"}));
}

TEST(FileCommit, WritesStreamsStraightAndRefusesWhatCannotBeWritten) {
    support::TempDir dir;
    os::FileCommit::Options streams;
    streams.writeStreams = true;
    const auto commit = [](const std::string& path, const os::FileCommit::Options& options) {
        os::FileCommit file;
        return file.Begin(path, options) && file.Write("bytes") && file.Commit();
    };
    EXPECT_TRUE(commit("/dev/null", streams));
    EXPECT_FALSE(commit("/dev/null", {}));
    EXPECT_FALSE(commit("/dev/full", streams));
    EXPECT_FALSE(commit(dir.path(), streams));
    EXPECT_FALSE(commit(dir.Path("no/such/folder/report.htm"), streams));
    EXPECT_FALSE(commit(dir.Path("folder/"), streams));
    // With the system's reason, for messages.
    os::FileCommit file;
    EXPECT_FALSE(file.Begin(dir.Path("no/such/folder/report.htm"), streams));
    EXPECT_EQ(file.Error(), ENOENT);
    EXPECT_FALSE(file.Begin("/dev/full", streams) && file.Write("bytes") && file.Commit());
    EXPECT_EQ(file.Error(), ENOSPC);

    // A FIFO with no reader is refused at once rather than waited on; with one, it gets the
    // bytes.
    const auto fifo = dir.Path("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(commit(fifo, streams));
    const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_TRUE(commit(fifo, streams));
    char got[16] = {};
    EXPECT_EQ(read(reader, got, sizeof got), 5);
    EXPECT_EQ(std::string(got), "bytes");
    close(reader);
}

// A folder on the path flipping between one without the file and one with it while writing
// begins: the file is replaced whole or left alone, never written in place, which its second
// name would show.
TEST(FileCommit, AFolderRaceNeverWritesAFileInPlace) {
    support::TempDir dir;
    ASSERT_TRUE(mkdir(dir.Path("empty").c_str(), 0700) == 0 &&
                mkdir(dir.Path("full").c_str(), 0700) == 0);
    const auto witness = dir.Write("witness", "old");
    std::atomic<bool> stop{false};
    std::thread flipper([&] {
        for (int i = 0; !stop; ++i) {
            if (symlink(i % 2 ? "full" : "empty", dir.Path("next").c_str()) == 0) {
                rename(dir.Path("next").c_str(), dir.Path("link").c_str());
            }
        }
    });
    os::FileCommit::Options streams;
    streams.writeStreams = true;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (int i = 0; i < 2000 && std::chrono::steady_clock::now() < deadline; ++i) {
        unlink(dir.Path("full/report.htm").c_str());
        EXPECT_EQ(link(witness.c_str(), dir.Path("full/report.htm").c_str()), 0);
        os::FileCommit file;
        static_cast<void>(file.Begin(dir.Path("link/report.htm"), streams) && file.Write("new") &&
                          file.Commit());
    }
    stop = true;
    flipper.join();
    EXPECT_EQ(ReadFile(witness), "old");
}

bool Commit(const std::string& path, std::string_view bytes) {
    os::FileCommit file;
    return file.Begin(path, {}) && file.Write(bytes) && file.Commit();
}

// Chroots and small containers may have no /proc: writing works all the same, for root and for
// others (whom older kernels do not let name an unnamed file by its descriptor).
TEST(FileCommit, WritesWithoutProc) {
    support::TempDir dir;
    const auto report = dir.Write("report.htm", "old");
    const auto result = support::RunInChild([&] {
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, 0) ||
            mount("none", "/proc", "tmpfs", 0, nullptr) != 0) {
            return 77;
        }
        return Commit(report, "root") && chmod(dir.path().c_str(), 0777) == 0 &&
                       setgid(65534) == 0 && setuid(65534) == 0 &&
                       Commit(dir.Path("user.htm"), "user")
                   ? 0
                   : 1;
    });
    if (result.exitCode == 77) {
        GTEST_SKIP() << "cannot hide /proc in a mount namespace of its own (needs root)";
    }
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(ReadFile(report) + ReadFile(dir.Path("user.htm")), "rootuser");
    EXPECT_EQ(Entries(dir.path()), (std::set<std::string>{"report.htm", "user.htm"}));
}

// Owner, group, permission bits and extended attributes.
std::string AccessOf(const std::string& path) {
    struct stat info {};
    char text[4096] = {};
    stat(path.c_str(), &info);
    int at = std::snprintf(text, sizeof text, "%u:%u %o", info.st_uid, info.st_gid,
                           info.st_mode & 07777);
    for (const char* name : {"system.posix_acl_access", "user.origin"}) {
        at += std::max(0, static_cast<int>(getxattr(path.c_str(), name, text + at, 256)));
    }
    return std::string(text, static_cast<std::size_t>(at));
}

// A replaced file keeps its group in a folder whose set-group-ID bit gives new files another,
// and its ACL and other attributes; where the group cannot be kept, access is narrowed.
TEST(FileCommit, KeepsTheGroupAndTheAclOrNarrows) {
    support::TempDir dir;
    const std::string folder = dir.Path("shared");
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root, to give files their owners";
    }
    ASSERT_TRUE(mkdir(folder.c_str(), 0) == 0 && chown(folder.c_str(), 0, 1001) == 0 &&
                chmod(folder.c_str(), 02777) == 0 && chmod(dir.path().c_str(), 0755) == 0);
    const auto own = dir.Write("shared/own.htm", "old");
    const auto user = dir.Write("shared/user.htm", "old");
    const auto other = dir.Write("shared/other.htm", "old");
    ASSERT_TRUE(chown(own.c_str(), 0, 0) == 0 && chown(user.c_str(), 1000, 1000) == 0 &&
                chown(other.c_str(), 1000, 1002) == 0 && chmod(user.c_str(), 0640) == 0 &&
                chmod(other.c_str(), 0640) == 0);
    if (system(("setfacl -m u:1002:rw,g::r,o::- " + own).c_str()) != 0 ||
        setxattr(own.c_str(), "user.origin", "A.PCG", 5, 0) != 0) {
        GTEST_SKIP() << "no setfacl, or no ACLs or extended attributes here";
    }
    const std::string before = AccessOf(own);

    EXPECT_TRUE(Commit(own, "new"));
    const auto asUser = support::RunInChild([&] {
        const gid_t groups[] = {1000};
        return setgroups(1, groups) == 0 && setgid(1000) == 0 && setuid(1000) == 0 &&
                       Commit(user, "new") && Commit(other, "new")
                   ? 0
                   : 1;
    });
    EXPECT_EQ(asUser.exitCode, 0);
    EXPECT_EQ(AccessOf(own), before);
    EXPECT_TRUE(before.starts_with("0:0 660") && before.ends_with("A.PCG")) << before;
    EXPECT_EQ(AccessOf(user), "1000:1000 640");
    // A group the user is not in cannot be kept: neither group may read.
    EXPECT_EQ(AccessOf(other), "1000:1001 600");
}

}  // namespace
