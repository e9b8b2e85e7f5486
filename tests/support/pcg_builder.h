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

// A whole file: "KORG" and its header, then the "PCG1" chunk holding `children`. The header's
// byte 4 is the product (0x50 the Triton family, 0x63 the LE, 0x5D the Karma) and byte 8 is 1
// on a Triton Extreme.
std::string PcgFile(std::string_view children, std::uint8_t product = 0x50, bool extreme = false);

// Files in the shapes of the instrument's factory files, sizes and all. Classic, a Triton's:
// "PRG1" at offset 24 with program banks A-E (numbers 0-4) of 540-byte records, "CMB1" with
// combination banks A-D of 448, "DKT1" with 16 drum kits, "ARP1" with 200 arpeggio patterns,
// then "GLB1" and "CSM1". Later model, a Triton Extreme's: "DIV1" and "INI1" first, then
// program banks A-E, F (an "MBK1" numbered 0x8000, records of 604 bytes) and H-N
// (0x20000-0x20006), combination banks A-E and H-N, 144 drum kits in banks 0, 0x20000 and
// 0x20007 (000-015, 016-127, 128-143) and 507 arpeggio patterns in banks 0, 0x20000 and
// 0x20007 (000-199, 200-311, 312-506). A save of combinations alone: "DIV1" and "INI1",
// then the later model's combination banks. The later model edited: program A005 renamed
// "Renamed Lead", combination B010's sound edited, program bank K left out. Every slot is named
// by FactorySlotName, its category and timbres are FactoryCategory's and FactoryTimbres', and
// every program's and combination's sound is its own.
enum class PcgLayout { Classic, LaterModel, CombinationsOnly, LaterModelEdited };
std::string FactoryLikePcg(PcgLayout layout);

// A bank of 16 programs: "Piano One" and "Piano Two" of one sound, "Phat Bass" twice of two
// sounds, a lone "Acid303" and "TR808", and ten placeholders "InitialProgA006" to "...A015"
// of one sound.
std::string DuplicatesPcg();

// The category the factory-like files give the n-th program or combination of a file: n % 16.
std::uint8_t FactoryCategory(std::size_t n);

// One timbre as a combination record holds it.
struct Timbre {
    std::uint8_t number;  // the program's number in its bank
    std::uint8_t code;    // its bank's code
    std::uint8_t status;  // 0 INT, 1 Off, 2 Both, 3 EXT, 4 EX2
};
// The eight timbres of the n-th combination of the factory-like files: programs of banks the
// file holds and of the GM banks, timbres that are off, external, twice the same or of a bank
// code beyond the table among them.
std::vector<Timbre> FactoryTimbres(std::size_t n);

// Records as the maker's notes describe them, the rest zero: a program of `size` bytes with
// `category` in byte 206; a combination of 448 with `category` in the low four bits of byte
// 214 (0xA0 above them) and the timbres from byte 224 on, those not given off.
std::string CombinationRecord(std::string_view name, std::uint8_t category,
                              const std::vector<Timbre>& timbres);
std::string ProgramRecord(std::string_view name, std::uint32_t size, std::uint8_t category);

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
