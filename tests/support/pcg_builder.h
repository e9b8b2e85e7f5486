// SPDX-License-Identifier: MIT
// Builds PCG files in memory, valid or broken on purpose.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace support {

// The 4-byte big-endian form of `value`.
std::string BigEndian32(std::uint32_t value);

// A record of `size` bytes whose first bytes are `name` (cut to the size), the rest filled
// with `fill`.
std::string PatchRecord(std::string_view name, std::size_t size, char fill = '\0');

// A name as the instrument writes it: padded with spaces to 16 bytes.
std::string InstrumentName(std::string_view name);

class PcgBuilder {
public:
    // Starts with a valid 32-byte file header.
    PcgBuilder();

    // Replaces the file header with exactly these bytes.
    PcgBuilder& FileHeader(std::string bytes);

    // A bank chunk header: id, count and size, the other fields zero.
    PcgBuilder& BankHeader(std::string_view id, std::uint32_t recordCount, std::uint32_t recordSize,
                           std::uint32_t bankNumber = 0);

    // A bank chunk with one record per name, each `recordSize` bytes.
    PcgBuilder& Bank(std::string_view id, const std::vector<std::string>& names,
                     std::uint32_t recordSize = 540, std::uint32_t bankNumber = 0);

    PcgBuilder& Bytes(std::string_view bytes);

    const std::string& bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

// A file built like the instrument's own: "KORG" header with product byte and chunk sizes,
// five "PBK1" banks of 128 programs of 540 bytes (bank numbers 0-4), one "MBK1" bank of 128,
// then a "CMB1" chunk with "CBK1" banks. Program k of bank b is named ProgramName(b * 128 + k).
std::string InstrumentLikePcg();

// The name InstrumentLikePcg gives its n-th program record, unpadded. Some hold "<" and ">",
// and some have leading or inner spaces.
std::string ProgramName(std::size_t n);

}  // namespace support
