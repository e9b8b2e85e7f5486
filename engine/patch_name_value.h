// SPDX-License-Identifier: MIT
// How a patch name is written into the report.
#pragma once

#include <string>
#include <string_view>

// The report's value for a patch name: "<" and ">" escaped as "&lt;" and "&gt;" (and nothing
// else, so "&" and quotes pass unchanged), then the white-space bytes 0x09-0x0D and 0x20
// removed from both ends. Bytes of 0x80 and above are never white space.
std::string PatchNameValue(std::string_view name);

// PatchNameValue, written from `out`, which must have room for four times `name`'s length;
// returns where it ends.
char* WritePatchNameValue(std::string_view name, char* out);

// `text` without the white-space bytes 0x09-0x0D and 0x20 at either end.
std::string_view TrimWhiteSpace(std::string_view text);
