#include "Whirlpool0.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::array<std::uint8_t, 256> kSBox = {
    0x68, 0xd0, 0xeb, 0x2b, 0x48, 0x9d, 0x6a, 0xe4, 0xe3, 0xa3, 0x56, 0x81, 0x7d, 0xf1, 0x85, 0x9e,
    0x2c, 0x8e, 0x78, 0xca, 0x17, 0xa9, 0x61, 0xd5, 0x5d, 0x0b, 0x8c, 0x3c, 0x77, 0x51, 0x22, 0x42,
    0x3f, 0x54, 0x41, 0x80, 0xcc, 0x86, 0xb3, 0x18, 0x2e, 0x57, 0x06, 0x62, 0xf4, 0x36, 0xd1, 0x6b,
    0x1b, 0x65, 0x75, 0x10, 0xda, 0x49, 0x26, 0xf9, 0xcb, 0x66, 0xe7, 0xba, 0xae, 0x50, 0x52, 0xab,
    0x05, 0xf0, 0x0d, 0x73, 0x3b, 0x04, 0x20, 0xfe, 0xdd, 0xf5, 0xb4, 0x5f, 0x0a, 0xb5, 0xc0, 0xa0,
    0x71, 0xa5, 0x2d, 0x60, 0x72, 0x93, 0x39, 0x08, 0x83, 0x21, 0x5c, 0x87, 0xb1, 0xe0, 0x00, 0xc3,
    0x12, 0x91, 0x8a, 0x02, 0x1c, 0xe6, 0x45, 0xc2, 0xc4, 0xfd, 0xbf, 0x44, 0xa1, 0x4c, 0x33, 0xc5,
    0x84, 0x23, 0x7c, 0xb0, 0x25, 0x15, 0x35, 0x69, 0xff, 0x94, 0x4d, 0x70, 0xa2, 0xaf, 0xcd, 0xd6,
    0x6c, 0xb7, 0xf8, 0x09, 0xf3, 0x67, 0xa4, 0xea, 0xec, 0xb6, 0xd4, 0xd2, 0x14, 0x1e, 0xe1, 0x24,
    0x38, 0xc6, 0xdb, 0x4b, 0x7a, 0x3a, 0xde, 0x5e, 0xdf, 0x95, 0xfc, 0xaa, 0xd7, 0xce, 0x07, 0x0f,
    0x3d, 0x58, 0x9a, 0x98, 0x9c, 0xf2, 0xa7, 0x11, 0x7e, 0x8b, 0x43, 0x03, 0xe2, 0xdc, 0xe5, 0xb2,
    0x4e, 0xc7, 0x6d, 0xe9, 0x27, 0x40, 0xd8, 0x37, 0x92, 0x8f, 0x01, 0x1d, 0x53, 0x3e, 0x59, 0xc1,
    0x4f, 0x32, 0x16, 0xfa, 0x74, 0xfb, 0x63, 0x9f, 0x34, 0x1a, 0x2a, 0x5a, 0x8d, 0xc9, 0xcf, 0xf6,
    0x90, 0x28, 0x88, 0x9b, 0x31, 0x0e, 0xbd, 0x4a, 0xe8, 0x96, 0xa6, 0x0c, 0xc8, 0x79, 0xbc, 0xbe,
    0xef, 0x6e, 0x46, 0x97, 0x5b, 0xed, 0x19, 0xd9, 0xac, 0x99, 0xa8, 0x29, 0x64, 0x1f, 0xad, 0x55,
    0x13, 0xbb, 0xf7, 0x6f, 0xb9, 0x47, 0x2f, 0xee, 0xb8, 0x7b, 0x89, 0x30, 0xd3, 0x7f, 0x76, 0x82,
};

constexpr int kRounds = 10;
constexpr std::array<std::uint8_t, 8> kMatrixRow = {1, 1, 3, 1, 5, 8, 9, 5};

constexpr std::uint8_t GfMul(std::uint8_t a, std::uint8_t b)
{
    unsigned product = 0;
    unsigned x = a;
    for (unsigned y = b; y != 0; y >>= 1) {
        if (y & 1u)
            product ^= x;
        x <<= 1;
        if (x & 0x100u)
            x ^= 0x11Du;
    }
    return static_cast<std::uint8_t>(product);
}

// Table k holds, for every input byte, the row S[x] * (matrix row rotated
// right by k), packed big-endian: substitution, shift and mixing in one look-up.
using Tables = std::array<std::array<std::uint64_t, 256>, 8>;

