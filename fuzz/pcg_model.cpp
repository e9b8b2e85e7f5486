// SPDX-License-Identifier: MIT
#include "fuzz/pcg_model.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace fuzz {

namespace {

std::uint64_t BigEndianAt(std::string_view bytes, std::size_t offset) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = value << 8 | static_cast<unsigned char>(bytes[offset + i]);
    }
    return value;
}

}  // namespace

PcgModel ModelPcg(std::string_view bytes, std::size_t nameLimit) {
    PcgModel model;
    if (bytes.size() < 32 || bytes.substr(0, 4) != "KORG" || bytes.substr(16, 4) != "PCG1") {
        return model;
    }
    // Later models put "DIV1" and "INI1" blocks before the programs.
    std::uint64_t program = 24;
    while (bytes.substr(program, 4) != "PRG1") {
        const std::string_view id = bytes.substr(program, 4);
        if (id != "DIV1" && id != "INI1") {
            return model;
        }
        program += 8 + BigEndianAt(bytes, program + 4);
        if (program + 8 > bytes.size()) {
            return model;
        }
    }
    model.names.assign(nameLimit, std::string());
    bool anyBank = false;
    std::uint64_t position = program + 8;
    std::uint64_t recordIndex = 0;
    while (position + 20 <= bytes.size()) {
        const std::string_view id = bytes.substr(position, 4);
        if (id != "PBK1" && id != "MBK1") {
            break;
        }
        anyBank = true;
        const std::uint64_t count = BigEndianAt(bytes, position + 8);
        const std::uint64_t size = BigEndianAt(bytes, position + 12);
        position += 20;
        for (std::uint64_t r = 0; r < count && recordIndex + r < nameLimit; ++r) {
            const std::uint64_t start = position + r * size;
            if (start >= bytes.size()) {
                break;
            }
            std::string_view name = bytes.substr(start, std::min<std::uint64_t>(size, 16));
            name = name.substr(0, name.find('\0'));
            model.names[recordIndex + r] = name;
        }
        recordIndex += count;
        position += count * size;
    }
    model.outcome = anyBank ? PcgModel::Outcome::Read : PcgModel::Outcome::NoBanks;
    return model;
}

