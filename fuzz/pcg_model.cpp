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
    if (bytes.size() < 32 || bytes.substr(0, 4) != "KORG" || bytes.substr(16, 4) != "PCG1" ||
        bytes.substr(24, 4) != "PRG1") {
        return model;
    }
    model.names.assign(nameLimit, std::string());
    bool anyBank = false;
    std::uint64_t position = 32;
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

}  // namespace fuzz
