#pragma once

#include "Aes256Block.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// The encryption of one settings line (also used for the enciphered
// constants): a 32-byte key derived per line from the passphrase and a
// 16-byte salt with Whirlpool-0, AES-256 chaining with a byte-wise
// cipher-feedback tail, a check value, all carried as base64 of
// salt | cipher text | check value. The text is encrypted as UTF-16LE.
class LineCipher {
public:
    static constexpr int SaltSize = 16;
    static constexpr int CheckSize = 16;
    using Salt = std::array<std::uint8_t, SaltSize>;
    using Key = std::array<std::uint8_t, Aes256Block::KeySize>;

    explicit LineCipher(const QString& passphrase);

    // Base64 of one line under a fresh random salt.
    QByteArray Encrypt(const QString& text);
    QByteArray EncryptWithSalt(const QString& text, const Salt& salt);
    // The plain text, or nothing when the line is not one of ours under this
    // passphrase (too short, odd length, check value differs).
    std::optional<QString> Decrypt(QByteArrayView base64);
    std::optional<QString> DecryptDecoded(const QByteArray& bytes);

    // Whole files at once: the lines are shared out over the processor's
    // cores (each line is independent and costs 32 hashes); results keep
    // the order of the input.
    static QList<QByteArray> EncryptAll(const QStringList& lines, const QString& passphrase);
    static std::vector<std::optional<QString>> DecryptAll(const QList<QByteArray>& lines,
                                                          const QString& passphrase);

    Key DeriveKey(const Salt& salt) const;
    static Salt RandomSalt();

private:
    // Runs the chaining over `size` bytes in place; leaves the check value.
    void Chain(std::uint8_t* data, int size, bool encrypt, std::uint8_t* check);

    QByteArray passphraseTail_; // everything the key hashes after the bytes derived so far
    Aes256Block aes_;
};
