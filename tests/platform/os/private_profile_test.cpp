// SPDX-License-Identifier: MIT
// The private-profile service on real files: what reads and writes do to the file system.
#include "platform/os/private_profile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "platform/os/file_commit.h"
#include "support/child_process.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace {

using support::ReadFile;

std::set<std::string> Entries(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

// True when permission bits do not stop this process (root): it can create a file in a
// folder it may only read.
bool PermissionsDoNotApply(const support::TempDir& dir) {
    const std::string folder = dir.Path("probe");
    mkdir(folder.c_str(), 0500);
    const std::string file = folder + "/file";
    const int fd = open(file.c_str(), O_WRONLY | O_CREAT, 0600);
    if (fd >= 0) {
        close(fd);
        unlink(file.c_str());
    }
    rmdir(folder.c_str());
    return fd >= 0;
}

// --- reading ------------------------------------------------------------------------------

TEST(ReadProfileString, MissingFileSectionOrKeyGivesTheDefaultAndCreatesNothing) {
    support::TempDir dir;
    const std::string inMissingFolder = dir.Path("config/Tabulon.INI");
    EXPECT_EQ(os::ReadProfileString(inMissingFolder, "MRU", "pcg", "default"), "default");
    EXPECT_EQ(os::ReadProfileString(dir.Path("Tabulon.INI"), "MRU", "pcg", ""), "");
    EXPECT_TRUE(Entries(dir.path()).empty());

    const auto path = dir.Write("Tabulon.INI", "[MRU]\r\nreport=r.htm\r\n");
    EXPECT_EQ(os::ReadProfileString(path, "MRU", "report", "d"), "r.htm");
    EXPECT_EQ(os::ReadProfileString(path, "MRU", "pcg", "d"), "d");
    EXPECT_EQ(os::ReadProfileString(path, "Other", "report", "d"), "d");
    // A folder, or anything else that is not a regular file, reads as a missing file.
    EXPECT_EQ(os::ReadProfileString(dir.path(), "MRU", "report", "d"), "d");
    EXPECT_EQ(os::ReadProfileString("/dev/null", "MRU", "report", "d"), "d");
}

TEST(ReadProfileString, CutsLongValuesTo4095Bytes) {
    support::TempDir dir;
    std::string value(5000, 'a');
    for (std::size_t i = 0; i < value.size(); ++i) {
        value[i] = static_cast<char>('a' + i % 26);
    }
    const auto path = dir.Path("Tabulon.INI");
    ASSERT_TRUE(os::WriteProfileString(path, "MRU", "pcg", value));
    ASSERT_TRUE(os::WriteProfileString(path, "MRU", "exact", value.substr(0, 4095)));
    // The write stores it whole; only the read is limited.
    EXPECT_EQ(ReadFile(path),
              "[MRU]\r\npcg=" + value + "\r\nexact=" + value.substr(0, 4095) + "\r\n");
    EXPECT_EQ(os::ReadProfileString(path, "MRU", "pcg", ""), value.substr(0, 4095));
    EXPECT_EQ(os::ReadProfileString(path, "MRU", "exact", ""), value.substr(0, 4095));
    // The cut applies to the value after its quotes are stripped.
    ASSERT_TRUE(os::WriteProfileString(path, "MRU", "spaced", " " + value));
    EXPECT_EQ(os::ReadProfileString(path, "MRU", "spaced", ""), " " + value.substr(0, 4094));
}

TEST(ReadProfileString, SurvivesBinaryGarbage) {
    support::TempDir dir;
    std::mt19937 random(20240501);
    std::string garbage(64 * 1024, '\0');
    for (auto& byte : garbage) {
        // Plenty of the bytes the parser looks for, and of NUL.
        static const char kInteresting[] = {'\0', '\n', '\r', '[', ']', '=', ';', '"', ' '};
        const auto pick = random() % 32;
        byte = pick < sizeof kInteresting ? kInteresting[pick] : static_cast<char>(random());
    }
    const auto path = dir.Write("Tabulon.INI", garbage);
    EXPECT_EQ(os::ReadProfileString(path, "MRU", "pcg", "d"), "d");
    ASSERT_TRUE(os::WriteProfileString(path, "MRU", "pcg", "a.pcg"));
    EXPECT_EQ(os::ReadProfileString(path, "MRU", "pcg", "d"), "a.pcg");
    const std::string after = ReadFile(path);
    ASSERT_GE(after.size(), garbage.size());
    EXPECT_EQ(after.substr(0, garbage.size()), garbage);
}

// --- writing ------------------------------------------------------------------------------

TEST(WriteProfileString, CreatesTheFileThenAddsAndReplacesKeys) {
    support::TempDir dir;
    const auto path = dir.Path("Tabulon.INI");
    ASSERT_TRUE(os::WriteProfileString(path, "MRU", "report", "/home/me/r.htm"));
    EXPECT_EQ(ReadFile(path), "[MRU]\r\nreport=/home/me/r.htm\r\n");
    ASSERT_TRUE(os::WriteProfileString(path, "MRU", "pcg", "/home/me/a.pcg"));
    EXPECT_EQ(ReadFile(path), "[MRU]\r\nreport=/home/me/r.htm\r\npcg=/home/me/a.pcg\r\n");
    ASSERT_TRUE(os::WriteProfileString(path, "mru", "REPORT", "/tmp/n.htm"));
    EXPECT_EQ(ReadFile(path), "[MRU]\r\nreport=/tmp/n.htm\r\npcg=/home/me/a.pcg\r\n");
    EXPECT_EQ(os::ReadProfileString(path, "Mru", "Report", ""), "/tmp/n.htm");
    // Nothing is left beside the file.
    EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"Tabulon.INI"});
}

