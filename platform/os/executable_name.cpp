// SPDX-License-Identifier: MIT
#include "platform/os/executable_name.h"

namespace os {

namespace {

// Position of the "." that starts the file name's extension, or npos.
std::string::size_type ExtensionDot(const std::string& path) {
    const auto slash = path.rfind('/');
    const auto nameStart = slash == std::string::npos ? 0 : slash + 1;
    const auto dot = path.rfind('.');
    if (dot == std::string::npos || dot <= nameStart) {
        return std::string::npos;
    }
    return dot;
}

}  // namespace

std::string ExecutableName(const std::string& executablePath) {
    const auto slash = executablePath.rfind('/');
    const auto nameStart = slash == std::string::npos ? 0 : slash + 1;
    const auto dot = ExtensionDot(executablePath);
    const auto nameEnd = dot == std::string::npos ? executablePath.size() : dot;
    return executablePath.substr(nameStart, nameEnd - nameStart);
}

std::string WithExtension(const std::string& path, const std::string& extension) {
    const auto dot = ExtensionDot(path);
    return (dot == std::string::npos ? path : path.substr(0, dot)) + extension;
}

}  // namespace os
