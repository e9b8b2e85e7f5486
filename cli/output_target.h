// SPDX-License-Identifier: MIT
// Where a table goes: standard output, or a file replaced whole or not at all.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os/file_commit.h"

class OutputTarget {
public:
    // Standard output, or `file` when given. False, with `why` the line to tell, when the
    // output is one of `inputs` (as cat refuses it: "A.PCG: input file is output file", the
    // input named), or `file` cannot be created; nothing is written then.
    bool Open(const std::optional<std::string>& file, const std::vector<std::string>& inputs,
              std::string& why);

    // Adds bytes; once writing has failed nothing more is tried.
    void Write(std::string_view bytes);

    // Ends the output: a file is put in place whole. False, with `why`, when writing failed
    // (empty for a reader of standard output that left, which wants no message).
    bool Close(std::string& why);

    // True once writing has failed: a caller stops making what nobody will read.
    bool Failed() const { return m_error != 0 || m_file.Error() != 0; }

private:
    std::optional<std::string> m_path;
    os::FileCommit m_file;
    int m_error = 0;  // standard output's
};
