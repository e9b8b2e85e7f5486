// SPDX-License-Identifier: MIT
#include "bench_files.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "support/pcg_builder.h"

namespace bench {

namespace {

void WriteWhole(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

}  // namespace

BenchFiles::BenchFiles() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/tabulon-bench-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    m_dir = pattern;
    m_instrumentPcg = m_dir + "/instrument.pcg";
    WriteWhole(m_instrumentPcg, support::InstrumentLikePcg());
}

BenchFiles::~BenchFiles() {
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
}

std::string BenchFiles::LargePcg(std::uint64_t megabytes) const {
    const std::string path = m_dir + "/large-" + std::to_string(megabytes) + ".pcg";
    if (Exists(path)) {
        return path;
    }
    constexpr std::uint32_t kRecordSize = 16 * 1024;
    constexpr std::uint32_t kRecordsPerBank = 64;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << support::PcgBuilder().bytes();
    const std::uint64_t banks = megabytes * 1024 * 1024 / (kRecordSize * kRecordsPerBank);
    std::string bank;
    support::PcgBuilder header;
    header.FileHeader({}).BankHeader("PBK1", kRecordsPerBank, kRecordSize);
    bank = header.bytes();
    for (std::uint32_t k = 0; k < kRecordsPerBank; ++k) {
        bank += support::PatchRecord("Program " + std::to_string(k), kRecordSize, 'x');
    }
    for (std::uint64_t b = 0; b < banks; ++b) {
        out.write(bank.data(), static_cast<std::streamsize>(bank.size()));
    }
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
    return path;
}

std::string BenchFiles::LargeTemplate(std::uint64_t megabytes, int tags) const {
    const std::string path =
        m_dir + "/large-" + std::to_string(megabytes) + "-" + std::to_string(tags) + ".htm";
    if (Exists(path)) {
        return path;
    }
    const std::string line =
        "<tr><td class=\"cell\">some literal text of an ordinary report line</td></tr>\n";
    const std::uint64_t lines = megabytes * 1024 * 1024 / line.size();
    const std::uint64_t every = lines / static_cast<std::uint64_t>(tags);
    std::string text;
    text.reserve(megabytes * 1024 * 1024 + static_cast<std::uint64_t>(tags) * 24);
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
    WriteWhole(path, text);
    return path;
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace bench
