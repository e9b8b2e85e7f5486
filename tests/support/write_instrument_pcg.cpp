// SPDX-License-Identifier: MIT
// Writes a PCG file of the test builders to a path, for scripts and benchmarks that need it as
// a file: the instrument-like one, or a factory-like file of the classic or the later layout, or
// a later model's save of combinations alone.
#include <algorithm>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string_view>

#include "support/pcg_builder.h"

int main(int argc, char** argv) {
    const std::string_view layout = argc == 3 ? argv[1] : "";
    const std::pair<std::string_view, support::PcgLayout> layouts[] = {
        {"classic", support::PcgLayout::Classic},
        {"later", support::PcgLayout::LaterModel},
        {"combinations", support::PcgLayout::CombinationsOnly},
        {"later-edited", support::PcgLayout::LaterModelEdited},
    };
    const auto named = std::find_if(std::begin(layouts), std::end(layouts),
                                    [&](const auto& entry) { return entry.first == layout; });
    if ((argc != 2 && argc != 3) ||
        (argc == 3 && named == std::end(layouts) && layout != "duplicates")) {
        std::cerr << "usage: write_instrument_pcg "
                     "[classic|later|combinations|later-edited|duplicates] <path>\n";
        return 2;
    }
    std::ofstream out(argv[argc - 1], std::ios::binary | std::ios::trunc);
    const std::string bytes = layout.empty()            ? support::InstrumentLikePcg()
                              : layout == "duplicates" ? support::DuplicatesPcg()
                                                       : support::FactoryLikePcg(named->second);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return out ? 0 : 1;
}
