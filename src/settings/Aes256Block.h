#pragma once

#include <cstdint>

struct evp_cipher_ctx_st;

// AES-256 as a bare block operation (OpenSSL, ECB without padding): the
// settings cipher builds its own chaining on top. One object keeps its
// OpenSSL contexts for many keys, which matters when every line of the
// settings file has a key of its own.
class Aes256Block {
public:
    static constexpr int BlockSize = 16;
    static constexpr int KeySize = 32;

    Aes256Block();
    ~Aes256Block();
    Aes256Block(const Aes256Block&) = delete;
    Aes256Block& operator=(const Aes256Block&) = delete;

    void SetKey(const std::uint8_t* key);
    void Encrypt(const std::uint8_t* in, std::uint8_t* out);
    void Decrypt(const std::uint8_t* in, std::uint8_t* out);

private:
    evp_cipher_ctx_st* encrypt_ = nullptr;
    evp_cipher_ctx_st* decrypt_ = nullptr;
    bool decryptKeyed_ = false;
    std::uint8_t key_[KeySize] = {};
};
