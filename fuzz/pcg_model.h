// SPDX-License-Identifier: MIT
// A second, deliberately plain reading of PCG bytes held in memory, to check the engine against.
#pragma once

#include <cstddef>
#include <cstdint>
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

// What reading the whole chunk tree of `bytes` must yield: every bank and slot, by recursion
// over offsets into the whole file, each position checked against the file's end.
struct PcgTreeModel {
    enum class Outcome { Read, NoBanks, BadHeaders };
    struct Bank {
        int kind;  // 0 programs, 1 combinations, 2 drum kits, 3 arpeggio patterns
        bool optionalBoard;
        std::uint32_t number;
        std::size_t slots;
    };
    struct Slot {
        // In its bank; for kinds 2 and 3 from where its bank's numbers begin, or on from the
        // kind's earlier slots for a bank outside the table.
        std::uint32_t index;
        std::string name;
        std::string label;              // as the model shows it: "EXB-A000", "0x5-001", "048"
        int category = -1;              // -1: none
        std::vector<std::string> uses;  // a combination's programs, as labels
    };
    Outcome outcome = Outcome::BadHeaders;
    std::vector<Bank> banks;
    std::vector<Slot> slots;
};
PcgTreeModel ModelPcgTree(std::string_view bytes);

}  // namespace fuzz
