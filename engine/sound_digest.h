// SPDX-License-Identifier: MIT
// A record's sound, told by a digest of its bytes: two records sound alike when their bytes
// after the name are the same.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// A 128-bit digest of bytes given in pieces of any size (MurmurHash3's x64 128-bit mixing):
// the same bytes give the same digest however they are cut; two records that differ give
// different ones but with a chance far below any file's number of records.
class SoundDigest {
public:
    void Add(const unsigned char* bytes, std::size_t size);
    std::array<std::uint64_t, 2> Finish();

private:
    void Mix(const unsigned char* block);

    std::uint64_t m_h1 = 0;
    std::uint64_t m_h2 = 0;
    std::uint64_t m_length = 0;
    unsigned char m_pending[16] = {};
    std::size_t m_pendingSize = 0;
};
