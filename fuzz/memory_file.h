// SPDX-License-Identifier: MIT
// A file that lives in memory, with a path the engine can open like any other.
#pragma once

#include <string>
#include <string_view>

namespace fuzz {

// An anonymous regular file (memfd) reached through "/proc/self/fd/N". It is created once and
// rewritten for every input, so a fuzzing run never touches the disk.
class MemoryFile {
public:
    // An empty file, or one holding `bytes`.
    explicit MemoryFile(const char* name, std::string_view bytes = {});
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    const std::string& path() const { return m_path; }

    // Makes the file hold exactly `bytes`.
    void Assign(std::string_view bytes);

    // The file's whole content as it is now.
    std::string Content() const;

private:
    int m_fd;
    std::string m_path;
};

}  // namespace fuzz
