// SPDX-License-Identifier: MIT
#include "platform/os/temporary_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <climits>
#include <csignal>
#include <string_view>

#include "platform/os/unique_fd.h"

namespace os {

namespace {

// The longest ".<pid>-<counter>-<clock>.tmp": ten digits each for the pid and the counter,
// twenty for the clock.
constexpr long kLongestSuffix = 1 + 10 + 1 + 10 + 1 + 20 + 4;
// Whatever a file system says, names of more bytes are not portable (vfat counts UTF-16 units).
constexpr long kLongestName = 255;

std::string ProcPath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The writer's process id when `entry` is exactly ".<stem>.<pid>-<counter>-<clock>.tmp", else 0.
pid_t TemporaryOwner(std::string_view entry, std::string_view stem) {
    const std::size_t prefix = stem.size() + 2;
    if (entry.size() < prefix + 4 || entry[0] != '.' || entry.substr(1, stem.size()) != stem ||
        entry[prefix - 1] != '.' || !entry.ends_with(".tmp")) {
        return 0;
    }
    const std::string_view fields = entry.substr(prefix, entry.size() - prefix - 4);
    // Three runs of digits joined by '-', and nothing else.
    std::size_t at = 0;
    std::size_t pidDigits = 0;
    for (int run = 0; run < 3; ++run) {
        if (run > 0 && (at == fields.size() || fields[at++] != '-')) {
            return 0;
        }
        const std::size_t start = at;
        while (at < fields.size() && IsDigit(fields[at])) {
            ++at;
        }
        if (at == start || at - start > 20) {
            return 0;
        }
        pidDigits = run == 0 ? at : pidDigits;
    }
    long long pid = 0;
    if (at != fields.size() || pidDigits > 10) {
        return 0;
    }
    std::from_chars(fields.data(), fields.data() + pidDigits, pid);
    return pid > 0 && pid <= INT_MAX ? static_cast<pid_t>(pid) : 0;
}

// Whether nobody holds the temporary `entry` of `folder`, a regular file, open as a writer.
bool Abandoned(int folder, const char* entry) {
    struct stat info {};
    if (fstatat(folder, entry, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    const UniqueFd file(
        openat(folder, entry, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    // One this user may not read is judged by its process alone.
    return !file || flock(file.get(), LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
}

}  // namespace

std::string TemporaryStem(int folder, const std::string& name) {
    long longest = fpathconf(folder, _PC_NAME_MAX);
    if (longest <= 0 || longest > kLongestName) {
        longest = kLongestName;
    }
    const long room = longest - 1 - kLongestSuffix;
    if (static_cast<long>(name.size()) <= room) {
        return name;
    }
    std::size_t cut = room > 0 ? static_cast<std::size_t>(room) : 0;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return name.substr(0, cut);
}

std::string TemporaryName(const std::string& stem) {
    static std::atomic<unsigned> counter{0};
    const auto now = std::chrono::system_clock::now().time_since_epoch().count();
    return "." + stem + "." + std::to_string(getpid()) + "-" +
           std::to_string(counter.fetch_add(1)) + "-" + std::to_string(now) + ".tmp";
}

void RemoveStaleTemporaries(int folder, const std::string& name) {
    const std::string stem = TemporaryStem(folder, name);
    // A listing of its own: the folder's descriptor keeps its offset for others.
    DIR* listing = fdopendir(openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!listing) {
        return;
    }
    const pid_t self = getpid();
    while (const dirent* entry = readdir(listing)) {
        pid_t owner = TemporaryOwner(entry->d_name, stem);
        if (owner == 0 && stem != name) {
            owner = TemporaryOwner(entry->d_name, name);
        }
        if (owner > 0 && owner != self && kill(owner, 0) != 0 && errno == ESRCH &&
            Abandoned(folder, entry->d_name)) {
            unlinkat(folder, entry->d_name, 0);
        }
    }
    closedir(listing);
}

void LockTemporary(int fd) {
    // Never waits: nobody else can have locked a file just made.
    static_cast<void>(flock(fd, LOCK_EX | LOCK_NB));
}

UnnamedLink HowToLinkUnnamed(int fd) {
    struct stat own {};
    struct stat seen {};
    if (fstat(fd, &own) == 0 && stat(ProcPath(fd).c_str(), &seen) == 0 &&
        seen.st_dev == own.st_dev && seen.st_ino == own.st_ino) {
        return UnnamedLink::ThroughProc;
    }
    // A link asked for into something that is not a folder (the file itself): a lack of rights
    // is told before the new name is looked at, so ENOTDIR means the link would be made.
    if (linkat(fd, "", fd, "probe", AT_EMPTY_PATH) != 0 && errno == ENOTDIR) {
        return UnnamedLink::ByDescriptor;
    }
    return UnnamedLink::None;
}

bool LinkUnnamed(int fd, UnnamedLink how, int folder, const std::string& name) {
    if (how == UnnamedLink::ThroughProc) {
        return linkat(AT_FDCWD, ProcPath(fd).c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
    }
    errno = ENOENT;
    return how == UnnamedLink::ByDescriptor &&
           linkat(fd, "", folder, name.c_str(), AT_EMPTY_PATH) == 0;
}

}  // namespace os
