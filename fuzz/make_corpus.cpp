// SPDX-License-Identifier: MIT
// Writes the fuzz targets' seed inputs, built with the same builders as the tests.
//
//   fuzz_make_corpus <folder>   writes <folder>/<target>/<seed> for every target
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "support/pcg_builder.h"

namespace {

using support::PcgBuilder;
using Seeds = std::vector<std::pair<std::string, std::string>>;

std::vector<std::string> Numbered(const std::string& stem, std::size_t count) {
    std::vector<std::string> names;
    for (std::size_t k = 0; k < count; ++k) {
        names.push_back(stem + std::to_string(k));
    }
    return names;
}

// The whole tree in small: every container and bank kind, with sizes right.
std::string TreeSeed(bool laterModel) {
    using support::BankChunk;
    using support::Chunk;
    const std::string programs = BankChunk("PBK1", {"Piano A000", "Pad A001"}, 24, 0) +
                                 (laterModel ? BankChunk("MBK1", {"Board F000"}, 20, 0x8000) +
                                                   BankChunk("PBK1", {"User N000"}, 20, 0x20006)
                                             : BankChunk("PBK1", {"Piano E000"}, 20, 4));
    return support::PcgFile(
        (laterModel ? Chunk("DIV1", std::string(8, '\1')) + Chunk("INI1", "init") : "") +
        Chunk("PRG1", programs) + Chunk("CMB1", BankChunk("CBK1", {"Combi A000"}, 20, 0)) +
        Chunk("DKT1", BankChunk("DBK1", {"Kit 000", "Kit 001"}, 20, 0)) +
        Chunk("ARP1",
              BankChunk("ABK1", {"Arp 000"}, 18, 0) + BankChunk("ABK1", {"Arp 001"}, 18, 1)) +
        Chunk("GLB1", "global"));
}

Seeds PcgSeeds() {
    const std::string header = PcgBuilder().bytes();
    return {
        {"header-only", header},
        {"header-short", header.substr(0, 31)},
        {"header-lower-case", "korg" + header.substr(4)},
        {"three-names", PcgBuilder().Bank("PBK1", {"Grand Piano", "  <Pad> ", "Bass"}, 64).bytes()},
        {"bank-kinds", PcgBuilder()
                           .Bank("PBK1", {"Program A"}, 24)
                           .Bank("MBK1", {"Drums"}, 20)
                           .Bank("CBK1", {"never read"}, 20)
                           .bytes()},
        {"odd-names", PcgBuilder()
                          .Bank("PBK1", {"Sixteen chars ok", "Seventeen chars!!"}, 16)
                          .Bank("PBK1", {"Tiny", "Ab"}, 4)
                          .BankHeader("PBK1", 1, 20)
                          .Bytes(support::PatchRecord("\t\xA0 Tab & \"Q\" ", 20, '\x7F'))
                          .BankHeader("PBK1", 2, 0)
                          .bytes()},
        {"more-than-reported", PcgBuilder().Bank("PBK1", Numbered("P", 130), 16).bytes()},
        {"more-than-the-table",
         PcgBuilder().Bank("PBK1", Numbered("", 800), 4).Bank("MBK1", {"after"}, 16).bytes()},
        {"cut-record", PcgBuilder().BankHeader("PBK1", 3, 540).Bytes("Cut").bytes()},
        {"claims-no-size", PcgBuilder().BankHeader("PBK1", 0xFFFFFFFF, 0).bytes()},
        {"claims-huge-records",
         PcgBuilder().BankHeader("PBK1", 0xFFFFFFFF, 0xFFFFFFFF).Bytes("Only").bytes()},
        {"claims-2-31", PcgBuilder().BankHeader("PBK1", 2, 0x80000000).Bytes("Name").bytes()},
        {"instrument-start", support::InstrumentLikePcg().substr(0, 4096)},
        {"tree-classic", TreeSeed(false)},
        {"tree-later", TreeSeed(true)},
        // Categories and timbres where a Triton family's records hold them.
        {"tree-categories",
         support::PcgFile(
             support::Chunk("PRG1", support::BankChunk(
                                        "PBK1", {support::ProgramRecord("Keys", 540, 0)}, 540, 0)) +
                 support::Chunk("CMB1",
                                support::BankChunk(
                                    "CBK1",
                                    {support::CombinationRecord(
                                        "Combi", 5, {{1, 0, 0}, {2, 6, 2}, {3, 7, 1}, {4, 24, 0}})},
                                    448, 0x20001)),
             0x50, true)},
    };
}

Seeds TemplateSeeds() {
    static constexpr char kNulAndCtrlZ[] =
        "ab\0cd\n\0lost\nkept<%PATCHNAME_001%>\nhalf\x1A"
        "after\n";
    std::string allKeys;
    for (int j = 0; j < 128; ++j) {
        char line[48];
        std::snprintf(line, sizeof line, "<td><%%PATCHNAME_%03d%%></td>\n", j);
        allKeys += line;
    }
    return {
        {"all-keys", allKeys},
        {"line-ends", "one\ntwo\r\nthree\rstill three\n\n\r\n   \nlast"},
        {"markers", "<%<%K%>100%> done<% spaced %><%%><%PATCHNAME_000%>text<%unclosed"},
        {"trailing-open", "text<%"},
        {"trailing-close", "<%K%>"},
        {"nul-and-ctrl-z", std::string(kNulAndCtrlZ, sizeof kNulAndCtrlZ - 1)},
        {"long-line", std::string(4090, 'x') + "<%PATCHNAME_000%>" + std::string(1000, 'y')},
        {"html",
         "<html>\n<body>\n  <p>First: <%PATCHNAME_000%> | <%PATCHNAME_001%></p>\n"
         "<p>100% sure %> &amp; \"quoted\"</p>\n</body></html>\n"},
    };
}

bool WriteSeeds(const std::filesystem::path& folder, const Seeds& seeds) {
    std::filesystem::create_directories(folder);
    for (const auto& [name, bytes] : seeds) {
        std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", (folder / name).c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const Seeds pcg = PcgSeeds();
    return WriteSeeds(folder / "fuzz_pcg_reader", pcg) &&
                   WriteSeeds(folder / "fuzz_generate_report", pcg) &&
                   WriteSeeds(folder / "fuzz_template", TemplateSeeds())
               ? 0
               : 1;
}
