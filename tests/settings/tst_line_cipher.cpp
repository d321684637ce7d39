#include "settings/Aes256Block.h"
#include "settings/Base64.h"
#include "settings/LineCipher.h"
#include "settings/TextCipher.h"
#include "settings/Whirlpool0.h"
#include "util/TarnwellError.h"

#include <QtTest>

namespace {

const std::uint8_t* Bytes(const QByteArray& a)
{
    return reinterpret_cast<const std::uint8_t*>(a.constData());
}

QByteArray Utf16Le(const QString& text)
{
    QByteArray out;
    for (QChar c : text) {
        out.append(static_cast<char>(c.unicode() & 0xFF));
        out.append(static_cast<char>(c.unicode() >> 8));
    }
    return out;
}

QByteArray BigEndian32(quint32 v)
{
    QByteArray out(4, '\0');
    qToBigEndian(v, out.data());
    return out;
}

// The line format written out plainly from its definition, sharing only the
// two primitives (both checked against published answers), so that the
// cipher's own chaining, key derivation and layout are checked independently.
QByteArray ReferenceLine(const QString& text, const QString& passphrase, const QByteArray& salt)
{
    const QByteArray p = Utf16Le(passphrase);
    QByteArray key;
    for (quint32 i = 0; i < 32; ++i) {
        const QByteArray input = BigEndian32(i) + key + BigEndian32(1) + BigEndian32(16) + salt +
                                 BigEndian32(static_cast<quint32>(p.size())) + p;
        std::uint8_t x = 0;
        for (std::uint8_t b : Whirlpool0::Hash(Bytes(input), static_cast<std::size_t>(input.size())))
            x ^= b;
        key.append(static_cast<char>(x));
    }
    Aes256Block aes;
    aes.SetKey(Bytes(key));
    auto encrypt = [&aes](const QByteArray& block) {
        QByteArray out(16, '\0');
        aes.Encrypt(Bytes(block), reinterpret_cast<std::uint8_t*>(out.data()));
        return out;
    };

    const QByteArray plain = Utf16Le(text);
    QByteArray f = encrypt(QByteArray(16, '\xFF'));
    QByteArray cipher;
    qsizetype pos = 0;
    for (; pos + 16 <= plain.size(); pos += 16) {
        QByteArray x = plain.mid(pos, 16);
        for (int k = 0; k < 16; ++k)
            x[k] = static_cast<char>(x[k] ^ f[k]);
        f = encrypt(x);
        cipher += f;
    }
    for (; pos < plain.size(); ++pos) {
        const QByteArray t = encrypt(f);
        const char c = static_cast<char>(plain[pos] ^ t[0]);
        f = f.mid(1) + c;
        cipher += c;
    }
    return (salt + cipher + encrypt(f)).toBase64();
}

LineCipher::Salt SaltOf(const QByteArray& bytes)
{
    LineCipher::Salt salt{};
    std::copy(bytes.begin(), bytes.end(), salt.begin());
    return salt;
}

QString TextOfLength(int units)
{
    QString text;
    for (int i = 0; i < units; ++i)
        text.append(QChar(u'a' + i % 26));
    return text;
}

bool Deciphers(const QString& base64, const QString& passphrase, QString* plain = nullptr)
{
    try {
        const QString text = DecipherText(base64, passphrase);
        if (plain)
            *plain = text;
        return true;
    } catch (const TarnwellError& e) {
        if (e.Message() != QStringLiteral("Invalid data"))
            qWarning("unexpected error text: %s", qPrintable(e.Message()));
        return false;
    }
}

} // namespace

class TestLineCipher : public QObject {
    Q_OBJECT
private slots:
    void aes256KnownAnswer();
    void aes256RekeyingDecrypts();
    void base64Decoding_data();
    void base64Decoding();
    void matchesTheFormatBuiltFromItsDefinition_data();
    void matchesTheFormatBuiltFromItsDefinition();
    void roundTrip_data();
    void roundTrip();
    void freshSaltEveryTime();
    void changedBytesAreCaught_data();
    void changedBytesAreCaught();
    void malformedTextIsRejected_data();
    void malformedTextIsRejected();
    void strayCharactersAreSkipped();
    void wrongPassphraseIsRejected();
};