TEST(WriteProfileString, CreatesMissingFoldersPrivately) {
    support::TempDir dir;
    const auto path = dir.Path("home/.config/Tabulon.INI");
    ASSERT_TRUE(os::WriteProfileString(path, "MRU", "pcg", "a"));
    EXPECT_EQ(ReadFile(path), "[MRU]\r\npcg=a\r\n");
    EXPECT_EQ(ModeOf(dir.Path("home")), 0700u);
    EXPECT_EQ(ModeOf(dir.Path("home/.config")), 0700u);

    // A file where a folder should be stops the write.
    dir.Write("file", "x");
    EXPECT_FALSE(os::WriteProfileString(dir.Path("file/sub/Tabulon.INI"), "MRU", "pcg", "a"));
    EXPECT_EQ(ReadFile(dir.Path("file")), "x");
}

TEST(WriteProfileString, RefusedWritesLeaveTheFileAlone) {
    support::TempDir dir;
    const std::string before = "[MRU]\nreport=r\n";
    const auto path = dir.Write("Tabulon.INI", before);
    // A line break in a value would read back as lines of its own.
    EXPECT_FALSE(os::WriteProfileString(path, "MRU", "report", "a\nb=c"));
    EXPECT_FALSE(os::WriteProfileString(path, "MRU", "report", "a\r\n[Evil]"));
    EXPECT_FALSE(os::WriteProfileString(path, "MRU", "a=b", "v"));
    EXPECT_FALSE(os::WriteProfileString(path, "", "pcg", "v"));
    EXPECT_FALSE(os::WriteProfileString("", "MRU", "pcg", "v"));
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"Tabulon.INI"});
}

TEST(WriteProfileString, FailsQuietlyWhenThePathIsAFolder) {
    support::TempDir dir;
    const auto path = dir.Path("Tabulon.INI");
    ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
    EXPECT_FALSE(os::WriteProfileString(path, "MRU", "pcg", "a"));
    EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"Tabulon.INI"});
    EXPECT_TRUE(Entries(path).empty());
}

