// SPDX-License-Identifier: MIT
// Setting an environment variable for the length of one test.
#pragma once

#include <optional>
#include <string>

namespace support {

// Sets (or, given no value, unsets) an environment variable, and puts back what it was when
// the object goes.
class ScopedEnv {
public:
    ScopedEnv(std::string name, std::optional<std::string> value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    static void Set(const std::string& name, const std::optional<std::string>& value);

    std::string m_name;
    std::optional<std::string> m_old;
};

}  // namespace support
