// SPDX-License-Identifier: MIT
#include "res/string_table.h"

#include "res/resource.h"

namespace res {

namespace {

struct StringEntry {
    int id;
    const char* text;
};

constexpr StringEntry kStrings[] = {
    {IDS_ABOUTBOX, "&About Tabulon..."},
};

}  // namespace

std::string LoadStringResource(int id) {
    for (const StringEntry& entry : kStrings) {
        if (entry.id == id) {
            return entry.text;
        }
    }
    return {};
}

}  // namespace res
