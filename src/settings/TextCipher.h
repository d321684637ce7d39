#pragma once

#include <QString>

// Texts the program keeps only in enciphered form (folder names, captions,
// addresses) are made and read with the settings line cipher.

// Base64 of the text under the passphrase, with a fresh random salt.
QString EncipherText(const QString& text, const QString& passphrase);
// Reverses EncipherText; throws TarnwellError("Invalid data") for a damaged
// text or a wrong passphrase.
QString DecipherText(const QString& base64, const QString& passphrase);
