// SPDX-License-Identifier: MIT
// A private temporary folder for one test, removed with everything in it afterwards.
#pragma once

#include <string>
#include <string_view>

namespace support {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }

    // The path of `name` inside the folder (nothing is created).
    std::string Path(std::string_view name) const;

    // Writes `bytes` to `name` inside the folder and returns its path.
    std::string Write(std::string_view name, std::string_view bytes) const;

private:
    std::string m_path;
};

// The whole content of a file; empty when it cannot be read.
std::string ReadFile(const std::string& path);

// True when the path leads to something (a file, a folder, a dangling link).
bool Exists(const std::string& path);

}  // namespace support
