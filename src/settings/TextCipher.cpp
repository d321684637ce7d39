#include "TextCipher.h"

#include "Base64.h"
#include "LineCipher.h"
#include "util/TarnwellError.h"

QString EncipherText(const QString& text, const QString& passphrase)
{
    LineCipher cipher(passphrase);
    return QString::fromLatin1(cipher.Encrypt(text));
}

QString DecipherText(const QString& base64, const QString& passphrase)
{
    LineCipher cipher(passphrase);
    const auto plain = cipher.DecryptDecoded(Base64Decode(QStringView(base64)));
    if (!plain)
        throw TarnwellError(QStringLiteral("Invalid data"));
    return *plain;
}
