#include "util/ExtraCode.h"
#include "util/PeVersionReader.h"

#include "TestFolder.h"

#include <TarnwellVersion.h>

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

QString Fixture(const QString& name)
{
    return QStringLiteral(TARNWELL_TEST_DATA "/version/") + name;
}

QByteArray ReadFixture(const QString& name)
{
    return ReadFileBytes(Fixture(name));
}

#ifdef Q_OS_UNIX
// Holds bytes so that they end exactly where an unreadable page begins: a
// read past the end crashes the test instead of passing unnoticed.
class GuardedBytes {
public:
    explicit GuardedBytes(const QByteArray& bytes)
    {
        const size_t page = size_t(sysconf(_SC_PAGESIZE));
        const size_t dataPages = (size_t(bytes.size()) + page - 1) / page;
        length_ = (dataPages + 1) * page;
        void* mapped = mmap(nullptr, length_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED)
            qFatal("mmap failed");
        base_ = static_cast<char*>(mapped);
        mprotect(base_ + dataPages * page, page, PROT_NONE);
        data_ = base_ + dataPages * page - bytes.size();
        memcpy(data_, bytes.constData(), size_t(bytes.size()));
        size_ = bytes.size();
    }
    ~GuardedBytes() { munmap(base_, length_); }
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;

    QByteArrayView View() const { return QByteArrayView(data_, size_); }

private:
    char* base_ = nullptr;
    char* data_ = nullptr;
    size_t length_ = 0;
    qsizetype size_ = 0;
};
#else
class GuardedBytes {
public:
    explicit GuardedBytes(const QByteArray& bytes) : bytes_(bytes) {}
    QByteArrayView View() const { return bytes_; }

private:
    QByteArray bytes_;
};
#endif

std::optional<PeFixedVersion> ReadGuarded(const QByteArray& bytes)
{
    GuardedBytes guarded(bytes);
    return ReadPeFixedVersion(guarded.View());
}

bool SameVersion(const std::optional<PeFixedVersion>& a, const std::optional<PeFixedVersion>& b)
{
    return a && b && a->FileVersionMS == b->FileVersionMS && a->FileVersionLS == b->FileVersionLS &&
           a->ProductVersionMS == b->ProductVersionMS && a->ProductVersionLS == b->ProductVersionLS;
}

qsizetype FixedInfoOffset(const QByteArray& image)
{
    return image.indexOf(QByteArray("\xBD\x04\xEF\xFE", 4));
}

void PutU32(QByteArray& bytes, qsizetype at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}

const QStringList kVersionedFixtures{"app-1234.exe", "app-split.exe", "lib-version.dll"};

} // namespace

class TestFileVersion : public QObject {
    Q_OBJECT

private slots:
    void VersionOfFixtures_data();
    void VersionOfFixtures();
    void ProductVersionIsReadButNotShown();
    void EmptyPathIsThisProgram();
    void FormatSubstitution_data();
    void FormatSubstitution();
    void DamagedFilesOnDisk_data();
    void DamagedFilesOnDisk();
    void EveryTruncationIsSafe_data();
    void EveryTruncationIsSafe();
    void PatchedHeadersAreSafe_data();
    void PatchedHeadersAreSafe();
    void EveryDwordPatchedIsSafe_data();
    void EveryDwordPatchedIsSafe();
    void RandomBytesAreSafe();
    void RandomMutationsAreSafe();
};

void TestFileVersion::VersionOfFixtures_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("version");

    QTest::newRow("64-bit program") << Fixture("app-1234.exe") << "1.2.3.4";
    QTest::newRow("file version, not product") << Fixture("app-split.exe") << "2.1.0.37";
    QTest::newRow("32-bit library") << Fixture("lib-version.dll") << "65535.0.65534.1";
    QTest::newRow("no version resource") << Fixture("app-noversion.exe") << "";
    QTest::newRow("text file") << Fixture("version-1234.rc") << "";
    QTest::newRow("missing file") << Fixture("no-such-file.exe") << "";
    QTest::newRow("a folder") << QStringLiteral(TARNWELL_TEST_DATA "/version") << "";
}

