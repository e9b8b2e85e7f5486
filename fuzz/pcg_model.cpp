// SPDX-License-Identifier: MIT
#include "fuzz/pcg_model.h"

#include <algorithm>
#include <cstdint>

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

void ModelBank(std::string_view bytes, std::uint64_t at, std::uint64_t end, int kind,
               std::uint32_t& running, PcgTreeModel& model) {
    const std::uint64_t count = BigEndianAt(bytes, at + 8);
    const std::uint64_t size = BigEndianAt(bytes, at + 12);
    model.banks.push_back({kind, bytes.substr(at, 4) == "MBK1",
                           static_cast<std::uint32_t>(BigEndianAt(bytes, at + 16)), 0});
    const std::uint64_t limit = std::min<std::uint64_t>(end, bytes.size());
    for (std::uint64_t r = 0; r < count && size > 0; ++r) {
        const std::uint64_t start = at + 20 + r * size;
        if (start >= limit) {
            break;
        }
        const std::uint64_t nameEnd = std::min({start + 16, start + size, limit});
        std::string_view name = bytes.substr(start, nameEnd - start);
        name = name.substr(0, name.find('\0'));
        model.slots.push_back(
            {kind >= 2 ? running : static_cast<std::uint32_t>(r), std::string(name)});
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
