// SPDX-License-Identifier: MIT
// Numbers written as decimal digits, zero-filled, by hand: a report writes thousands of them.
#pragma once

#include <cstddef>
#include <cstdint>

// Writes `value` from `out` in at least `minDigits` digits (zeros in front), at most 10 more
// than needed; returns where it ends. `out` needs room for max(minDigits, 10) bytes.
inline char* WriteDecimal(std::uint32_t value, std::size_t minDigits, char* out) {
    std::size_t digits = 1;
    for (std::uint32_t rest = value / 10; rest > 0; rest /= 10) {
        ++digits;
    }
    if (digits < minDigits) {
        digits = minDigits;
    }
    for (std::size_t i = digits; i > 0; --i, value /= 10) {
        out[i - 1] = static_cast<char>('0' + value % 10);
    }
    return out + digits;
}
