#include "Base64.h"

namespace {

int SextetOf(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

} // namespace

QByteArray Base64Decode(QByteArrayView text)
{
    QByteArray out;
    out.reserve(text.size() * 3 / 4 + 3);
    unsigned bits = 0;
    int bitCount = 0;
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '=')
            break;
        const int sextet = SextetOf(c);
        if (sextet < 0)
            continue;
        bits = ((bits << 6) | static_cast<unsigned>(sextet)) & 0xFFFFu;
        bitCount += 6;
        if (bitCount >= 8) {
            bitCount -= 8;
            out.append(static_cast<char>((bits >> bitCount) & 0xFFu));
        }
    }
    // Leftover bits (fewer than eight) carry no byte.
    return out;
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