void TestFileVersion::VersionOfFixtures()
{
    QFETCH(QString, path);
    QTEST(GetVersionString(path, "%d.%d.%d.%d"), "version");
}

void TestFileVersion::ProductVersionIsReadButNotShown()
{
    const auto version = ReadPeFixedVersionFromFile(Fixture("app-split.exe"));
    QVERIFY(version);
    QCOMPARE(version->ProductVersionMS, (9u << 16) | 8u);
    QCOMPARE(version->ProductVersionLS, (7u << 16) | 6u);
    QCOMPARE(version->FileVersionMS, (2u << 16) | 1u);
    QCOMPARE(version->FileVersionLS, 37u);
}

void TestFileVersion::EmptyPathIsThisProgram()
{
    const QString expected = QStringLiteral("%1.%2.%3.%4")
                                 .arg(TARNWELL_VERSION_MAJOR)
                                 .arg(TARNWELL_VERSION_MINOR)
                                 .arg(TARNWELL_VERSION_PATCH)
                                 .arg(TARNWELL_VERSION_TWEAK);
    QCOMPARE(GetVersionString(QString(), "%d.%d.%d.%d"), expected);
}

void TestFileVersion::FormatSubstitution_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("text");

    QTest::newRow("two parts") << "%d.%d"
                               << "2.1";
    QTest::newRow("words around") << "v%d.%d.%d (build %d)"
                                  << "v2.1.0 (build 37)";
    QTest::newRow("percent sign") << "%d%%"
                                  << "2%";
    QTest::newRow("no numbers") << "none"
                                << "none";
    QTest::newRow("empty format") << ""
                                  << "";
    QTest::newRow("more %d than numbers") << "%d.%d.%d.%d.%d"
                                          << "";
    QTest::newRow("other conversion") << "%s"
                                      << "";
    QTest::newRow("width") << "%5d"
                           << "";
    QTest::newRow("lone percent at end") << "%d %"
                                         << "";
}

void TestFileVersion::FormatSubstitution()
{
    QFETCH(QString, format);
    QTEST(GetVersionString(Fixture("app-split.exe"), format), "text");
}

void TestFileVersion::DamagedFilesOnDisk_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray good = ReadFixture("app-1234.exe");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("only the DOS header") << good.left(64);
    QTest::newRow("cut in the middle") << good.left(good.size() / 2);
    QByteArray farHeader = good;
    PutU32(farHeader, 0x3C, 0xFFFFFFF0u);
    QTest::newRow("PE header beyond the end") << farHeader;
    QByteArray noSignature = good;
    noSignature[FixedInfoOffset(good)] = 0;
    QTest::newRow("fixed info signature broken") << noSignature;
}

void TestFileVersion::DamagedFilesOnDisk()
{
    QFETCH(QByteArray, bytes);
    TestFolder folder;
    const QString path = folder.Write("damaged.exe", bytes);
    QCOMPARE(GetVersionString(path, "%d.%d.%d.%d"), QString());
}

void TestFileVersion::EveryTruncationIsSafe_data()
{
    QTest::addColumn<QString>("name");
    for (const QString& name : kVersionedFixtures)
        QTest::newRow(qPrintable(name)) << name;
}

void TestFileVersion::EveryTruncationIsSafe()
{
    QFETCH(QString, name);
    const QByteArray image = ReadFixture(name);
    QVERIFY(!image.isEmpty());
    const auto whole = ReadPeFixedVersion(image);
    QVERIFY(whole);
    const qsizetype fixedEnd = FixedInfoOffset(image) + 24;
    for (qsizetype length = 0; length < image.size(); ++length) {
        const auto cut = ReadGuarded(image.left(length));
        // Without the whole fixed information there is nothing to read;
        // beyond it only section padding is missing.
        if (length < fixedEnd)
            QVERIFY2(!cut, qPrintable(QString("length %1").arg(length)));
        else
            QVERIFY2(!cut || SameVersion(cut, whole), qPrintable(QString("length %1").arg(length)));
    }
}