void TestLineCipher::aes256KnownAnswer()
{
    // FIPS-197 appendix C.3.
    const QByteArray key =
        QByteArray::fromHex("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f");
    const QByteArray plain = QByteArray::fromHex("00112233445566778899aabbccddeeff");
    const QByteArray expected = QByteArray::fromHex("8ea2b7ca516745bfeafc49904b496089");
    Aes256Block aes;
    aes.SetKey(Bytes(key));
    QByteArray out(16, '\0');
    aes.Encrypt(Bytes(plain), reinterpret_cast<std::uint8_t*>(out.data()));
    QCOMPARE(out.toHex(), expected.toHex());
    aes.Decrypt(Bytes(expected), reinterpret_cast<std::uint8_t*>(out.data()));
    QCOMPARE(out.toHex(), plain.toHex());
}

void TestLineCipher::aes256RekeyingDecrypts()
{
    // Every line has its own key: a decryption after a new key must use it.
    Aes256Block aes;
    const QByteArray block = QByteArray::fromHex("00112233445566778899aabbccddeeff");
    QByteArray cipher(16, '\0');
    QByteArray back(16, '\0');
    for (char fill : {'\x01', '\x02', '\x03'}) {
        const QByteArray key(32, fill);
        aes.SetKey(Bytes(key));
        aes.Encrypt(Bytes(block), reinterpret_cast<std::uint8_t*>(cipher.data()));
        aes.Decrypt(Bytes(cipher), reinterpret_cast<std::uint8_t*>(back.data()));
        QCOMPARE(back.toHex(), block.toHex());
    }
}

void TestLineCipher::base64Decoding_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("no padding") << QByteArray("TWFu") << QByteArray("Man");
    QTest::newRow("one pad") << QByteArray("TWE=") << QByteArray("Ma");
    QTest::newRow("two pads") << QByteArray("TQ==") << QByteArray("M");
    QTest::newRow("line end and blanks skipped") << QByteArray(" TW\r\nFu\t") << QByteArray("Man");
    QTest::newRow("strangers skipped") << QByteArray("T*W#F.u") << QByteArray("Man");
    QTest::newRow("= ends the data") << QByteArray("TWE=TWFu") << QByteArray("Ma");
    QTest::newRow("all of the alphabet") << QByteArray("+/+/") << QByteArray("\xfb\xff\xbf");
    QTest::newRow("empty") << QByteArray() << QByteArray();
}

void TestLineCipher::base64Decoding()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Base64Decode(QByteArrayView(text)), bytes);
    QCOMPARE(Base64Decode(QStringView(QString::fromLatin1(text))), bytes);
}

void TestLineCipher::matchesTheFormatBuiltFromItsDefinition_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("passphrase");
    QTest::newRow("empty") << QString() << QStringLiteral("pass");
    QTest::newRow("tail only") << QStringLiteral("<S><k>") << QStringLiteral("pass");
    QTest::newRow("one block") << QStringLiteral("<S><k>v1") << QStringLiteral("pass");
    QTest::newRow("blocks and tail") << QStringLiteral("<Settings><upc>2026-12-09") << QStringLiteral("pass");
    QTest::newRow("non-ASCII") << QStringLiteral("<Account/Zürich><FtpPass>€x") << QStringLiteral("Päss ☃");
    QTest::newRow("empty passphrase") << QStringLiteral("<a><b>c") << QString();
}

void TestLineCipher::matchesTheFormatBuiltFromItsDefinition()
{
    QFETCH(QString, text);
    QFETCH(QString, passphrase);
    const QByteArray salt = QByteArray::fromHex("000102030405060708090a0b0c0d0e0f");
    const QByteArray reference = ReferenceLine(text, passphrase, salt);

    // A line another writer made reads, and ours is byte for byte the same.
    QString plain;
    QVERIFY(Deciphers(QString::fromLatin1(reference), passphrase, &plain));
    QCOMPARE(plain, text);
    LineCipher cipher(passphrase);
    QCOMPARE(cipher.EncryptWithSalt(text, SaltOf(salt)), reference);
}

void TestLineCipher::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("passphrase");
    // 0 to 40 code units: empty, tail only, whole blocks, blocks and a tail.
    for (int units = 0; units <= 40; ++units)
        QTest::addRow("%d units", units) << TextOfLength(units) << QStringLiteral("passphrase");
    QTest::newRow("umlaut and euro") << QStringLiteral("Zürich €") << QStringLiteral("passphrase");
    QTest::newRow("surrogate pair") << QStringLiteral("a\U0001F600b") << QStringLiteral("passphrase");
    QTest::newRow("lone surrogate kept") << QString(QChar(0xD800)) << QStringLiteral("passphrase");
    QTest::newRow("leading U+FEFF kept")
        << (QString(QChar(0xFEFF)) + QStringLiteral("x")) << QStringLiteral("passphrase");
    QTest::newRow("angle brackets") << QStringLiteral("<x><y><b>z</b>") << QStringLiteral("passphrase");
    QTest::newRow("non-ASCII passphrase") << QStringLiteral("text") << QStringLiteral("Grüße €\U0001F511");
}

