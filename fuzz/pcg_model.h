// SPDX-License-Identifier: MIT
// A second, deliberately plain reading of PCG bytes held in memory, to check the engine against.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

struct PcgModel {
    enum class Outcome { Read, NoBanks, BadHeaders };
    Outcome outcome = Outcome::BadHeaders;
    // The names of the first records in file order, empty where a record holds no bytes.
    std::vector<std::string> names;
};

// What the file `bytes` must yield, with the names of its first `nameLimit` records: random
// access over the whole file at once, none of the engine's buffering or streaming.
PcgModel ModelPcg(std::string_view bytes, std::size_t nameLimit);

}  // namespace fuzz
