#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

// Base64 (RFC 4648 alphabet) as the settings file reads it: characters outside
// the alphabet are skipped and "=" ends the data, so line ends, blanks or a
// stray character never make an otherwise sound line unreadable.
QByteArray Base64Decode(QByteArrayView text);
QByteArray Base64Decode(QStringView text);
// Standard base64 with "=" padding and no line breaks.
QByteArray Base64Encode(QByteArrayView bytes);
