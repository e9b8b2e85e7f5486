// SPDX-License-Identifier: MIT
// The input files the benchmarks work on, made once per run in a temporary folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace bench {

class BenchFiles {
public:
    BenchFiles();

    // The instrument-like PCG file (5 x 128 programs of 540 bytes and a drum bank).
    const std::string& instrumentPcg() const { return m_instrumentPcg; }
    // An instrument's own size: 5 x 128 programs of 540 bytes and a bank of 128 of 1,120.
    const std::string& instrumentSizePcg() const { return m_instrumentSizePcg; }
    // A later model's factory-like file: 3,851 slots in 2.3 MB.
    const std::string& laterModelPcg() const { return m_laterModelPcg; }
    // A copy of it under a name of its own.
    const std::string& laterModelCopy() const { return m_laterModelCopy; }
    // `count` copies of it, each under a name of its own.
    std::vector<std::string> InstrumentPcgCopies(int count) const;
    // A PCG file of `megabytes` MiB (under 4 GiB): program banks of 16 KiB records, its chunk
    // sizes right.
    std::string LargePcg(std::uint64_t megabytes) const;
    // A template of about `megabytes` MiB holding `tags` PATCHNAME tags spread evenly.
    std::string LargeTemplate(std::uint64_t megabytes, int tags) const {
        return Template(megabytes * 1024 * 1024, tags);
    }
    // The same of about `bytes` bytes.
    std::string Template(std::uint64_t bytes, int tags) const;
    // A path for an output file inside the folder.
    std::string OutputPath(const std::string& name) const { return m_dir.Path(name); }

private:
    support::TempDir m_dir;
    std::string m_instrumentPcg;
    std::string m_instrumentSizePcg;
    std::string m_laterModelPcg;
    std::string m_laterModelCopy;
};

}  // namespace bench