TEST(WriteProfileString, FailsQuietlyInAReadOnlyFolder) {
    support::TempDir dir;
    if (PermissionsDoNotApply(dir)) {
        GTEST_SKIP() << "permission bits do not stop this user (root)";
    }
    const auto folder = dir.Path("config");
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    const std::string before = "[MRU]\nreport=r\n";
    dir.Write("config/Tabulon.INI", before);
    ASSERT_EQ(chmod(folder.c_str(), 0500), 0);
    EXPECT_FALSE(os::WriteProfileString(folder + "/Tabulon.INI", "MRU", "pcg", "a"));
    EXPECT_FALSE(os::WriteProfileString(folder + "/New.INI", "MRU", "pcg", "a"));
    EXPECT_EQ(ReadFile(folder + "/Tabulon.INI"), before);
    EXPECT_EQ(Entries(folder), std::set<std::string>{"Tabulon.INI"});
}

TEST(WriteProfileString, LeavesAReadOnlyFileAlone) {
    support::TempDir dir;
    if (PermissionsDoNotApply(dir)) {
        GTEST_SKIP() << "permission bits do not stop this user (root)";
    }
    const auto path = dir.Write("Tabulon.INI", "[MRU]\nreport=r\n");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_FALSE(os::WriteProfileString(path, "MRU", "report", "new"));
    EXPECT_EQ(ReadFile(path), "[MRU]\nreport=r\n");
}

TEST(WriteProfileString, AFullDiskLeavesTheOldFileWhole) {
    support::TempDir dir;
    const std::string before = "[MRU]\r\nreport=r\r\n";
    const auto path = dir.Write("Tabulon.INI", before);
    // A file-size limit makes the write fail part way, as a full disk does; it is set in a
    // child so that this process keeps its own limits.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64, 64};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(os::WriteProfileString(path, "MRU", "pcg", std::string(1000, 'p')) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write should have reported failure";
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"Tabulon.INI"});
}

TEST(WriteProfileString, KeepsTheFilesPermissionsAndSymbolicLinks) {
    support::TempDir dir;
    const auto target = dir.Write("dotfiles-Tabulon.INI", "[MRU]\nreport=r\n");
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    const auto link = dir.Path("Tabulon.INI");
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);

    ASSERT_TRUE(os::WriteProfileString(link, "MRU", "pcg", "a"));
    EXPECT_EQ(ReadFile(target), "[MRU]\nreport=r\npcg=a\r\n");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ModeOf(target), 0640u);

    // A link whose file does not exist yet gets it made, and stays a link.
    const auto dangling = dir.Path("Other.INI");
    ASSERT_EQ(symlink("kept/Other.INI", dangling.c_str()), 0);
    ASSERT_EQ(mkdir(dir.Path("kept").c_str(), 0700), 0);
    ASSERT_TRUE(os::WriteProfileString(dangling, "MRU", "pcg", "b"));
    EXPECT_EQ(ReadFile(dir.Path("kept/Other.INI")), "[MRU]\r\npcg=b\r\n");
    EXPECT_TRUE(std::filesystem::is_symlink(dangling));
}

TEST(WriteProfileString, StoresSeveralKeysInOneReplacementOrNone) {
    support::TempDir dir;
    const auto path = dir.Write("Tabulon.INI", "[MRU]\r\npcg=old.pcg\r\n");
    const os::ProfileSetting pair[] = {{"report", "r.htm"}, {"pcg", "a.pcg"}};
    ASSERT_TRUE(os::WriteProfileStrings(path, "MRU", pair));
    EXPECT_EQ(ReadFile(path), "[MRU]\r\npcg=a.pcg\r\nreport=r.htm\r\n");
    // A path the file cannot hold stops both.
    const os::ProfileSetting broken[] = {{"report", "new.htm"}, {"pcg", "line\nbreak.pcg"}};
    EXPECT_FALSE(os::WriteProfileStrings(path, "MRU", broken));
    EXPECT_EQ(ReadFile(path), "[MRU]\r\npcg=a.pcg\r\nreport=r.htm\r\n");
}

