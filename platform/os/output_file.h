// SPDX-License-Identifier: MIT
// Writing a file whose every step is checked.
#pragma once

#include <cstddef>
#include <string>

namespace os {

// A file created (or emptied) for writing; closed when the object goes if Close was not called.
class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the file, or empties an existing one. Never waits: a FIFO with no reader behind
    // it is refused rather than waited on.
    bool Create(const std::string& path);

    // Writes all the bytes; false if any could not be written (a full disk, an I/O error).
    bool Write(const char* data, std::size_t size);

    // Closes the file; false if the close reports an error, which for some file systems is the
    // first sign that the data did not reach the disk.
    bool Close();

private:
    int m_fd = -1;
};

}  // namespace os
