// SPDX-License-Identifier: MIT
// Writes the instrument-like PCG file of the test builders to a path, for scripts and
// benchmarks that need it as a file.
#include <fstream>
#include <iostream>

#include "support/pcg_builder.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: write_instrument_pcg <path>\n";
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    const std::string bytes = support::InstrumentLikePcg();
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return out ? 0 : 1;
}
