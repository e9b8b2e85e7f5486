// SPDX-License-Identifier: MIT
// CMenu: the items of a window menu.
#pragma once

#include <string>
#include <vector>

inline constexpr unsigned MF_STRING = 0x0000;
inline constexpr unsigned MF_SEPARATOR = 0x0800;

// Holds menu items. Nothing on this platform shows them: window managers draw the window menu
// themselves, which is why CDialog::GetSystemMenu hands out none.
class CMenu {
public:
    struct Item {
        unsigned flags;
        unsigned id;
        std::string text;
    };

    bool AppendMenu(unsigned flags, unsigned id = 0, const std::string& text = {}) {
        m_items.push_back({flags, id, text});
        return true;
    }

    const std::vector<Item>& Items() const { return m_items; }

private:
    std::vector<Item> m_items;
};