void TestLineCipher::roundTrip()
{
    QFETCH(QString, text);
    QFETCH(QString, passphrase);
    const QString base64 = EncipherText(text, passphrase);
    // salt + 2 bytes per code unit + check value
    QCOMPARE(Base64Decode(QStringView(base64)).size(), 32 + 2 * text.size());
    QString plain;
    QVERIFY(Deciphers(base64, passphrase, &plain));
    QCOMPARE(plain, text);
}

void TestLineCipher::freshSaltEveryTime()
{
    const QString a = EncipherText(QStringLiteral("same"), QStringLiteral("pw"));
    const QString b = EncipherText(QStringLiteral("same"), QStringLiteral("pw"));
    QVERIFY(a != b);
    QVERIFY(Base64Decode(QStringView(a)).left(16) != Base64Decode(QStringView(b)).left(16));
}

void TestLineCipher::changedBytesAreCaught_data()
{
    QTest::addColumn<int>("units");
    QTest::newRow("tail only: 10 bytes") << 5;
    QTest::newRow("one block: 16 bytes") << 8;
    QTest::newRow("two blocks and a tail: 42 bytes") << 21;
    QTest::newRow("long: 80 bytes") << 40;
}

void TestLineCipher::changedBytesAreCaught()
{
    // The check value is made from the feedback register, which on reading
    // holds the last 16 cipher bytes: a change to the salt, the check value
    // or those bytes fails; a change further up the cipher text only
    // garbles the text (the format offers no more than that).
    QFETCH(int, units);
    const QString text = TextOfLength(units);
    const QByteArray decoded = Base64Decode(QStringView(EncipherText(text, QStringLiteral("pw"))));
    const qsizetype n = decoded.size() - 32;
    for (qsizetype i = 0; i < decoded.size(); ++i) {
        QByteArray changed = decoded;
        changed[i] = static_cast<char>(changed[i] ^ 0x01);
        QString plain;
        const bool read = Deciphers(QString::fromLatin1(changed.toBase64()), QStringLiteral("pw"), &plain);
        const bool covered = i < 16 || i >= n;
        QVERIFY2(read != covered, qPrintable(QStringLiteral("byte %1 of %2").arg(i).arg(decoded.size())));
        if (read)
            QVERIFY2(plain != text, qPrintable(QStringLiteral("byte %1 changed nothing").arg(i)));
    }
}

void TestLineCipher::malformedTextIsRejected_data()
{
    QTest::addColumn<QString>("text");
    const QByteArray good =
        Base64Decode(QStringView(EncipherText(QStringLiteral("abc"), QStringLiteral("pw"))));
    QTest::newRow("empty") << QString();
    QTest::newRow("only junk") << QStringLiteral("!!!! ????");
    QTest::newRow("shorter than salt and check") << QString::fromLatin1(good.left(31).toBase64());
    QTest::newRow("odd cipher length") << QString::fromLatin1(good.left(good.size() - 1).toBase64());
    QTest::newRow("a byte too many") << QString::fromLatin1((good + 'x').toBase64());
    QTest::newRow("check value dropped") << QString::fromLatin1(good.left(good.size() - 16).toBase64());
}

void TestLineCipher::malformedTextIsRejected()
{
    QFETCH(QString, text);
    QVERIFY(!Deciphers(text, QStringLiteral("pw")));
}

void TestLineCipher::strayCharactersAreSkipped()
{
    const QString text = QStringLiteral("<Settings><upc>x");
    QString base64 = EncipherText(text, QStringLiteral("pw"));
    base64.insert(10, QStringLiteral(" \r\n\u00e9"));
    base64.append(QStringLiteral("\r\n"));
    QString plain;
    QVERIFY(Deciphers(base64, QStringLiteral("pw"), &plain));
    QCOMPARE(plain, text);
}

void TestLineCipher::wrongPassphraseIsRejected()
{
    const QString base64 = EncipherText(QStringLiteral("secret"), QStringLiteral("right"));
    QVERIFY(!Deciphers(base64, QStringLiteral("wrong")));
    QVERIFY(!Deciphers(base64, QStringLiteral("Right")));
    QVERIFY(Deciphers(base64, QStringLiteral("right")));
}

QTEST_APPLESS_MAIN(TestLineCipher)
#include "tst_line_cipher.moc"
