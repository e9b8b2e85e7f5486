// SPDX-License-Identifier: MIT
// Arbitrary settings files: reading never fails, a write reads back as written, leaves every
// other value as it was, and writing the same value twice changes nothing more.
#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/os/private_profile.h"
#include "platform/os/profile_text.h"
#include "support/temp_dir.h"

namespace {

// White space as the profile rules see it, gone from both ends.
std::string_view Trimmed(std::string_view text) {
    const auto isSpace = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
    };
    while (!text.empty() && isSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// What the name comparison of the profile rules sees: white space at the ends does not count,
// ASCII case does not count.
std::string Folded(std::string_view name) {
    std::string folded(Trimmed(name));
    for (char& c : folded) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return folded;
}

// The reading rules as plainly as they can be written, line by line: what the reader's
// shortcuts must agree with.
std::optional<std::string> ModelFind(std::string_view text, std::string_view section,
                                     std::string_view key) {
    if (Trimmed(section).empty() || Trimmed(key).empty()) {
        return std::nullopt;
    }
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    bool inSection = false;
    while (!text.empty()) {
        const auto newline = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, newline));
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[' && line.find(']') != std::string_view::npos) {
            if (inSection) {
                return std::nullopt;
            }
            inSection = Folded(line.substr(1, line.rfind(']') - 1)) == Folded(section);
            continue;
        }
        const auto equals = line.find('=');
        if (inSection && equals != std::string_view::npos &&
            Folded(line.substr(0, equals)) == Folded(key)) {
            std::string_view value = Trimmed(line.substr(equals + 1));
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front()) {
                value = value.substr(1, value.size() - 2);
            }
            return std::string(value);
        }
    }
    return std::nullopt;
}

std::string Cut(std::string value) {
    value.resize(std::min(value.size(), os::kMaxProfileReadLength));
    return value;
}

// One folder in memory-backed storage for the whole run: writes rename temporary files into it.
const std::string& ProfileFolder() {
    static const std::string folder = [] {
        std::string pattern = "/dev/shm/tabulon-fuzz-profile-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            pattern = "/tmp/tabulon-fuzz-profile-XXXXXX";
            FUZZ_CHECK(mkdtemp(pattern.data()) != nullptr);
        }
        return pattern;
    }();
    static const bool removedAtExit = [] {
        // Leaves nothing behind in shared memory when the run ends.
        return std::atexit([] {
                   std::error_code ignored;
                   std::filesystem::remove_all(folder, ignored);
               }) == 0;
    }();
    (void)removedAtExit;
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(16);
    const std::string key = input.ConsumeRandomLengthString(16);
    const std::string value = input.ConsumeRandomLengthString(64);
    const std::string text = input.ConsumeRemainingBytesAsString();

    std::vector<std::pair<std::string, std::string>> probes = {
        {"MRU", "pcg"}, {"MRU", "report"}, {"mru", "PCG"}, {section, key}};
    std::vector<std::optional<std::string_view>> before;
    for (const auto& [s, k] : probes) {
        before.push_back(os::FindProfileValue(text, s, k));
        FUZZ_CHECK(before.back() == ModelFind(text, s, k));
    }

    // The file's reading agrees with the text's, cut to what a read returns.
    const std::string path = ProfileFolder() + "/Tabulon.INI";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    const std::string read = os::ReadProfileString(path, section, key, "(no value)");
    FUZZ_CHECK(read == (before.back() ? Cut(std::string(*before.back())) : "(no value)"));

    const bool storable = os::CanStoreInProfile(section, key, value);
    FUZZ_CHECK(os::WriteProfileString(path, section, key, value) == storable);
    const std::string after = support::ReadFile(path);
    if (!storable) {
        FUZZ_CHECK(after == text);
        return 0;
    }

    const std::string expected = os::WithProfileValue(text, section, key, value);
    FUZZ_CHECK(after == expected);
    FUZZ_CHECK(os::FindProfileValue(after, section, key) == value);
    FUZZ_CHECK(ModelFind(after, section, key) == value);
    FUZZ_CHECK(os::ReadProfileString(path, section, key, "") == Cut(value));
    // Storing the same value again finds it in place and changes nothing.
    FUZZ_CHECK(os::WithProfileValue(after, section, key, value) == after);
    // Storing two settings in one replacement gives what storing them one after the other
    // does, whatever the keys (the same one twice included).
    const std::string otherKey = value.substr(0, value.size() / 2);
    if (os::CanStoreInProfile(section, otherKey, key)) {
        const os::ProfileSetting pair[] = {{key, value}, {otherKey, key}};
        const std::string sequential = os::WithProfileValue(
            os::WithProfileValue(text, section, key, value), section, otherKey, key);
        FUZZ_CHECK(os::WithEdits(text, os::ProfileEdits(text, section, pair)) == sequential);
        FUZZ_CHECK(os::WriteProfileStrings(path, section, pair));
        FUZZ_CHECK(support::ReadFile(path) == sequential);
    }
    for (std::size_t i = 0; i + 1 < probes.size(); ++i) {
        const auto& [s, k] = probes[i];
        if (Folded(s) == Folded(section) && Folded(k) == Folded(key)) {
            continue;
        }
        FUZZ_CHECK(os::FindProfileValue(after, s, k) == before[i]);
    }
    return 0;
}