constexpr Tables MakeTables()
{
    Tables t{};
    for (int x = 0; x < 256; ++x) {
        std::uint64_t row = 0;
        for (int j = 0; j < 8; ++j)
            row = (row << 8) |
                  GfMul(kSBox[static_cast<std::size_t>(x)], kMatrixRow[static_cast<std::size_t>(j)]);
        for (int k = 0; k < 8; ++k)
            t[static_cast<std::size_t>(k)][static_cast<std::size_t>(x)] =
                k == 0 ? row : (row >> (8 * k)) | (row << (64 - 8 * k));
    }
    return t;
}

constexpr std::array<std::uint64_t, kRounds> MakeRoundConstants()
{
    std::array<std::uint64_t, kRounds> rc{};
    for (int r = 0; r < kRounds; ++r) {
        std::uint64_t row = 0;
        for (int j = 0; j < 8; ++j)
            row = (row << 8) | kSBox[static_cast<std::size_t>(8 * r + j)];
        rc[static_cast<std::size_t>(r)] = row;
    }
    return rc;
}

constexpr Tables kTables = MakeTables();
constexpr std::array<std::uint64_t, kRounds> kRoundConstants = MakeRoundConstants();

constexpr std::uint8_t ByteOf(std::uint64_t v, int index)
{
    return static_cast<std::uint8_t>(v >> (56 - 8 * index));
}

// One round: row i of the result gathers byte k of row (i - k) mod 8.
constexpr void Round(const std::uint64_t* in, std::uint64_t* out)
{
    for (int i = 0; i < 8; ++i) {
        out[i] = kTables[0][ByteOf(in[i], 0)] ^ kTables[1][ByteOf(in[(i + 7) & 7], 1)] ^
                 kTables[2][ByteOf(in[(i + 6) & 7], 2)] ^ kTables[3][ByteOf(in[(i + 5) & 7], 3)] ^
                 kTables[4][ByteOf(in[(i + 4) & 7], 4)] ^ kTables[5][ByteOf(in[(i + 3) & 7], 5)] ^
                 kTables[6][ByteOf(in[(i + 2) & 7], 6)] ^ kTables[7][ByteOf(in[(i + 1) & 7], 7)];
    }
}

// The round keys of the first block never change (the chaining value starts
// at zero); the key derivation hashes short inputs, so this saves a good part
// of its work.
using RoundKeys = std::array<std::array<std::uint64_t, 8>, kRounds>;

constexpr RoundKeys MakeZeroRoundKeys()
{
    RoundKeys keys{};
    std::uint64_t key[8] = {};
    for (int r = 0; r < kRounds; ++r) {
        std::uint64_t next[8] = {};
        Round(key, next);
        next[0] ^= kRoundConstants[static_cast<std::size_t>(r)];
        for (int i = 0; i < 8; ++i) {
            key[i] = next[i];
            keys[static_cast<std::size_t>(r)][static_cast<std::size_t>(i)] = next[i];
        }
    }
    return keys;
}

constexpr RoundKeys kZeroRoundKeys = MakeZeroRoundKeys();

inline std::uint64_t LoadBigEndian(const std::uint8_t* p)
{
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i)
        v = (v << 8) | p[i];
    return v;
}

} // namespace

Whirlpool0::Whirlpool0() = default;

const std::array<std::uint8_t, 256>& Whirlpool0::SBox()
{
    return kSBox;
}

void Whirlpool0::Reset()
{
    hash_.fill(0);
    started_ = false;
    bufferUsed_ = 0;
    length_ = 0;
}

