// SPDX-License-Identifier: MIT
#include "cli/output_target.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "cli/quoted_name.h"
#include "platform/os/file_identity.h"
#include "platform/os/write_all.h"

bool OutputTarget::Open(const std::optional<std::string>& file,
                        const std::vector<std::string>& inputs, std::string& why) {
    m_path = file;
    const auto output =
        file ? os::IdentityOf(*file) : os::IdentityOfDescriptor(STDOUT_FILENO);
    std::vector<os::FileIdentity> kept;
    for (const std::string& input : inputs) {
        const auto identity = os::IdentityOf(input);
        if (identity && identity == output) {
            why = QuotedName(input) + ": input file is output file";
            return false;
        }
        if (identity) {
            kept.push_back(*identity);
        }
    }
    if (!file) {
        return true;
    }
    os::FileCommit::Options options;
    options.keep = std::move(kept);
    options.writeStreams = true;
    if (!m_file.Begin(*file, options)) {
        why = QuotedName(*file) + ": cannot write it" +
              (m_file.Error() != 0 ? std::string(": ") + std::strerror(m_file.Error())
                                   : std::string(": it is one of the inputs, or not a file"));
        return false;
    }
    return true;
}

void OutputTarget::Write(std::string_view bytes) {
    if (m_path) {
        m_file.Write(bytes);
    } else if (m_error == 0 && !os::WriteAll(STDOUT_FILENO, bytes)) {
        m_error = errno;
    }
}

bool OutputTarget::Close(std::string& why) {
    if (m_path) {
        if (m_file.Commit()) {
            return true;
        }
        why = QuotedName(m_file.ErrorPath()) + ": cannot write it" +
              (m_file.Error() != 0 ? std::string(": ") + std::strerror(m_file.Error())
                                   : std::string());
        return false;
    }
    if (m_error == 0) {
        return true;
    }
    // A reader that has left (head, say) wants nothing more, and no message either.
    why = m_error == EPIPE ? std::string() : std::string("write error: ") + std::strerror(m_error);
    return false;
}
