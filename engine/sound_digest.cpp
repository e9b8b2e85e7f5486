// SPDX-License-Identifier: MIT
#include "engine/sound_digest.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint64_t kC1 = 0x87c37b91114253d5ULL;
constexpr std::uint64_t kC2 = 0x4cf5ad432745937fULL;

std::uint64_t RotateLeft(std::uint64_t x, int r) {
    return (x << r) | (x >> (64 - r));
}

std::uint64_t FinalMix(std::uint64_t k) {
    k ^= k >> 33;
    k *= 0xff51afd7ed558ccdULL;
    k ^= k >> 33;
    k *= 0xc4ceb9fe1a85ec53ULL;
    k ^= k >> 33;
    return k;
}

std::uint64_t LittleEndian64(const unsigned char* bytes, std::size_t size) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
        value |= std::uint64_t{bytes[i]} << (8 * i);
    }
    return value;
}

}  // namespace

void SoundDigest::Mix(const unsigned char* block) {
    std::uint64_t k1 = LittleEndian64(block, 8);
    std::uint64_t k2 = LittleEndian64(block + 8, 8);
    k1 *= kC1;
    k1 = RotateLeft(k1, 31);
    k1 *= kC2;
    m_h1 ^= k1;
    m_h1 = RotateLeft(m_h1, 27);
    m_h1 += m_h2;
    m_h1 = m_h1 * 5 + 0x52dce729;
    k2 *= kC2;
    k2 = RotateLeft(k2, 33);
    k2 *= kC1;
    m_h2 ^= k2;
    m_h2 = RotateLeft(m_h2, 31);
    m_h2 += m_h1;
    m_h2 = m_h2 * 5 + 0x38495ab5;
}

void SoundDigest::Add(const unsigned char* bytes, std::size_t size) {
    m_length += size;
    if (m_pendingSize > 0) {
        const std::size_t take = std::min(size, sizeof m_pending - m_pendingSize);
        std::memcpy(m_pending + m_pendingSize, bytes, take);
        m_pendingSize += take;
        bytes += take;
        size -= take;
        if (m_pendingSize < sizeof m_pending) {
            return;
        }
        Mix(m_pending);
        m_pendingSize = 0;
    }
    for (; size >= sizeof m_pending; bytes += sizeof m_pending, size -= sizeof m_pending) {
        Mix(bytes);
    }
    std::memcpy(m_pending, bytes, size);
    m_pendingSize = size;
}

std::array<std::uint64_t, 2> SoundDigest::Finish() {
    std::uint64_t k1 = LittleEndian64(m_pending, std::min<std::size_t>(m_pendingSize, 8));
    std::uint64_t k2 = m_pendingSize > 8 ? LittleEndian64(m_pending + 8, m_pendingSize - 8) : 0;
    k2 *= kC2;
    k2 = RotateLeft(k2, 33);
    k2 *= kC1;
    m_h2 ^= k2;
    k1 *= kC1;
    k1 = RotateLeft(k1, 31);
    k1 *= kC2;
    m_h1 ^= k1;
    m_h1 ^= m_length;
    m_h2 ^= m_length;
    m_h1 += m_h2;
    m_h2 += m_h1;
    m_h1 = FinalMix(m_h1);
    m_h2 = FinalMix(m_h2);
    m_h1 += m_h2;
    m_h2 += m_h1;
    return {m_h1, m_h2};
}
