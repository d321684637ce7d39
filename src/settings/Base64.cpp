#include "Base64.h"

QByteArray Base64Decode(QByteArrayView text)
{
    // fromBase64 skips characters outside the alphabet but reads on past
    // "=", which ends the data here.
    const qsizetype end = text.indexOf('=');
    return QByteArray::fromBase64(text.first(end < 0 ? text.size() : end).toByteArray());
}

QByteArray Base64Decode(QStringView text)
{
    // Anything beyond ASCII is outside the alphabet; NUL stands in for it
    // so that it is skipped like any other stranger.
    QByteArray ascii;
    ascii.reserve(text.size());
    for (QChar c : text)
        ascii.append(c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : '\0');
    return Base64Decode(QByteArrayView(ascii));
}

QByteArray Base64Encode(QByteArrayView bytes)
{
    return bytes.toByteArray().toBase64();
}
