// One line of the settings file deciphered under the store's passphrase,
// and one enciphered constant under the text passphrase, whatever the bytes;
// and any text enciphered under a salt from the input reads back unchanged.
#include "FuzzSupport.h"
#include "settings/LineCipher.h"
#include "settings/StoreSetup.h"
#include "settings/TextCipher.h"
#include "util/TarnwellError.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QString storePassphrase = StoreNames().Passphrase;
    static const QString textPassphrase = TextPassphrase();
    const QByteArray line = FuzzBytes(data, size);
    LineCipher cipher(storePassphrase);
    (void)cipher.Decrypt(QByteArrayView(line));
    try {
        (void)DecipherText(QString::fromLatin1(line), textPassphrase);
    } catch (const TarnwellError&) {
        // "Invalid data": what a damaged text must give.
    }

    // The input as UTF-16LE text, lone surrogates and all.
    QString text(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8)));
    LineCipher::Salt salt{};
    std::copy_n(data, std::min(size, salt.size()), salt.begin());
    const std::optional<QString> back = cipher.Decrypt(cipher.EncryptWithSalt(text, salt));
    FUZZ_CHECK(back && *back == text);
    return 0;
}
