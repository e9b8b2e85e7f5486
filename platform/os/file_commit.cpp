// SPDX-License-Identifier: MIT
#include "platform/os/file_commit.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/os/file_access.h"
#include "platform/os/input_file.h"
#include "platform/os/resolved_entry.h"
#include "platform/os/write_all.h"

namespace os {

namespace {

// Written out only in whole buffers, each at a multiple of its size: file systems take
// page-aligned writes of this size at a fraction of the cost of as many bytes in odd pieces.
constexpr std::size_t kBufferSize = 256 * 1024;
constexpr int kAttempts = 100;

bool ClearNonBlocking(int fd) {
    const int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

// Takes the folder's lock, waiting at most `wait` for another holder; false when it could not.
// flock has no time limit of its own, so the lock is asked for without waiting until the
// deadline, at pauses short enough that a lock let go is soon taken and growing so that a
// long wait costs few calls.
bool LockWithin(int folder, std::chrono::milliseconds wait) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + wait;
    std::chrono::milliseconds pause(2);
    while (flock(folder, LOCK_EX | LOCK_NB) != 0) {
        const Clock::time_point now = Clock::now();
        if (errno != EWOULDBLOCK || now >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, std::chrono::milliseconds(40));
    }
    return true;
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
    m_errorPath = path;
    auto entry = ResolveEntry(path);
    if (!entry) {
        return Fail(errno);
    }
    m_folder = std::move(entry->folder);
    m_name = std::move(entry->name);
    m_errorPath = std::move(entry->path);
    m_stem = TemporaryStem(m_folder.get(), m_name);
    if (m_options.lockFolder) {
        // Where the file system cannot lock (some network ones), or a writer keeps the lock far
        // beyond any write (a copy that hangs), writing goes on unlocked: still whole.
        LockWithin(m_folder.get(), std::chrono::milliseconds(kLockWaitMilliseconds));
    }

    struct stat info {};
    if (fstatat(m_folder.get(), m_name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISREG(info.st_mode)) {
            if (IsKept(info)) {
                return Fail(0);
            }
            if (faccessat(m_folder.get(), m_name.c_str(), W_OK, AT_EACCESS) != 0) {
                return Fail(errno);
            }
            return CreateTemporary(&info);
        }
        if ((S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)) && m_options.writeStreams) {
            return OpenStream(openat(m_folder.get(), m_name.c_str(),
                                     O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
        }
        return Fail(S_ISDIR(info.st_mode) ? EISDIR : 0);
    }
    if (errno != ENOENT) {
        return Fail(errno);
    }
    // Nothing there for us, yet the kernel finds something: the path goes through a link only
    // it can follow (/proc/self/fd/N, /dev/stdout). Such a file cannot be replaced by a rename,
    // and the path, looked up again, may by now lead through other folders: only a stream is
    // written that way (OpenStream).
    struct stat seen {};
    if (stat(path.c_str(), &seen) == 0) {
        if (!m_options.writeStreams || (S_ISREG(seen.st_mode) && seen.st_nlink > 0)) {
            return Fail(0);
        }
        return OpenStream(open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    }
    return CreateTemporary(nullptr);
}

bool FileCommit::BeginOn(int fd, const std::vector<FileIdentity>& keep) {
    Discard();
    m_options = Options{};
    m_options.keep = keep;
    m_failed = false;
    m_error = 0;
    m_errorPath.clear();
    struct stat info {};
    if (fd < 0 || fstat(fd, &info) != 0) {
        return Fail(fd < 0 ? EBADF : errno);
    }
    if (IsKept(info)) {
        return Fail(0);
    }
    m_file.Reset(fd);
    m_stream = true;
    m_borrowed = true;
    return true;
}

bool FileCommit::CreateTemporary(const struct stat* existing) {
    // Created with no more permissions than the file will have, so its content is never
    // readable by anyone the old file kept out; a replacement only for its owner until it has
    // the old file's group and ACL (in a folder with the set-group-ID bit it starts in the
    // folder's group).
    const mode_t mode = existing ? existing->st_mode & 0700 : 0666;
    if (m_options.unnamedTemporary) {
        m_file.Reset(openat(m_folder.get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
        // Any other failure is not a lack of unnamed files: a named one would fail alike.
        if (!m_file && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            return Fail(errno);
        }
        // Without /proc, and without the right to name it by its descriptor, it never could be.
        m_link = m_file ? HowToLinkUnnamed(m_file.get()) : UnnamedLink::None;
        if (m_link == UnnamedLink::None) {
            m_file.Reset();
        }
    }
    for (int attempt = 0; !m_file && attempt < kAttempts; ++attempt) {
        const std::string name = TemporaryName(m_stem);
        m_file.Reset(
            openat(m_folder.get(), name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        if (m_file) {
            m_temporaryName = name;
        } else if (errno != EEXIST) {
            return Fail(errno);
        }
    }
    if (!m_file) {
        return Fail(EEXIST);
    }
    LockTemporary(m_file.get());
    m_lock.Reset(dup(m_file.get()));
    if (existing) {
        UniqueFd old(openat(m_folder.get(), m_name.c_str(),
                            O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat info {};
        const bool same = old && fstat(old.get(), &info) == 0 && info.st_dev == existing->st_dev &&
                          info.st_ino == existing->st_ino;
        if (!CopyAccess(same ? old.get() : -1, *existing, m_file.get())) {
            return Fail(errno);
        }
    }
    // Leftovers of killed writers: only where they can arise (a temporary with a name from the
    // start, as on file systems without unnamed files) or under the lock, so that writing many
    // reports into one folder never lists it for each.
    if (!m_temporaryName.empty() || m_options.lockFolder) {
        RemoveStaleTemporaries(m_folder.get(), m_name);
    }
    return true;
}

bool FileCommit::OpenStream(int fd) {
    m_file.Reset(fd);
    struct stat info {};
    if (!m_file || fstat(m_file.get(), &info) != 0) {
        return Fail(errno);
    }
    // A regular file that has a name is only ever replaced: one reached here was swapped in
    // since it was looked at. An unlinked one (/proc/self/fd/N of a deleted file) cannot be.
    const bool stream = S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode) ||
                        (S_ISREG(info.st_mode) && info.st_nlink == 0);
    if (!stream || IsKept(info)) {
        return Fail(S_ISDIR(info.st_mode) ? EISDIR : 0);
    }
    // Opened without waiting for a FIFO's reader; from here on, writes may wait for it.
    if (!ClearNonBlocking(m_file.get()) ||
        (S_ISREG(info.st_mode) && ftruncate(m_file.get(), 0) != 0)) {
        return Fail(errno);
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

bool FileCommit::WriteBeyondBuffer(std::string_view bytes) {
    if (m_failed || !m_file) {
        return Fail(EBADF);
    }
    if (!m_buffer) {
        m_buffer.reset(new char[kBufferSize]);
        m_used = 0;
    }
    if (m_used > 0) {
        const std::size_t take = std::min(bytes.size(), kBufferSize - m_used);
        std::memcpy(m_buffer.get() + m_used, bytes.data(), take);
        m_used += take;
        bytes.remove_prefix(take);
        if (m_used == kBufferSize && !Flush()) {
            return false;
        }
    }
    const std::size_t whole = bytes.size() - bytes.size() % kBufferSize;
    if (whole > 0 && !WriteAll(m_file.get(), bytes.substr(0, whole))) {
        return Fail(errno);
    }
    bytes.remove_prefix(whole);
    std::memcpy(m_buffer.get() + m_used, bytes.data(), bytes.size());
    m_used += bytes.size();
    m_room = kBufferSize - m_used;
    return true;
}

bool FileCommit::Flush() {
    if (!m_failed && m_used > 0 && !WriteAll(m_file.get(), {m_buffer.get(), m_used})) {
        Fail(errno);
    }
    m_used = 0;
    m_room = m_buffer ? kBufferSize : 0;
    return !m_failed;
}

bool FileCommit::Commit() {
    if (!m_file) {
        Fail(EBADF);
    }
    if (m_failed || !Flush()) {
        Discard();
        return false;
    }
    if (m_stream) {
        const int fd = m_file.Release();
        const bool closed = m_borrowed || close(fd) == 0 || Fail(errno);
        Discard();
        return closed;
    }
    // Synced and closed before it takes the old file's place: close is where some file
    // systems first report that the data did not arrive.
    bool done = (fsync(m_file.get()) == 0 || Fail(errno)) && NameTemporary();
    done = (close(m_file.Release()) == 0 || Fail(errno)) && done && PutInPlace();
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
        const std::string name = TemporaryName(m_stem);
        if (LinkUnnamed(m_file.get(), m_link, m_folder.get(), name)) {
            m_temporaryName = name;
        } else if (errno != EEXIST) {
            return Fail(errno);
        }
    }
    return !m_temporaryName.empty() || Fail(EEXIST);
}

bool FileCommit::PutInPlace() {
    const int folder = m_folder.get();
    const char* temporary = m_temporaryName.c_str();
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        // Looked at once more right before the rename: the entry may have changed since Begin.
        struct stat info {};
        if (fstatat(folder, m_name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
            if (!S_ISREG(info.st_mode) || IsKept(info)) {
                return Fail(0);
            }
            return renameat(folder, temporary, folder, m_name.c_str()) == 0 || Fail(errno);
        }
        if (errno != ENOENT) {
            return Fail(errno);
        }
        // Nothing there: take the place only if it is still free.
        if (renameat2(folder, temporary, folder, m_name.c_str(), RENAME_NOREPLACE) == 0) {
            return true;
        }
        if (errno == EINVAL || errno == ENOSYS) {
            return renameat(folder, temporary, folder, m_name.c_str()) == 0 || Fail(errno);
        }
        if (errno != EEXIST) {
            return Fail(errno);
        }
    }
    return Fail(EEXIST);
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

bool FileCommit::Fail(int error) {
    if (!m_failed) {
        m_failed = true;
        m_error = error;
    }
    return false;
}

void FileCommit::Discard() {
    if (m_borrowed) {
        static_cast<void>(m_file.Release());
        m_borrowed = false;
    }
    m_file.Reset();
    if (!m_temporaryName.empty() && m_folder) {
        unlinkat(m_folder.get(), m_temporaryName.c_str(), 0);
    }
    m_temporaryName.clear();
    // Only now that its temporary is in place or gone may others take it for abandoned.
    m_lock.Reset();
    m_link = UnnamedLink::None;
    m_buffer.reset();
    m_used = m_room = 0;
    m_stream = false;
    // Closing the folder also releases its lock.
    m_folder.Reset();
}

}  // namespace os