// The eight rows stay in named variables so that the compiler keeps them in
// registers; row i of a round gathers byte k of row (i - k) mod 8.
#define W0_T(k, v) kTables[k][static_cast<std::uint8_t>((v) >> (56 - 8 * (k)))]
#define W0_ROW(in, i0, i1, i2, i3, i4, i5, i6, i7)                                                           \
    (W0_T(0, in##i0) ^ W0_T(1, in##i1) ^ W0_T(2, in##i2) ^ W0_T(3, in##i3) ^ W0_T(4, in##i4) ^               \
     W0_T(5, in##i5) ^ W0_T(6, in##i6) ^ W0_T(7, in##i7))
#define W0_ROUND(out, in)                                                                                    \
    out##0 = W0_ROW(in, 0, 7, 6, 5, 4, 3, 2, 1);                                                             \
    out##1 = W0_ROW(in, 1, 0, 7, 6, 5, 4, 3, 2);                                                             \
    out##2 = W0_ROW(in, 2, 1, 0, 7, 6, 5, 4, 3);                                                             \
    out##3 = W0_ROW(in, 3, 2, 1, 0, 7, 6, 5, 4);                                                             \
    out##4 = W0_ROW(in, 4, 3, 2, 1, 0, 7, 6, 5);                                                             \
    out##5 = W0_ROW(in, 5, 4, 3, 2, 1, 0, 7, 6);                                                             \
    out##6 = W0_ROW(in, 6, 5, 4, 3, 2, 1, 0, 7);                                                             \
    out##7 = W0_ROW(in, 7, 6, 5, 4, 3, 2, 1, 0)

void Whirlpool0::ProcessBlock(const std::uint8_t* block)
{
    std::uint64_t m[8];
    for (int i = 0; i < 8; ++i)
        m[i] = LoadBigEndian(block + 8 * i);
    std::uint64_t k0 = hash_[0], k1 = hash_[1], k2 = hash_[2], k3 = hash_[3];
    std::uint64_t k4 = hash_[4], k5 = hash_[5], k6 = hash_[6], k7 = hash_[7];
    std::uint64_t s0 = m[0] ^ k0, s1 = m[1] ^ k1, s2 = m[2] ^ k2, s3 = m[3] ^ k3;
    std::uint64_t s4 = m[4] ^ k4, s5 = m[5] ^ k5, s6 = m[6] ^ k6, s7 = m[7] ^ k7;
    std::uint64_t t0, t1, t2, t3, t4, t5, t6, t7;
    for (std::size_t r = 0; r < kRounds; ++r) {
        if (started_) {
            W0_ROUND(t, k);
            k0 = t0 ^ kRoundConstants[r];
            k1 = t1, k2 = t2, k3 = t3, k4 = t4, k5 = t5, k6 = t6, k7 = t7;
        } else {
            // First block: the chaining value is zero, its round keys are known.
            const auto& key = kZeroRoundKeys[r];
            k0 = key[0], k1 = key[1], k2 = key[2], k3 = key[3], k4 = key[4], k5 = key[5], k6 = key[6],
            k7 = key[7];
        }
        W0_ROUND(t, s);
        s0 = t0 ^ k0, s1 = t1 ^ k1, s2 = t2 ^ k2, s3 = t3 ^ k3;
        s4 = t4 ^ k4, s5 = t5 ^ k5, s6 = t6 ^ k6, s7 = t7 ^ k7;
    }
    started_ = true;
    // Miyaguchi-Preneel: the new chaining value also folds in the block.
    hash_[0] ^= s0 ^ m[0], hash_[1] ^= s1 ^ m[1], hash_[2] ^= s2 ^ m[2], hash_[3] ^= s3 ^ m[3];
    hash_[4] ^= s4 ^ m[4], hash_[5] ^= s5 ^ m[5], hash_[6] ^= s6 ^ m[6], hash_[7] ^= s7 ^ m[7];
}

#undef W0_ROUND
#undef W0_ROW
#undef W0_T

void Whirlpool0::Add(const std::uint8_t* data, std::size_t size)
{
    length_ += size;
    if (bufferUsed_ > 0) {
        const std::size_t take = std::min(size, BlockSize - bufferUsed_);
        std::memcpy(buffer_.data() + bufferUsed_, data, take);
        bufferUsed_ += take;
        data += take;
        size -= take;
        if (bufferUsed_ < BlockSize)
            return;
        ProcessBlock(buffer_.data());
        bufferUsed_ = 0;
    }
    for (; size >= BlockSize; data += BlockSize, size -= BlockSize)
        ProcessBlock(data);
    if (size > 0) {
        std::memcpy(buffer_.data(), data, size);
        bufferUsed_ = size;
    }
}

Whirlpool0::Digest Whirlpool0::Finish()
{
    const std::uint64_t bitLength = length_ * 8;
    // A one bit, zeros up to 32 bytes before the block end, then the
    // 256-bit big-endian length.
    buffer_[bufferUsed_++] = 0x80;
    if (bufferUsed_ > BlockSize - 32) {
        std::memset(buffer_.data() + bufferUsed_, 0, BlockSize - bufferUsed_);
        ProcessBlock(buffer_.data());
        bufferUsed_ = 0;
    }
    std::memset(buffer_.data() + bufferUsed_, 0, BlockSize - bufferUsed_);
    for (int i = 0; i < 8; ++i)
        buffer_[BlockSize - 1 - static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(bitLength >> (8 * i));
    ProcessBlock(buffer_.data());

    Digest digest{};
    for (std::size_t i = 0; i < 8; ++i)
        for (std::size_t j = 0; j < 8; ++j)
            digest[8 * i + j] = ByteOf(hash_[i], static_cast<int>(j));
    Reset();
    return digest;
}

Whirlpool0::Digest Whirlpool0::Hash(const std::uint8_t* data, std::size_t size)
{
    Whirlpool0 h;
    h.Add(data, size);
    return h.Finish();
}
