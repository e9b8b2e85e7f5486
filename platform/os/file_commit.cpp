// SPDX-License-Identifier: MIT
#include "platform/os/file_commit.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>

#include "platform/os/input_file.h"
#include "platform/os/resolved_entry.h"
#include "platform/os/write_all.h"

namespace os {

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr int kAttempts = 100;

// ".<name>.<pid>-<counter>-<clock>.tmp": unique among processes and threads now, and the
// process id says whose it is, so that leftovers of a killed writer can be told apart.
std::string TemporaryName(const std::string& name) {
    static std::atomic<unsigned> counter{0};
    const auto now = std::chrono::system_clock::now().time_since_epoch().count();
    return "." + name + "." + std::to_string(getpid()) + "-" +
           std::to_string(counter.fetch_add(1)) + "-" + std::to_string(now) + ".tmp";
}

// The writer's process id in a temporary name of `name`'s, else 0.
pid_t TemporaryOwner(std::string_view entry, const std::string& name) {
    const std::string prefix = "." + name + ".";
    if (!entry.starts_with(prefix) || !entry.ends_with(".tmp")) {
        return 0;
    }
    entry.remove_prefix(prefix.size());
    long pid = 0;
    std::size_t digits = 0;
    while (digits < entry.size() && entry[digits] >= '0' && entry[digits] <= '9' && pid < 1 << 30) {
        pid = pid * 10 + (entry[digits++] - '0');
    }
    return digits > 0 && digits < entry.size() && entry[digits] == '-' ? static_cast<pid_t>(pid)
                                                                       : 0;
}

bool ClearNonBlocking(int fd) {
    const int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

}  // namespace

FileCommit::~FileCommit() {
    Discard();
}

bool FileCommit::Begin(const std::string& path, const Options& options) {
    Discard();
    m_options = options;
    m_failed = false;
    m_error = 0;
    auto entry = ResolveEntry(path);
    if (!entry) {
        return false;
    }
    m_folder = std::move(entry->folder);
    m_name = std::move(entry->name);
    if (m_options.lockFolder) {
        // Where the file system cannot lock (some network ones), writing goes on unlocked.
        while (flock(m_folder.get(), LOCK_EX) != 0 && errno == EINTR) {
        }
        RemoveStaleTemporaries();
    }

    errno = 0;  // what the look-ups so far left is no reason for what follows
    struct stat info {};
    if (fstatat(m_folder.get(), m_name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISREG(info.st_mode)) {
            if (IsKept(info) || faccessat(m_folder.get(), m_name.c_str(), W_OK, AT_EACCESS) != 0) {
                return false;
            }
            return CreateTemporary(info.st_mode & 0777, &info);
        }
        if ((S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)) && m_options.writeStreams) {
            return OpenStream(openat(m_folder.get(), m_name.c_str(),
                                     O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
        }
        errno = S_ISDIR(info.st_mode) ? EISDIR : 0;
        return false;
    }
    if (errno != ENOENT) {
        return false;
    }
    // Nothing there for us, yet the kernel finds something: the path goes through a link only
    // it can follow (/proc/self/fd/N, /dev/stdout). Such a file cannot be replaced by a rename.
    struct stat seen {};
    if (stat(path.c_str(), &seen) == 0) {
        return m_options.writeStreams &&
               OpenStream(open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    }
    return CreateTemporary(0666, nullptr);
}

bool FileCommit::BeginOn(int fd, const std::vector<FileIdentity>& keep) {
    Discard();
    m_options = Options{};
    m_options.keep = keep;
    m_failed = false;
    m_error = 0;
    errno = fd < 0 ? EBADF : 0;
    struct stat info {};
    if (fd < 0 || fstat(fd, &info) != 0 || IsKept(info)) {
        return false;
    }
    m_file.Reset(fd);
    m_stream = true;
    m_borrowed = true;
    return true;
}

bool FileCommit::CreateTemporary(unsigned mode, const struct stat* existing) {
    // Created with no more permissions than the file will have, so its content is never
    // readable by anyone the old file kept out.
    if (m_options.unnamedTemporary) {
        m_file.Reset(openat(m_folder.get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
        // Any other failure is not a lack of unnamed files: a named one would fail alike.
        if (!m_file && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            return false;
        }
    }
    for (int attempt = 0; !m_file && attempt < kAttempts; ++attempt) {
        const std::string name = TemporaryName(m_name);
        m_file.Reset(
            openat(m_folder.get(), name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        if (m_file) {
            m_temporaryName = name;
        } else if (errno != EEXIST) {
            return false;
        }
    }
    if (!m_file) {
        return false;
    }
    if (existing) {
        // The umask may have narrowed the bits; the owner may differ when, say, root writes a
        // user's file. Changing the owner is only possible for some, so it is only tried.
        const bool owned = existing->st_uid == geteuid() && existing->st_gid == getegid();
        if (!owned && fchown(m_file.get(), existing->st_uid, existing->st_gid) != 0 &&
            fchown(m_file.get(), static_cast<uid_t>(-1), existing->st_gid) != 0) {
            // Not even the group could be kept: the file stays this writer's.
        }
        if (fchmod(m_file.get(), mode) != 0) {
            Discard();
            return false;
        }
    }
    return true;
}

bool FileCommit::OpenStream(int fd) {
    m_file.Reset(fd);
    struct stat info {};
    if (!m_file || fstat(m_file.get(), &info) != 0 || IsKept(info)) {
        m_file.Reset();
        return false;
    }
    // Opened without waiting for a FIFO's reader; from here on, writes may wait for it.
    if (!ClearNonBlocking(m_file.get())) {
        m_file.Reset();
        return false;
    }
    if (S_ISREG(info.st_mode) && ftruncate(m_file.get(), 0) != 0) {
        m_file.Reset();
        return false;
    }
    m_stream = true;
    return true;
}

bool FileCommit::ReadCurrent(std::string& content) const {
    content.clear();
    if (!m_folder || m_stream) {
        return false;
    }
    InputFile file;
    if (!file.OpenAt(m_folder.get(), m_name)) {
        struct stat info {};
        return fstatat(m_folder.get(), m_name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 &&
               errno == ENOENT;
    }
    return file.ReadRest(content);
}

bool FileCommit::Write(std::string_view bytes) {
    if (m_failed || !m_file) {
        m_failed = true;
        return false;
    }
    if (m_buffer.size() + bytes.size() > kBufferSize) {
        if (!Flush()) {
            return false;
        }
        if (bytes.size() >= kBufferSize) {
            m_failed = !WriteAll(m_file.get(), bytes);
            m_error = m_failed ? errno : 0;
            return !m_failed;
        }
    }
    if (m_buffer.capacity() < kBufferSize) {
        m_buffer.reserve(kBufferSize);
    }
    m_buffer.append(bytes);
    return true;
}

bool FileCommit::Flush() {
    if (!m_failed && !WriteAll(m_file.get(), m_buffer)) {
        m_failed = true;
        m_error = errno;
    }
    m_buffer.clear();
    return !m_failed;
}

bool FileCommit::Commit() {
    errno = 0;
    if (m_failed || !m_file || !Flush()) {
        Discard();
        errno = m_error;
        return false;
    }
    if (m_stream) {
        const int fd = m_file.Release();
        const bool closed = m_borrowed || close(fd) == 0;
        Discard();
        return closed;
    }
    // Synced and closed before it takes the old file's place: close is where some file
    // systems first report that the data did not arrive.
    bool done = fsync(m_file.get()) == 0 && NameTemporary();
    done = close(m_file.Release()) == 0 && done && PutInPlace();
    if (done) {
        // The folder is not synced as well: that would make the rename itself survive a power
        // cut at twice the cost, and without it a cut leaves the old file or the new one all
        // the same, never a mix.
        m_temporaryName.clear();
    }
    Discard();
    return done;
}

bool FileCommit::NameTemporary() {
    for (int attempt = 0; m_temporaryName.empty() && attempt < kAttempts; ++attempt) {
        const std::string name = TemporaryName(m_name);
        const std::string self = "/proc/self/fd/" + std::to_string(m_file.get());
        if (linkat(AT_FDCWD, self.c_str(), m_folder.get(), name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            m_temporaryName = name;
        } else if (errno != EEXIST) {
            return false;
        }
    }
    return !m_temporaryName.empty();
}

bool FileCommit::PutInPlace() {
    const int folder = m_folder.get();
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        // Looked at once more right before the rename: the entry may have changed since Begin.
        struct stat info {};
        if (fstatat(folder, m_name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
            if (!S_ISREG(info.st_mode) || IsKept(info)) {
                return false;
            }
            return renameat(folder, m_temporaryName.c_str(), folder, m_name.c_str()) == 0;
        }
        if (errno != ENOENT) {
            return false;
        }
        // Nothing there: take the place only if it is still free.
        if (renameat2(folder, m_temporaryName.c_str(), folder, m_name.c_str(), RENAME_NOREPLACE) ==
            0) {
            return true;
        }
        if (errno == EINVAL || errno == ENOSYS) {
            return renameat(folder, m_temporaryName.c_str(), folder, m_name.c_str()) == 0;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    return false;
}

bool FileCommit::IsKept(const struct stat& info) const {
    const FileIdentity identity{static_cast<std::uint64_t>(info.st_dev),
                                static_cast<std::uint64_t>(info.st_ino)};
    if (m_options.alsoKeep && m_options.alsoKeep->contains(identity)) {
        return true;
    }
    for (const FileIdentity& kept : m_options.keep) {
        if (kept == identity) {
            return true;
        }
    }
    return false;
}

void FileCommit::RemoveStaleTemporaries() const {
    DIR* listing = fdopendir(dup(m_folder.get()));
    if (!listing) {
        return;
    }
    while (const dirent* entry = readdir(listing)) {
        const pid_t owner = TemporaryOwner(entry->d_name, m_name);
        // Whoever holds the lock is the only writer now; one whose process is gone was killed.
        if (owner > 0 && owner != getpid() && kill(owner, 0) != 0 && errno == ESRCH) {
            unlinkat(m_folder.get(), entry->d_name, 0);
        }
    }
    closedir(listing);
}

void FileCommit::Discard() {
    const int error = errno;  // the reason for a failure, which clean-up must not change
    if (m_borrowed) {
        static_cast<void>(m_file.Release());
        m_borrowed = false;
    }
    m_file.Reset();
    if (!m_temporaryName.empty() && m_folder) {
        unlinkat(m_folder.get(), m_temporaryName.c_str(), 0);
    }
    m_temporaryName.clear();
    m_buffer = std::string();
    m_stream = false;
    // Closing the folder also releases its lock.
    m_folder.Reset();
    errno = error;
}

}  // namespace os
