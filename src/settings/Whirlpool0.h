#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Whirlpool in its first, 2000 version (S-box beginning 68 D0 EB 2B,
// circulant matrix (1, 1, 3, 1, 5, 8, 9, 5)). No library carries this
// version, and the settings file's key derivation is bound to it.
class Whirlpool0 {
public:
    static constexpr std::size_t DigestSize = 64;
    static constexpr std::size_t BlockSize = 64;
    using Digest = std::array<std::uint8_t, DigestSize>;

    Whirlpool0();
    void Add(const std::uint8_t* data, std::size_t size);
    // Pads, finishes and returns the digest; the object is reset afterwards.
    Digest Finish();
    void Reset();

    static Digest Hash(const std::uint8_t* data, std::size_t size);

    // The S-box everything is built from (exposed so that tests can check it
    // against the published one).
    static const std::array<std::uint8_t, 256>& SBox();

private:
    void ProcessBlock(const std::uint8_t* block);

    std::array<std::uint64_t, 8> hash_{};
    std::array<std::uint8_t, BlockSize> buffer_{};
    std::size_t bufferUsed_ = 0;
    bool started_ = false; // a block was processed: the chaining value is no longer zero
    // Message length in bytes; 64 bits suffice for anything we hash, the
    // upper part of the 256-bit length field stays zero.
    std::uint64_t length_ = 0;
};