void TestFileVersion::PatchedHeadersAreSafe_data()
{
    QTest::addColumn<QByteArray>("image");

    const QByteArray good = ReadFixture("app-split.exe");
    const quint32 size = quint32(good.size());
    const qsizetype peAt = qsizetype(quint8(good[0x3C]) | quint8(good[0x3D]) << 8);
    auto patched = [&](qsizetype at, quint32 value) {
        QByteArray bytes = good;
        PutU32(bytes, at, value);
        return bytes;
    };
    QTest::newRow("PE header two bytes before the end") << patched(0x3C, size - 2);
    QTest::newRow("PE header at the very end") << patched(0x3C, size);
    QTest::newRow("section count huge") << patched(peAt + 4, 0xFFFF014Cu);
    QTest::newRow("optional header size huge") << patched(peAt + 20, 0x0102FFFFu);
    // PE32: the data directories start 96 bytes into the optional header.
    QTest::newRow("resource RVA outside the image") << patched(peAt + 24 + 96 + 16, 0xFFFFFFF0u);
    QTest::newRow("too few data directories") << patched(peAt + 24 + 92, 2);
    const qsizetype key = good.indexOf(QByteArray("V\0S\0_\0V\0E\0R", 11));
    QByteArray longBlock = good;
    longBlock[key - 6] = char(0xFF);
    longBlock[key - 5] = char(0xFF);
    QTest::newRow("version block longer than its data") << longBlock;
    QByteArray badKey = good;
    badKey[key] = 'X';
    QTest::newRow("wrong block key") << badKey;
}

void TestFileVersion::PatchedHeadersAreSafe()
{
    QFETCH(QByteArray, image);
    QVERIFY(!ReadGuarded(image));
}

void TestFileVersion::EveryDwordPatchedIsSafe_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<quint32>("value");
    for (const QString& name : kVersionedFixtures) {
        for (quint32 value : {0u, 0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu, 0x10u, 0x1000u}) {
            const QString row = QString("%1 %2").arg(name).arg(value, 8, 16, QLatin1Char('0'));
            QTest::newRow(qPrintable(row)) << name << value;
        }
    }
}

void TestFileVersion::EveryDwordPatchedIsSafe()
{
    QFETCH(QString, name);
    QFETCH(quint32, value);
    const QByteArray image = ReadFixture(name);
    const auto whole = ReadPeFixedVersion(image);
    const qsizetype numbers = FixedInfoOffset(image) + 8;
    for (qsizetype at = 0; at + 4 <= image.size(); at += 2) {
        QByteArray bytes = image;
        PutU32(bytes, at, value);
        const auto result = ReadGuarded(bytes);
        // Outside the version numbers themselves a damaged field gives the
        // right version or none, never another one.
        if (at + 4 <= numbers || at >= numbers + 16)
            QVERIFY2(!result || SameVersion(result, whole), qPrintable(QString("offset %1").arg(at)));
    }
}

void TestFileVersion::RandomBytesAreSafe()
{
    QRandomGenerator random(20240601);
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes(random.bounded(0, 4096), Qt::Uninitialized);
        for (char& b : bytes)
            b = char(random.bounded(256));
        // Half the rounds look like a program file, to get past the first checks.
        if (round % 2 && bytes.size() >= 0x40) {
            bytes[0] = 'M';
            bytes[1] = 'Z';
            const quint32 peAt = quint32(random.bounded(0x40, qMax(0x41, int(bytes.size()))));
            PutU32(bytes, 0x3C, peAt);
            if (peAt + 4 <= quint32(bytes.size()))
                PutU32(bytes, peAt, 0x00004550u);
        }
        // A version block never arises by chance.
        QVERIFY(!ReadGuarded(bytes));
    }
}

void TestFileVersion::RandomMutationsAreSafe()
{
    QRandomGenerator random(77);
    for (const QString& name : kVersionedFixtures) {
        const QByteArray image = ReadFixture(name);
        for (int round = 0; round < 1500; ++round) {
            QByteArray bytes = image;
            const int changes = random.bounded(1, 16);
            for (int i = 0; i < changes; ++i)
                bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
            if (random.bounded(4) == 0)
                bytes.truncate(random.bounded(int(bytes.size())));
            ReadGuarded(bytes); // must neither crash nor read outside
        }
    }
}

QTEST_GUILESS_MAIN(TestFileVersion)
#include "tst_fileversion.moc"