namespace {

std::uint64_t ChunkEnd(std::string_view bytes, std::uint64_t at, std::uint64_t parentEnd) {
    return std::min(at + 8 + BigEndianAt(bytes, at + 4), parentEnd);
}

// The label of the bank a chunk numbers `number` (or a timbre names by `code`, when `number` is
// the code's), as the maker's notes give it.
std::string CodeLabel(int code, bool extreme, std::uint32_t number) {
    static const char* const kLetters[] = {"A", "B", "C", "D", "E", "F", "G"};
    if (code >= 0 && code <= 6) {
        return kLetters[code];
    }
    if (code >= 7 && code <= 15) {
        return "g(" + std::to_string(code - 6) + ")";
    }
    if (code == 16) {
        return "g(d)";
    }
    if (code >= 17 && code <= 24) {
        if (!extreme) {
            return "EXB-" + std::string(1, static_cast<char>('A' + code - 17));
        }
        if (code <= 23) {
            return std::string(1, static_cast<char>('H' + code - 17));
        }
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%X-", static_cast<unsigned>(number));
    return hex;
}

int ChunkCode(std::uint32_t number, bool board) {
    if (board || number == 0x8000) return 5;
    if (number <= 4) return static_cast<int>(number);
    if (number == 0x10000) return 6;
    if (number == 0x10001) return 7;
    if (number == 0x10002) return 16;
    if (number >= 0x20000 && number <= 0x20007) return 17 + static_cast<int>(number - 0x20000);
    return -1;
}

std::string Digits(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%03u", value);
    return text;
}

void ModelBank(std::string_view bytes, std::uint64_t at, std::uint64_t end, int kind,
               std::uint32_t& running, PcgTreeModel& model) {
    const std::uint64_t count = BigEndianAt(bytes, at + 8);
    const std::uint64_t size = BigEndianAt(bytes, at + 12);
    const auto number = static_cast<std::uint32_t>(BigEndianAt(bytes, at + 16));
    const bool board = bytes.substr(at, 4) == "MBK1";
    model.banks.push_back({kind, board, number, 0});
    const bool triton = static_cast<unsigned char>(bytes[4]) == 0x50;
    const bool extreme = bytes.size() > 8 && bytes[8] == 1;
    // Where the bank's numbers begin, for the kinds numbered across banks.
    std::int64_t first = -1;
    if (kind == 2 && number <= 3) {
        first = 16 * std::int64_t{number};
    } else if (kind == 2 && number == 0x10000) {
        first = 64;
    } else if (kind == 3 && number <= 2) {
        first = number == 0 ? 0 : number == 1 ? 200 : 216;
    }
    if (kind >= 2 && number >= 0x20000 && number <= 0x20007) {
        first = (kind == 2 ? 16 : 200) + 16 * (number - 0x20000);
    }
    const std::uint32_t from = first >= 0 ? static_cast<std::uint32_t>(first) : running;
    const std::string prefix = kind >= 2 ? "" : CodeLabel(ChunkCode(number, board), extreme, number);
    const std::uint64_t limit = std::min<std::uint64_t>(end, bytes.size());
    for (std::uint64_t r = 0; r < count && size > 0; ++r) {
        const std::uint64_t start = at + 20 + r * size;
        if (start >= limit) {
            break;
        }
        const std::uint64_t nameEnd = std::min({start + 16, start + size, limit});
        std::string_view name = bytes.substr(start, nameEnd - start);
        name = name.substr(0, name.find('\0'));
        PcgTreeModel::Slot slot;
        slot.index = kind >= 2 ? from + static_cast<std::uint32_t>(r) : static_cast<std::uint32_t>(r);
        slot.name = std::string(name);
        slot.label = prefix + Digits(slot.index);
        const std::uint64_t held = std::min(start + size, limit) - start;  // bytes it holds
        if (triton && kind == 0 && (size == 540 || size == 604) && held > 206) {
            const int category = static_cast<unsigned char>(bytes[start + 206]);
            slot.category = category < 16 ? category : -1;
        } else if (triton && kind == 1 && size == 448 && held > 214) {
            slot.category = static_cast<unsigned char>(bytes[start + 214]) & 0x0F;
        }
        if (triton && kind == 1 && size == 448 && held == 448) {
            for (int t = 0; t < 8; ++t) {
                const std::uint64_t timbre = start + 224 + 28 * static_cast<std::uint64_t>(t);
                const int code = static_cast<unsigned char>(bytes[timbre + 1]);
                const int status = static_cast<unsigned char>(bytes[timbre + 2]) >> 5;
                const std::string program =
                    CodeLabel(code, extreme, 0x20000 + static_cast<std::uint32_t>(code - 17)) +
                    Digits(static_cast<unsigned char>(bytes[timbre]));
                if ((status == 0 || status == 2) && code <= 24 &&
                    std::find(slot.uses.begin(), slot.uses.end(), program) == slot.uses.end()) {
                    slot.uses.push_back(program);
                }
            }
        }
        model.slots.push_back(std::move(slot));
        ++running;
        ++model.banks.back().slots;
    }
}

}  // namespace

PcgTreeModel ModelPcgTree(std::string_view bytes) {
    static const std::string_view kContainers[] = {"PRG1", "CMB1", "DKT1", "ARP1"};
    static const std::string_view kBanks[] = {"PBK1", "CBK1", "DBK1", "ABK1"};
    PcgTreeModel model;
    if (bytes.size() < 24 || bytes.substr(0, 4) != "KORG" || bytes.substr(16, 4) != "PCG1") {
        return model;
    }
    model.outcome = PcgTreeModel::Outcome::NoBanks;
    std::uint32_t running[4] = {};
    const std::uint64_t end = 24 + BigEndianAt(bytes, 20);
    for (std::uint64_t child = 24; child + 8 <= end && child + 8 <= bytes.size();
         child = ChunkEnd(bytes, child, end)) {
        int kind = 0;
        while (kind < 4 && bytes.substr(child, 4) != kContainers[kind]) {
            ++kind;
        }
        if (kind == 4) {
            continue;
        }
        const std::uint64_t containerEnd = ChunkEnd(bytes, child, end);
        for (std::uint64_t bank = child + 8; bank + 8 <= containerEnd && bank + 8 <= bytes.size();
             bank = ChunkEnd(bytes, bank, containerEnd)) {
            const std::string_view id = bytes.substr(bank, 4);
            const std::uint64_t bankEnd = ChunkEnd(bytes, bank, containerEnd);
            // A bank whose fields the file does not hold ends the file's reading.
            if ((id == kBanks[kind] || (kind == 0 && id == "MBK1")) && bank + 20 <= bankEnd) {
                if (bank + 20 > bytes.size()) {
                    return model;
                }
                model.outcome = PcgTreeModel::Outcome::Read;
                ModelBank(bytes, bank, bankEnd, kind, running[kind], model);
            }
        }
    }
    return model;
}

}  // namespace fuzz
