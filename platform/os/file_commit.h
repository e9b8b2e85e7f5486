// SPDX-License-Identifier: MIT
// Writing a file so that it is replaced whole or not at all.
#pragma once

#include <sys/stat.h>

#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os/file_identity.h"
#include "platform/os/temporary_files.h"
#include "platform/os/unique_fd.h"

namespace os {

// A file's new content, written beside it and put in its place only when complete: synced to
// disk, closed, then renamed over the old file in one step, through a handle on its folder
// taken when writing began, so that a swapped folder or link cannot redirect it. Until then
// the old file stays exactly as it was; whatever fails (a full disk, a file-size limit, a
// signal, a crash) leaves it so, and leaves no new file behind. A power cut leaves the old
// content or the new, never an empty file.
//
// A symbolic link at the path is followed (ResolveEntry), so the file it points to is the one
// replaced and the link stays; a dangling link gets its target created. A replaced file keeps
// its group, ACL and permission bits (and, where the writer may, its owner and other extended
// attributes), or has its group's and others' bits narrowed: access never widens (CopyAccess);
// a new one gets 0666 less the umask. Any name the file system takes can be written. What
// cannot be replaced by a rename (a FIFO, a character device, or an unlinked file reached only
// through a link the kernel alone can follow, such as /proc/self/fd/N) is written straight,
// when the caller allows it; a regular file with a name never is, whatever happens to the
// path's folders meanwhile.
class FileCommit {
public:
    struct Options {
        // Files that must never be replaced or written, whatever the path leads to: the
        // inputs the new content is made from.
        std::vector<FileIdentity> keep;
        // More of them, in the caller's own set, which must outlive the commit: looked up,
        // never copied, however many there are.
        const FileIdentitySet* alsoKeep = nullptr;
        // Write FIFOs and character devices straight; otherwise they are refused.
        bool writeStreams = false;
        // Hold an advisory lock on the folder from Begin to the end, so that a second writer
        // that also asks for it waits rather than losing one of the two updates; one that
        // holds it longer than any write takes (kLockWaitMilliseconds) is given up on, and the
        // write goes on unlocked, as where the file system has no locks. Readers never wait on it.
        bool lockFolder = false;
        // Write into an unnamed file that gets a name only when complete, where the file system
        // offers that (else a named one is used). False always uses a named one.
        bool unnamedTemporary = true;
    };

    // The longest a lockFolder writer waits for another's lock.
    static constexpr int kLockWaitMilliseconds = 2000;

    FileCommit() = default;
    ~FileCommit();
    FileCommit(const FileCommit&) = delete;
    FileCommit& operator=(const FileCommit&) = delete;

    // Prepares to replace `path`. False, changing nothing, when its folder cannot be opened or
    // written, it names a folder, it leads to one of `keep`, it is a regular file this user may
    // not write, it is something else that cannot be written (refused streams, sockets, block
    // devices), or a FIFO with no reader (opening never waits). Temporaries of this file that
    // killed writers left are removed (RemoveStaleTemporaries) where they can arise: where the
    // new file is named from the start (file systems without unnamed files), and for
    // lockFolder writers.
    bool Begin(const std::string& path, const Options& options);

    // Prepares to write straight to the open descriptor `fd` (standard output, say), from where
    // it stands, never closing it. False when it is one of `keep`.
    bool BeginOn(int fd, const std::vector<FileIdentity>& keep);

    // The file's current content, read under the lock when there is one; empty when there is
    // no file yet. False when it cannot be read whole, or the content is going to a stream.
    bool ReadCurrent(std::string& content) const;

    // Adds bytes to the new content (buffered). False once anything has failed.
    bool Write(std::string_view bytes) {
        // A report comes in thousands of small pieces: those go straight into the buffer.
        if (bytes.size() < m_room && !m_failed) {
            std::memcpy(m_buffer.get() + m_used, bytes.data(), bytes.size());
            m_used += bytes.size();
            m_room -= bytes.size();
            return true;
        }
        return WriteBeyondBuffer(bytes);
    }

    // Puts the new content in place. False when anything failed on the way, or when something
    // that must not be replaced has appeared at the path since Begin; the old file is then as
    // it was. Bytes written to a stream cannot be taken back.
    bool Commit();

    // Why writing failed, from the last Begin on: the system's reason (errno) at the first step
    // that failed, or 0 when it was this class's own rule (an input, something other than a
    // regular file where one is replaced, a stream not asked for, something that appeared at
    // the path meanwhile).
    int Error() const { return m_error; }
    // The path the failure concerns: the one given to Begin, or where its links led.
    const std::string& ErrorPath() const { return m_errorPath; }

private:
    bool CreateTemporary(const struct stat* existing);
    bool OpenStream(int fd);
    bool WriteBeyondBuffer(std::string_view bytes);
    bool Flush();
    bool NameTemporary();
    bool PutInPlace();
    bool IsKept(const struct stat& info) const;
    // Records why writing failed (the first reason only) and returns false.
    bool Fail(int error);
    void Discard();

    Options m_options;
    UniqueFd m_folder;
    std::string m_name;
    std::string m_stem;  // the name as it stands in the temporaries' names
    UniqueFd m_file;
    UniqueFd m_lock;              // holds the temporary's lock until it is in place
    std::string m_temporaryName;  // empty while the new file has no name
    UnnamedLink m_link = UnnamedLink::None;
    bool m_stream = false;
    bool m_borrowed = false;  // the descriptor is the caller's: never closed here
    bool m_failed = false;
    int m_error = 0;
    std::string m_errorPath;
    std::unique_ptr<char[]> m_buffer;  // taken at the first write
    std::size_t m_used = 0;
    std::size_t m_room = 0;  // what the buffer has left; 0 until there is one
};

}  // namespace os
