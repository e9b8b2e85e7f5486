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

// A chunk: id, big-endian size, then `content`.
std::string Chunk(std::string_view id, std::string_view content);

// A bank chunk with its sizes right: record count, record size and bank number, then one
// record per name, each `recordSize` bytes.
std::string BankChunk(std::string_view id, const std::vector<std::string>& names,
                      std::uint32_t recordSize, std::uint32_t bankNumber);

// A whole file: "KORG" and its header, then the "PCG1" chunk holding `children`.
std::string PcgFile(std::string_view children);

// Files in the shapes of the instrument's factory files, sizes and all. Classic: "PRG1" at
// offset 24 with program banks A-E (numbers 0-4), "CMB1" with combination banks A-D, "DKT1"
// with 16 drum kits, "ARP1" with 200 arpeggio patterns, then "GLB1" and "CSM1". Later model:
// "DIV1" and "INI1" first, then program banks A-E, F (an "MBK1" numbered 0x8000) and H-N
// (0x20000-0x20006), combination banks A-E and H-N, 144 drum kits in three banks and 507
// arpeggio patterns in two: 2.3 MB. A save of combinations alone: "DIV1" and "INI1", then the
// later model's combination banks. Every slot is named by FactorySlotName.
enum class PcgLayout { Classic, LaterModel, CombinationsOnly };
std::string FactoryLikePcg(PcgLayout layout);

// The name of a slot of FactoryLikePcg: "kind" is "program", "combination", "drumkit" or
// "arpeggio", and `slot` as the instrument shows it ("A000", "017"). The factory's own names
// where the instrument has them ("InitialProgE127" in E127, "InitialProgN127",
// "InitialCombiN000", "Drumkit143", "ArpeggioPat506"), else 16 characters, wide ones among
// them, that hold the slot.
std::string FactorySlotName(std::string_view kind, std::string_view slot);

// The name InstrumentLikePcg gives its n-th program record, unpadded. Some hold "<" and ">",
// and some have leading or inner spaces.
std::string ProgramName(std::size_t n);

}  // namespace support
