// SPDX-License-Identifier: MIT
// File names and other arguments as messages show them, quoted the way coreutils does.
#pragma once

#include <string>
#include <string_view>

enum class Quoting {
    WhenNeeded,  // a plain name stays bare (for "program: name: message")
    Always,      // always in quotes (for a name inside a sentence)
};

// `name` quoted for a shell, so that it can be pasted back and never breaks a one-line message
// or reaches the terminal as a control sequence: 'a b', "it's", and bytes that cannot be shown
// (a newline, an escape, an invalid or unprintable character of the locale) as $'\n' or
// $'\033' pieces, as in 'a'$'\n''b'. Characters that the locale (LC_CTYPE) can print stay
// as they are.
std::string QuotedName(std::string_view name, Quoting quoting = Quoting::WhenNeeded);

// QuotedName with Quoting::WhenNeeded, for the engine's texts (a NameQuoting).
std::string QuotedWhenNeeded(std::string_view name);
