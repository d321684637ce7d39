#include "Aes256Block.h"

#include "util/TarnwellError.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <cstring>

namespace {

[[noreturn]] void Fail(const char* what)
{
    throw TarnwellError(QStringLiteral("AES-256: %1 failed").arg(QLatin1String(what)));
}

void Init(EVP_CIPHER_CTX* ctx, const std::uint8_t* key, bool encrypt)
{
    if (EVP_CipherInit_ex(ctx, EVP_aes_256_ecb(), nullptr, key, nullptr, encrypt ? 1 : 0) != 1)
        Fail("key set-up");
    EVP_CIPHER_CTX_set_padding(ctx, 0);
}

void Run(EVP_CIPHER_CTX* ctx, const std::uint8_t* in, std::uint8_t* out)
{
    int outLength = 0;
    if (EVP_CipherUpdate(ctx, out, &outLength, in, Aes256Block::BlockSize) != 1 ||
        outLength != Aes256Block::BlockSize)
        Fail("block operation");
}

} // namespace

Aes256Block::Aes256Block() : encrypt_(EVP_CIPHER_CTX_new()), decrypt_(EVP_CIPHER_CTX_new())
{
    if (!encrypt_ || !decrypt_) {
        EVP_CIPHER_CTX_free(encrypt_);
        EVP_CIPHER_CTX_free(decrypt_);
        Fail("context allocation");
    }
}

Aes256Block::~Aes256Block()
{
    EVP_CIPHER_CTX_free(encrypt_);
    EVP_CIPHER_CTX_free(decrypt_);
    OPENSSL_cleanse(key_, sizeof key_);
}

void Aes256Block::SetKey(const std::uint8_t* key)
{
    std::memcpy(key_, key, KeySize);
    Init(encrypt_, key_, true);
    // The decryption schedule is made only when a decryption asks for it.
    decryptKeyed_ = false;
}

void Aes256Block::Encrypt(const std::uint8_t* in, std::uint8_t* out)
{
    Run(encrypt_, in, out);
}

void Aes256Block::Decrypt(const std::uint8_t* in, std::uint8_t* out)
{
    if (!decryptKeyed_) {
        Init(decrypt_, key_, false);
        decryptKeyed_ = true;
    }
    Run(decrypt_, in, out);
}