// Writers killed at any moment, and leftovers of earlier versions that were: the next write
// leaves nothing but the settings file, yet never takes a file a running writer still owns.
TEST(WriteProfileString, KilledWritersLeaveNothingBehind) {
    support::TempDir dir;
    const auto path = dir.Path("Tabulon.INI");
    std::mt19937 random(7);
    for (int kill = 0; kill < 40; ++kill) {
        const pid_t writer = fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            for (int i = 0;; ++i) {
                os::WriteProfileString(path, "MRU", "pcg", std::string(100000 + i, 'p'));
            }
        }
        usleep(std::uniform_int_distribution<useconds_t>(0, 3000)(random));
        ::kill(writer, SIGKILL);
        waitpid(writer, nullptr, 0);
    }
    const pid_t gone = fork();
    if (gone == 0) {
        _exit(0);
    }
    waitpid(gone, nullptr, 0);
    const std::string stale = ".Tabulon.INI." + std::to_string(gone) + "-0-1.tmp";
    const std::string running = ".Tabulon.INI." + std::to_string(getppid()) + "-0-1.tmp";
    // A user's file merely named like one stays too.
    const std::string lookalike = ".Tabulon.INI.20250101-backup.tmp";
    dir.Write(stale, "left by a writer that was killed");
    dir.Write(running, "still being written");
    dir.Write(lookalike, "a backup");

    ASSERT_TRUE(os::WriteProfileString(path, "MRU", "report", "r"));
    EXPECT_EQ(Entries(dir.path()), (std::set<std::string>{"Tabulon.INI", running, lookalike}));
    EXPECT_EQ(os::ReadProfileString(path, "MRU", "report", ""), "r");
    EXPECT_EQ(os::ReadProfileString(path, "MRU", "pcg", "").find_first_not_of('p'),
              std::string::npos);
}

// A second writer waits for the first one's lock and then adds to what the first wrote; a copy
// of the program that hangs while it holds the lock holds up another's write only so long, and
// the write then goes on whole, as where there are no locks.
TEST(WriteProfileString, WaitsForAnotherWritersLockOnlySoLong) {
    using Clock = std::chrono::steady_clock;
    using std::chrono::milliseconds;
    const milliseconds bound(os::FileCommit::kLockWaitMilliseconds);
    support::TempDir dir;
    const auto path = dir.Write("Tabulon.INI", "[MRU]\r\n");
    const int folder = open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(flock(folder, LOCK_EX), 0);
    Clock::time_point start = Clock::now();
    const pid_t second = fork();
    ASSERT_GE(second, 0);
    if (second == 0) {
        alarm(10);
        _exit(os::WriteProfileString(path, "MRU", "pcg", "a") ? 0 : 1);
    }
    std::this_thread::sleep_for(milliseconds(300));
    dir.Write("Tabulon.INI", "[MRU]\r\nreport=r\r\n");
    ASSERT_EQ(flock(folder, LOCK_UN), 0);
    int status = -1;
    ASSERT_EQ(waitpid(second, &status, 0), second);
    const Clock::duration waited = Clock::now() - start;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(ReadFile(path), "[MRU]\r\nreport=r\r\npcg=a\r\n");
    EXPECT_GE(waited, milliseconds(300));
    EXPECT_LT(waited, bound);

    ASSERT_EQ(flock(folder, LOCK_EX), 0);
    start = Clock::now();
    const auto result = support::RunInChild([&] {
        alarm(10);
        return os::WriteProfileString(path, "MRU", "pcg", "b") ? 0 : 1;
    });
    const Clock::duration held = Clock::now() - start;
    close(folder);
    EXPECT_EQ(result.exitCode, 0) << "ended by signal " << result.signal;
    EXPECT_EQ(ReadFile(path), "[MRU]\r\nreport=r\r\npcg=b\r\n");
    EXPECT_GE(held, bound);
    EXPECT_LT(held, bound + milliseconds(1000));
}

