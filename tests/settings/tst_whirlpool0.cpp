#include "settings/Whirlpool0.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>

namespace {

QByteArray Hex(const Whirlpool0::Digest& digest)
{
    return QByteArray(reinterpret_cast<const char*>(digest.data()), static_cast<qsizetype>(digest.size()))
        .toHex()
        .toUpper();
}

Whirlpool0::Digest HashOf(const QByteArray& data)
{
    return Whirlpool0::Hash(reinterpret_cast<const std::uint8_t*>(data.constData()),
                            static_cast<std::size_t>(data.size()));
}

QList<QByteArray> VectorFileLines()
{
    QFile file(QStringLiteral(TARNWELL_TEST_DATA "/whirlpool0-vectors.txt"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("whirlpool0-vectors.txt is missing");
    return file.readAll().split('\n');
}

} // namespace

class TestWhirlpool0 : public QObject {
    Q_OBJECT
private slots:
    void knownAnswers_data();
    void knownAnswers();
    void isNotALaterVersion();
    void sBoxIsThePublishedOne();
    void piecewiseInputGivesSameDigest_data();
    void piecewiseInputGivesSameDigest();
};

void TestWhirlpool0::knownAnswers_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("digest");
    int count = 0;
    for (const QByteArray& line : VectorFileLines()) {
        if (!line.startsWith('"'))
            continue;
        const qsizetype close = line.indexOf('"', 1);
        const QByteArray input = line.mid(1, close - 1);
        const QByteArray digest = line.mid(close + 1).trimmed();
        QTest::newRow(input.left(24).constData()) << input << digest;
        ++count;
    }
    QVERIFY2(count >= 9, "too few vectors found in the file");
}

void TestWhirlpool0::knownAnswers()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, digest);
    QCOMPARE(Hex(HashOf(input)), digest);
}

void TestWhirlpool0::isNotALaterVersion()
{
    // The file lists what the later revisions give for the empty string.
    const QByteArray ours = Hex(HashOf(QByteArray()));
    int wrongVersions = 0;
    const QRegularExpression digestLine(
        QStringLiteral("^#\\s+(final Whirlpool|Whirlpool-T).*:\\s+([0-9A-F]{128})"));
    for (const QByteArray& line : VectorFileLines()) {
        const auto match = digestLine.match(QString::fromLatin1(line));
        if (!match.hasMatch())
            continue;
        ++wrongVersions;
        QVERIFY2(ours != match.captured(2).toLatin1(), qPrintable(match.captured(1)));
    }
    QCOMPARE(wrongVersions, 2);
}

void TestWhirlpool0::sBoxIsThePublishedOne()
{
    QByteArray published;
    bool inTable = false;
    for (const QByteArray& line : VectorFileLines()) {
        if (line.contains("S-box, index 0 first")) {
            inTable = true;
            continue;
        }
        const QByteArray hex = line.mid(1).trimmed();
        if (inTable && hex.size() == 128)
            published += QByteArray::fromHex(hex);
        else
            inTable = false;
    }
    QCOMPARE(published.size(), 256);
    const auto& ours = Whirlpool0::SBox();
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(ours.data()), 256).toHex(), published.toHex());
}

void TestWhirlpool0::piecewiseInputGivesSameDigest_data()
{
    // Lengths around the block size and the 32-byte room for the length field.
    QTest::addColumn<int>("length");
    for (int length : {0, 1, 31, 32, 33, 63, 64, 65, 95, 96, 97, 128, 200})
        QTest::addRow("%d bytes", length) << length;
}

void TestWhirlpool0::piecewiseInputGivesSameDigest()
{
    QFETCH(int, length);
    QByteArray data(length, Qt::Uninitialized);
    for (int i = 0; i < length; ++i)
        data[i] = static_cast<char>(i * 37 + 11);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.constData());
    const auto whole = HashOf(data);

    // One object is reused across splits, as the key derivation does.
    Whirlpool0 hash;
    for (int split = 0; split <= length; ++split) {
        hash.Add(bytes, static_cast<std::size_t>(split));
        hash.Add(bytes + split, static_cast<std::size_t>(length - split));
        QCOMPARE(Hex(hash.Finish()), Hex(whole));
    }
}

QTEST_APPLESS_MAIN(TestWhirlpool0)
#include "tst_whirlpool0.moc"
