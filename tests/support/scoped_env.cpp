// SPDX-License-Identifier: MIT
#include "support/scoped_env.h"

#include <stdlib.h>

namespace support {

ScopedEnv::ScopedEnv(std::string name, std::optional<std::string> value) : m_name(std::move(name)) {
    if (const char* old = getenv(m_name.c_str())) {
        m_old = old;
    }
    Set(m_name, value);
}

ScopedEnv::~ScopedEnv() {
    Set(m_name, m_old);
}

void ScopedEnv::Set(const std::string& name, const std::optional<std::string>& value) {
    if (value) {
        setenv(name.c_str(), value->c_str(), 1);
    } else {
        unsetenv(name.c_str());
    }
}

}  // namespace support