TEST(ProfileMemory, ReadingAndWritingTakeLessThanTwiceTheFile) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizers change what memory costs";
#endif
    support::TempDir dir;
    constexpr long kSizeKib = 8 * 1024;
    // A value costs most when it is the whole file (here of NUL bytes, made without taking
    // memory this process might lend its children): a read copies only what it returns.
    const auto one = dir.Write("One.INI", "[MRU]\nreport=");
    ASSERT_EQ(truncate(one.c_str(), kSizeKib * 1024), 0);
    EXPECT_LE(support::ExtraPeakKib([&] {
                  os::ReadProfileString(one, "MRU", "report", "");
                  return 0;
              }),
              kSizeKib * 3 / 2);
    // Lines cost most when they are shortest: a file of nothing but line ends.
    const auto path = dir.Write("Tabulon.INI", std::string(kSizeKib * 1024, '\n'));
    const long extra = support::ExtraPeakKib([&] {
        const bool read = os::ReadProfileString(path, "MRU", "report", "none") == "none" &&
                          os::ReadProfileString(path, "MRU", "pcg", "none") == "none";
        return read && os::WriteProfileString(path, "MRU", "pcg", "a") ? 0 : 1;
    });
    EXPECT_LE(extra, 2 * kSizeKib);
    EXPECT_EQ(os::ReadProfileString(path, "MRU", "pcg", ""), "a");
}

TEST(ProfileMemory, AFileLargerThanMemoryReadsAsNoneAndIsLeftAlone) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizers reserve address space of their own";
#endif
    support::TempDir dir;
    const auto path = dir.Write("Tabulon.INI", "[MRU]\r\npcg=a\r\n");
    constexpr off_t kSize = off_t{4} << 30;  // sparse: no disk space taken
    ASSERT_EQ(truncate(path.c_str(), kSize), 0);
    const auto result = support::RunInChild([&] {
        // Room for the program as it is, and a little more, but not for the file.
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t size = static_cast<rlim_t>(pages * sysconf(_SC_PAGESIZE) + (64 << 20));
        const rlimit limit{size, size};
        setrlimit(RLIMIT_AS, &limit);
        const bool none = os::ReadProfileString(path, "MRU", "pcg", "none") == "none";
        return none && !os::WriteProfileString(path, "MRU", "pcg", "b") ? 0 : 1;
    });
    EXPECT_EQ(result.exitCode, 0) << "ended by signal " << result.signal;
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_size, kSize);
    EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"Tabulon.INI"});
}

