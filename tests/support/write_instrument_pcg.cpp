// SPDX-License-Identifier: MIT
// Writes a PCG file of the test builders to a path, for scripts and benchmarks that need it as
// a file: the instrument-like one, or a factory-like file of the classic or the later layout.
#include <fstream>
#include <iostream>
#include <string_view>

#include "support/pcg_builder.h"

int main(int argc, char** argv) {
    const std::string_view layout = argc == 3 ? argv[1] : "";
    if ((argc != 2 && argc != 3) || (argc == 3 && layout != "classic" && layout != "later")) {
        std::cerr << "usage: write_instrument_pcg [classic|later] <path>\n";
        return 2;
    }
    std::ofstream out(argv[argc - 1], std::ios::binary | std::ios::trunc);
    const std::string bytes =
        layout.empty()
            ? support::InstrumentLikePcg()
            : support::FactoryLikePcg(layout == "classic" ? support::PcgLayout::Classic
                                                          : support::PcgLayout::LaterModel);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return out ? 0 : 1;
}
