// SPDX-License-Identifier: MIT
// PCG files store their integers big-endian, whatever machine wrote them.
#pragma once

#include <cstdint>
#include <cstring>

// Reinterprets a 4-byte field read straight from a PCG file (most significant byte first) and
// stores its value back in host order.
inline void ConvertFromBigEndian(std::uint32_t& field) {
    unsigned char bytes[4];
    std::memcpy(bytes, &field, 4);
    field = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
            (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
}

// The host-order value of the big-endian field at `bytes`.
inline std::uint32_t ReadBigEndian32(const unsigned char* bytes) {
    std::uint32_t field;
    std::memcpy(&field, bytes, 4);
    ConvertFromBigEndian(field);
    return field;
}
