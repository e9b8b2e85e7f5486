// SPDX-License-Identifier: MIT
#include "bench_files.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "support/pcg_builder.h"

namespace bench {

namespace {

std::string InstrumentSizePcg() {
    support::PcgBuilder banks;
    for (std::uint32_t bank = 0; bank <= 5; ++bank) {
        std::vector<std::string> names;
        for (std::uint32_t k = 0; k < 128; ++k) {
            names.push_back(support::InstrumentName(support::ProgramName(bank * 128 + k)));
        }
        banks.Bank(bank < 5 ? "PBK1" : "MBK1", names, bank < 5 ? 540 : 1120, bank);
    }
    return banks.bytes();
}

}  // namespace

BenchFiles::BenchFiles()
    : m_instrumentPcg(m_dir.Write("instrument.pcg", support::InstrumentLikePcg())),
      m_instrumentSizePcg(m_dir.Write("instrument-size.pcg", InstrumentSizePcg())),
      m_laterModelPcg(
          m_dir.Write("later.pcg", support::FactoryLikePcg(support::PcgLayout::LaterModel))),
      m_laterModelCopy(m_dir.Write("later-copy.pcg", support::ReadFile(m_laterModelPcg))) {}

std::vector<std::string> BenchFiles::InstrumentPcgCopies(int count) const {
    std::vector<std::string> paths;
    const std::string bytes = support::ReadFile(m_instrumentPcg);
    for (int i = 0; i < count; ++i) {
        paths.push_back(m_dir.Write("bank-" + std::to_string(i) + ".pcg", bytes));
    }
    return paths;
}

std::string BenchFiles::LargePcg(std::uint64_t megabytes) const {
    const std::string path = m_dir.Path("large-" + std::to_string(megabytes) + ".pcg");
    if (support::Exists(path)) {
        return path;
    }
    constexpr std::uint32_t kRecordSize = 16 * 1024;
    constexpr std::uint32_t kRecordsPerBank = 64;
    const std::uint64_t banks = megabytes * 1024 * 1024 / (kRecordSize * kRecordsPerBank);
    std::string bank;
    support::PcgBuilder header;
    header.FileHeader({}).BankHeader("PBK1", kRecordsPerBank, kRecordSize);
    bank = header.bytes();
    for (std::uint32_t k = 0; k < kRecordsPerBank; ++k) {
        bank += support::PatchRecord("Program " + std::to_string(k), kRecordSize, 'x');
    }
    // Chunk sizes right, so that the whole-tree reader goes through every bank too.
    const auto programs = static_cast<std::uint32_t>(banks * bank.size());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "KORG" << std::string(12, '\0') << "PCG1" << support::BigEndian32(programs + 8) << "PRG1"
        << support::BigEndian32(programs);
    for (std::uint64_t b = 0; b < banks; ++b) {
        out.write(bank.data(), static_cast<std::streamsize>(bank.size()));
    }
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
    return path;
}

std::string BenchFiles::Template(std::uint64_t bytes, int tags) const {
    const std::string name =
        "template-" + std::to_string(bytes) + "-" + std::to_string(tags) + ".htm";
    if (support::Exists(m_dir.Path(name))) {
        return m_dir.Path(name);
    }
    const std::string line =
        "<tr><td class=\"cell\">some literal text of an ordinary report line</td></tr>\n";
    const std::uint64_t lines = bytes / line.size();
    const std::uint64_t every = lines / static_cast<std::uint64_t>(tags);
    std::string text;
    text.reserve(bytes + static_cast<std::uint64_t>(tags) * 24);
    int written = 0;
    for (std::uint64_t i = 0; i < lines; ++i) {
        if (i % every == 0 && written < tags) {
            char tag[32];
            std::snprintf(tag, sizeof tag, "<td><%%PATCHNAME_%03d%%></td>", written % 128);
            text += tag;
            ++written;
        }
        text += line;
    }
    return m_dir.Write(name, text);
}

}  // namespace bench
