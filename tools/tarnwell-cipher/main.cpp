// tarnwell-cipher encipher PASSPHRASE TEXT   -> base64 on standard output
// tarnwell-cipher decipher PASSPHRASE BASE64 -> plain text on standard output
// Arguments are taken as UTF-8 whatever the locale says, so that constants
// made on one machine decipher the same everywhere.
#include "settings/TextCipher.h"
#include "util/TarnwellError.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

namespace {

void Print(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 4 || (std::strcmp(argv[1], "encipher") != 0 && std::strcmp(argv[1], "decipher") != 0)) {
        Print(stderr,
              QStringLiteral("usage: tarnwell-cipher encipher PASSPHRASE TEXT | decipher PASSPHRASE BASE64"));
        return 2;
    }
    const QString passphrase = QString::fromUtf8(argv[2]);
    const QString text = QString::fromUtf8(argv[3]);
    try {
        if (std::strcmp(argv[1], "encipher") == 0)
            Print(stdout, EncipherText(text, passphrase));
        else
            Print(stdout, DecipherText(text, passphrase));
    } catch (const TarnwellError& e) {
        Print(stderr, e.Message());
        return 1;
    }
    return 0;
}