// Two programs writing the one file at once, each adding a key of its own with every write:
// every state a reader can see must parse, each key holding the value its writer wrote, and in
// the end no key of either writer may be missing (a lost update would drop one for good).
TEST(WriteProfileString, ConcurrentWritersNeitherTearTheFileNorLoseAnUpdate) {
    support::TempDir dir;
    const auto path = dir.Path("Tabulon.INI");
    constexpr int kWrites = 200;
    // Values change length so that a torn or interleaved file could not look whole.
    const auto valueFor = [](const std::string& key, int i) {
        return key + "-" + std::to_string(i) + "-" + std::string(static_cast<size_t>(i % 50), 'x');
    };
    const auto startWriter = [&](const std::string& key) {
        const pid_t pid = fork();
        if (pid == 0) {
            bool ok = true;
            for (int i = 0; i < kWrites; ++i) {
                ok = os::WriteProfileString(path, "MRU", key + std::to_string(i),
                                            valueFor(key, i)) &&
                     ok;
            }
            _exit(ok ? 0 : 1);
        }
        return pid;
    };
    const auto isWritten = [&](const std::string& key, const std::string& value) {
        for (const std::string writer : {"report", "pcg"}) {
            for (int i = 0; i < kWrites; ++i) {
                if (key == writer + std::to_string(i) && value == valueFor(writer, i)) {
                    return true;
                }
            }
        }
        return false;
    };
    // The whole file, checked line by line.
    const auto checkWhole = [&](const std::string& text) {
        if (text.empty()) {
            return;  // before the first write
        }
        ASSERT_TRUE(text.starts_with("[MRU]\r\n") && text.ends_with("\r\n")) << text;
        std::size_t begin = 7;
        while (begin < text.size()) {
            const auto end = text.find("\r\n", begin);
            const std::string line = text.substr(begin, end - begin);
            const auto equals = line.find('=');
            ASSERT_NE(equals, std::string::npos) << text;
            ASSERT_TRUE(isWritten(line.substr(0, equals), line.substr(equals + 1))) << text;
            begin = end + 2;
        }
    };

    const pid_t first = startWriter("report");
    ASSERT_GE(first, 0);
    const pid_t second = startWriter("pcg");
    ASSERT_GE(second, 0);
    int statusFirst = -1;
    int statusSecond = -1;
    while (statusFirst == -1 || statusSecond == -1) {
        checkWhole(ReadFile(path));
        const std::string report = os::ReadProfileString(path, "MRU", "report0", "");
        EXPECT_TRUE(report.empty() || isWritten("report0", report)) << report;
        if (statusFirst == -1 && waitpid(first, &statusFirst, WNOHANG) == 0) {
            statusFirst = -1;
        }
        if (statusSecond == -1 && waitpid(second, &statusSecond, WNOHANG) == 0) {
            statusSecond = -1;
        }
        if (HasFatalFailure()) {
            waitpid(first, nullptr, 0);
            waitpid(second, nullptr, 0);
            return;
        }
    }
    EXPECT_TRUE(WIFEXITED(statusFirst) && WEXITSTATUS(statusFirst) == 0);
    EXPECT_TRUE(WIFEXITED(statusSecond) && WEXITSTATUS(statusSecond) == 0);
    const std::string text = ReadFile(path);
    checkWhole(text);
    for (const std::string writer : {"report", "pcg"}) {
        for (int i = 0; i < kWrites; ++i) {
            EXPECT_EQ(os::ReadProfileString(path, "MRU", writer + std::to_string(i), ""),
                      valueFor(writer, i));
        }
    }
    EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"Tabulon.INI"});
}

// --- where the file lives -----------------------------------------------------------------

TEST(ProfilePath, FollowsXdgConfigHomeThenHome) {
    support::ScopedEnv home("HOME", "/home/me");
    {
        support::ScopedEnv config("XDG_CONFIG_HOME", "/cfg");
        EXPECT_EQ(os::ProfilePath("Tabulon.INI"), "/cfg/Tabulon.INI");
    }
    {
        support::ScopedEnv config("XDG_CONFIG_HOME", "/cfg/");
        EXPECT_EQ(os::ProfilePath("Tabulon.INI"), "/cfg/Tabulon.INI");
    }
    {
        support::ScopedEnv config("XDG_CONFIG_HOME", "");
        EXPECT_EQ(os::ProfilePath("Tabulon.INI"), "/home/me/.config/Tabulon.INI");
    }
    {
        // Relative paths are invalid there and are ignored.
        support::ScopedEnv config("XDG_CONFIG_HOME", "cfg");
        EXPECT_EQ(os::ProfilePath("Tabulon.INI"), "/home/me/.config/Tabulon.INI");
    }
    support::ScopedEnv config("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(os::ProfilePath("Tabulon.INI"), "/home/me/.config/Tabulon.INI");
}

TEST(ProfilePath, FallsBackToTheAccountsHome) {
    support::ScopedEnv config("XDG_CONFIG_HOME", std::nullopt);
    std::string expected;
    {
        struct passwd* entry = getpwuid(getuid());
        ASSERT_NE(entry, nullptr);
        expected = std::string(entry->pw_dir) + "/.config/Tabulon.INI";
    }
    {
        support::ScopedEnv home("HOME", std::nullopt);
        EXPECT_EQ(os::ProfilePath("Tabulon.INI"), expected);
    }
    support::ScopedEnv home("HOME", "");
    EXPECT_EQ(os::ProfilePath("Tabulon.INI"), expected);
}

}  // namespace
