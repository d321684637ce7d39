#include "LineCipher.h"

#include "Base64.h"
#include "Whirlpool0.h"
#include "util/TarnwellError.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <openssl/crypto.h>
#include <openssl/rand.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <thread>

namespace {

constexpr int kBlock = Aes256Block::BlockSize;
// The derivation index and the salt length, hashed with every key byte.
constexpr std::uint32_t kDerivationIndex = 1;

void AppendBigEndian32(QByteArray& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(static_cast<char>((v >> shift) & 0xFFu));
}

// Code units as they are, lone surrogates too.
QByteArray Utf16Le(const QString& text)
{
    QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

// A leading U+FEFF is part of the text, not a byte-order mark to drop; an
// odd last byte carries no character.
QString FromUtf16Le(const std::uint8_t* bytes, qsizetype size)
{
    QStringDecoder decoder(QStringConverter::Utf16LE,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(bytes, size & ~qsizetype(1)));
}

// Runs work(cipher, begin, end) over [0, count) in chunks on up to one
// thread per core, each with a cipher of its own; joins before returning and
// passes on the first error.
template <typename Work> void ForEachChunk(qsizetype count, const QString& passphrase, Work work)
{
    constexpr qsizetype kLinesPerThread = 256;
    const auto cores = static_cast<qsizetype>(std::max(1u, std::thread::hardware_concurrency()));
    const qsizetype threads =
        std::clamp<qsizetype>(count / kLinesPerThread, 1, std::min<qsizetype>(cores, 8));
    if (threads == 1) {
        LineCipher cipher(passphrase);
        work(cipher, 0, count);
        return;
    }
    std::vector<std::exception_ptr> errors(static_cast<std::size_t>(threads));
    std::vector<std::thread> pool;
    const qsizetype chunk = (count + threads - 1) / threads;
    for (qsizetype t = 0; t < threads; ++t) {
        pool.emplace_back([&, t] {
            try {
                LineCipher cipher(passphrase);
                work(cipher, t * chunk, std::min(count, (t + 1) * chunk));
            } catch (...) {
                errors[static_cast<std::size_t>(t)] = std::current_exception();
            }
        });
    }
    for (auto& thread : pool)
        thread.join();
    for (const auto& error : errors)
        if (error)
            std::rethrow_exception(error);
}

} // namespace

QList<QByteArray> LineCipher::EncryptAll(const QStringList& lines, const QString& passphrase)
{
    QList<QByteArray> out(lines.size());
    ForEachChunk(lines.size(), passphrase, [&](LineCipher& cipher, qsizetype begin, qsizetype end) {
        for (qsizetype i = begin; i < end; ++i)
            out[i] = cipher.Encrypt(lines[i]);
    });
    return out;
}

std::vector<std::optional<QString>> LineCipher::DecryptAll(const QList<QByteArray>& lines,
                                                           const QString& passphrase)
{
    std::vector<std::optional<QString>> out(static_cast<std::size_t>(lines.size()));
    ForEachChunk(lines.size(), passphrase, [&](LineCipher& cipher, qsizetype begin, qsizetype end) {
        for (qsizetype i = begin; i < end; ++i)
            out[static_cast<std::size_t>(i)] = cipher.Decrypt(lines[i]);
    });
    return out;
}

LineCipher::LineCipher(const QString& passphrase)
{
    const QByteArray p = Utf16Le(passphrase);
    AppendBigEndian32(passphraseTail_, kDerivationIndex);
    AppendBigEndian32(passphraseTail_, SaltSize);
    passphraseTail_.append(SaltSize, '\0'); // the salt goes here
    AppendBigEndian32(passphraseTail_, static_cast<std::uint32_t>(p.size()));
    passphraseTail_.append(p);
}

LineCipher::Key LineCipher::DeriveKey(const Salt& salt) const
{
    QByteArray tail = passphraseTail_;
    std::memcpy(tail.data() + 8, salt.data(), SaltSize);
    const auto* tailBytes = reinterpret_cast<const std::uint8_t*>(tail.constData());

    Key key{};
    Whirlpool0 hash;
    for (std::uint32_t i = 0; i < key.size(); ++i) {
        const std::uint8_t counter[4] = {static_cast<std::uint8_t>(i >> 24),
                                         static_cast<std::uint8_t>(i >> 16),
                                         static_cast<std::uint8_t>(i >> 8), static_cast<std::uint8_t>(i)};
        hash.Add(counter, sizeof counter);
        hash.Add(key.data(), i);
        hash.Add(tailBytes, static_cast<std::size_t>(tail.size()));
        std::uint8_t folded = 0;
        for (std::uint8_t b : hash.Finish())
            folded ^= b;
        key[i] = folded;
    }
    OPENSSL_cleanse(tail.data(), static_cast<std::size_t>(tail.size()));
    return key;
}

LineCipher::Salt LineCipher::RandomSalt()
{
    Salt salt{};
    if (RAND_bytes(salt.data(), SaltSize) != 1)
        throw TarnwellError(QStringLiteral("No random bytes for the settings cipher"));
    return salt;
}

void LineCipher::Chain(std::uint8_t* data, int size, bool encrypt, std::uint8_t* check)
{
    std::uint8_t feedback[kBlock];
    std::uint8_t work[kBlock];
    std::memset(work, 0xFF, kBlock);
    aes_.Encrypt(work, feedback);

    const int fullBlocks = size / kBlock;
    for (int j = 0; j < fullBlocks; ++j) {
        std::uint8_t* block = data + j * kBlock;
        if (encrypt) {
            for (int k = 0; k < kBlock; ++k)
                work[k] = block[k] ^ feedback[k];
            aes_.Encrypt(work, block);
            std::memcpy(feedback, block, kBlock);
        } else {
            aes_.Decrypt(block, work);
            for (int k = 0; k < kBlock; ++k) {
                const std::uint8_t cipher = block[k];
                block[k] = work[k] ^ feedback[k];
                feedback[k] = cipher;
            }
        }
    }
    // The tail shorter than a block: 8-bit cipher feedback.
    for (int k = fullBlocks * kBlock; k < size; ++k) {
        aes_.Encrypt(feedback, work);
        std::memmove(feedback, feedback + 1, kBlock - 1);
        const std::uint8_t cipher = encrypt ? static_cast<std::uint8_t>(data[k] ^ work[0]) : data[k];
        data[k] ^= work[0];
        feedback[kBlock - 1] = cipher;
    }
    aes_.Encrypt(feedback, check);
}

QByteArray LineCipher::Encrypt(const QString& text)
{
    return EncryptWithSalt(text, RandomSalt());
}

QByteArray LineCipher::EncryptWithSalt(const QString& text, const Salt& salt)
{
    const Key key = DeriveKey(salt);
    aes_.SetKey(key.data());

    QByteArray plain = Utf16Le(text);
    QByteArray bytes(SaltSize + plain.size() + CheckSize, Qt::Uninitialized);
    auto* out = reinterpret_cast<std::uint8_t*>(bytes.data());
    std::memcpy(out, salt.data(), SaltSize);
    std::memcpy(out + SaltSize, plain.constData(), static_cast<std::size_t>(plain.size()));
    OPENSSL_cleanse(plain.data(), static_cast<std::size_t>(plain.size()));
    Chain(out + SaltSize, static_cast<int>(plain.size()), true, out + SaltSize + plain.size());
    return Base64Encode(bytes);
}

std::optional<QString> LineCipher::Decrypt(QByteArrayView base64)
{
    return DecryptDecoded(Base64Decode(base64));
}

std::optional<QString> LineCipher::DecryptDecoded(const QByteArray& decoded)
{
    const qsizetype n = decoded.size() - SaltSize - CheckSize;
    if (n < 0 || n % 2 != 0)
        return std::nullopt;
    QByteArray bytes = decoded;
    auto* data = reinterpret_cast<std::uint8_t*>(bytes.data());
    Salt salt{};
    std::memcpy(salt.data(), data, SaltSize);
    const Key key = DeriveKey(salt);
    aes_.SetKey(key.data());

    std::uint8_t check[CheckSize];
    Chain(data + SaltSize, static_cast<int>(n), false, check);
    if (CRYPTO_memcmp(check, data + SaltSize + n, CheckSize) != 0)
        return std::nullopt;
    return FromUtf16Le(data + SaltSize, n);
}
