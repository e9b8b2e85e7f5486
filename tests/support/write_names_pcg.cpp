// SPDX-License-Identifier: MIT
// Writes a PCG file whose one program bank (A unless another of A-E is given) holds the given
// patch names, one name a line of the names file, for scripts that need reports of banks of
// their own choosing.
#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "support/pcg_builder.h"
#include "support/temp_dir.h"

int main(int argc, char** argv) {
    const std::string bank = argc == 4 ? argv[3] : "A";
    if ((argc != 3 && argc != 4) || bank.size() != 1 || bank[0] < 'A' || bank[0] > 'E') {
        std::cerr << "usage: write_names_pcg <names file> <path> [A|B|C|D|E]\n";
        return 2;
    }
    const std::string namesPath = argv[1];
    const std::string listed = support::ReadFile(namesPath);
    std::vector<std::string> names;
    for (std::string::size_type start = 0; start < listed.size();) {
        auto end = listed.find('\n', start);
        if (end == std::string::npos) {
            end = listed.size();
        }
        names.push_back(listed.substr(start, end - start));
        start = end + 1;
    }
    if (names.empty()) {
        std::cerr << namesPath << ": no names, or the file cannot be read\n";
        return 2;
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        // The instrument's field would cut a longer name, and the report would then show
        // something other than what the caller asked for.
        if (names[i].size() > 16) {
            std::cerr << namesPath << ":" << i + 1 << ": a name holds at most 16 bytes\n";
            return 2;
        }
        names[i] = support::InstrumentName(names[i]);
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    // Sizes right, so that the whole file's reader finds the bank too.
    const std::string bytes =
        support::PcgFile(support::Chunk("PRG1", support::BankChunk("PBK1", names, 540, static_cast<std::uint32_t>(bank[0] - 'A'))));
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::cerr << argv[2] << ": cannot write the file\n";
        return 1;
    }
    return 0;
}
