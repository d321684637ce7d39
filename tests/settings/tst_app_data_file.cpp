// The settings file on disk: its format, fresh salts, damaged lines, a wrong
// passphrase and saves that cannot be written.
#include "settings/ApplicationDataAPI.h"
#include "settings/AtomicFile.h"
#include "settings/Base64.h"
#include "settings/LineCipher.h"
#include "util/TarnwellError.h"

#include "TestFolder.h"

#include <QDate>
#include <QDir>
#include <QtTest>

#include <memory>

namespace {

const QString kCompany = QStringLiteral("TestCo");
const QString kProduct = QStringLiteral("TestProduct");
const QString kFile = QStringLiteral("settings.dat");
const QString kPass = QStringLiteral("test passphrase");

std::unique_ptr<TAppData> Open(const QString& passphrase = kPass)
{
    auto store = std::make_unique<TAppData>();
    if (!store->SetConfigFile(kCompany, kProduct, kFile, passphrase))
        qFatal("SetConfigFile failed");
    return store;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QStringList DamagedCopies(const QString& filePath)
{
    const QFileInfo info(filePath);
    return info.dir().entryList({info.fileName() + QStringLiteral(".damaged-*")}, QDir::Files, QDir::Name);
}

QStringList Entries(TAppData& store)
{
    return store.ReadSectionEntries(QStringLiteral("S"), QString());
}

void FillThree(TAppData& store)
{
    store.WriteString(QStringLiteral("S"), QStringLiteral("one"), QStringLiteral("1"));
    store.WriteString(QStringLiteral("S"), QStringLiteral("two"), QStringLiteral("Zürich € \U0001F600"));
    store.WriteString(QStringLiteral("S"), QStringLiteral("three"), QStringLiteral("3"));
}

const QStringList kThree = {QStringLiteral("<one>1"), QStringLiteral("<two>Zürich € \U0001F600"),
                            QStringLiteral("<three>3")};

// Running as root ignores permission bits; find out whether they hold here.
bool PermissionsEnforced(const QString& readOnlyFolder)
{
    QFile probe(readOnlyFolder + QStringLiteral("/probe"));
    if (probe.open(QIODevice::WriteOnly)) {
        probe.close();
        probe.remove();
        return false;
    }
    return true;
}

} // namespace

class TestAppDataFile : public QObject {
    Q_OBJECT
private slots:
    void foldersFollowTheDataLocation();
    void setConfigFileReportsFolderFailures();
    void fileFormat();
    void readsAFileWrittenElsewhere();
    void everySaveUsesFreshSalts();
    void storeStaysUsableAfterSave();
    void saveWithoutLinesLeavesTheFile();
    void damagedLineIsDroppedAndOriginalKept();
    void largeFileKeepsItsOrder();
    void damagedCopiesAreNotOverwritten();
    void wrongPassphraseKeepsTheOldFile();
    void failedSaveKeepsTheOldFile();
    void readOnlyFolderKeepsTheOldFile();
};

void TestAppDataFile::foldersFollowTheDataLocation()
{
    TestFolder folder;
    // A data home that does not exist yet is made.
    const QString home = folder.FilePath(QStringLiteral("not/yet"));
    const QByteArray old = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", home.toLocal8Bit());
    TAppData store;
    qputenv("XDG_DATA_HOME", old);
    QCOMPARE(store.BaseFolder(), home);
    QVERIFY(QFileInfo(home).isDir());
    QVERIFY(store.FilePath().isEmpty());
    QVERIFY(store.TempFolder().isEmpty());
    QVERIFY(store.SetConfigFile(kCompany, kProduct, kFile, kPass));
    QCOMPARE(store.FilePath(), home + QStringLiteral("/TestCo/TestProduct/settings.dat"));
    QCOMPARE(store.TempFolder(), home + QStringLiteral("/TestCo/TestProduct/Temp"));
    QVERIFY(QFileInfo(store.TempFolder()).isDir());
}

void TestAppDataFile::setConfigFileReportsFolderFailures()
{
    TestFolder folder(true);
    {
        // A file where the company folder should be.
        folder.Write(QStringLiteral("data/Blocked"), "x");
        TAppData store;
        QVERIFY(!store.SetConfigFile(QStringLiteral("Blocked"), kProduct, kFile, kPass));
        QVERIFY(store.FilePath().isEmpty());
    }
    {
        // A file where Temp should be: the file is still loaded.
        auto first = Open();
        first->WriteString(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v"));
        first->Save();
        QDir(first->TempFolder()).removeRecursively();
        folder.Write(QStringLiteral("data/TestCo/TestProduct/Temp"), "x");
        TAppData store;
        QVERIFY(!store.SetConfigFile(kCompany, kProduct, kFile, kPass));
        QVERIFY(store.TempFolder().isEmpty());
        QCOMPARE(store.ReadString(QStringLiteral("S"), QStringLiteral("k"), QString()), QStringLiteral("v"));
    }
    {
        TAppData store(5); // only the local application-data folder is known
        QVERIFY(store.BaseFolder().isEmpty());
        QVERIFY(!store.SetConfigFile(kCompany, kProduct, kFile, kPass));
    }
}

void TestAppDataFile::fileFormat()
{
    TestFolder folder(true);
    auto store = Open();
    FillThree(*store);
    store->WriteString(QStringLiteral("S"), QStringLiteral("empty"), QString());
    store->Save();
    const QByteArray bytes = ReadAll(store->FilePath());
    const auto others = QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    QCOMPARE(QFile::permissions(store->FilePath()) & others, QFile::Permissions());

    for (char c : bytes)
        QVERIFY2(static_cast<unsigned char>(c) < 0x80, "the file must be ASCII");
    QVERIFY(bytes.endsWith("\r\n"));
    QVERIFY(!bytes.endsWith("\r\n\r\n"));
    QVERIFY(!bytes.startsWith("\r\n"));
    QCOMPARE(bytes.count('\n'), 4);
    QCOMPARE(bytes.count('\r'), 4);
    QCOMPARE(bytes.count("\r\n"), 4);

    const QStringList expected = {QStringLiteral("<S><one>1"), QStringLiteral("<S><two>Zürich € \U0001F600"),
                                  QStringLiteral("<S><three>3"), QStringLiteral("<S><empty>")};
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast();
    LineCipher cipher(kPass);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray line = lines[i].chopped(1);
        QVERIFY(!line.contains(' '));
        QCOMPARE(line, Base64Decode(QByteArrayView(line)).toBase64());
        QCOMPARE(Base64Decode(QByteArrayView(line)).size(), 32 + 2 * expected[i].size());
        QCOMPARE(cipher.Decrypt(line).value_or(QStringLiteral("<undecryptable>")), expected[i]);
    }
}

void TestAppDataFile::readsAFileWrittenElsewhere()
{
    // Bare LF line ends and no break after the last line still read.
    TestFolder folder(true);
    const QString path = Open()->FilePath();
    LineCipher cipher(kPass);
    const QByteArray bytes = cipher.Encrypt(QStringLiteral("<S><one>1")) + "\r\n" +
                             cipher.Encrypt(QStringLiteral("<S><two>2")) + "\n" +
                             cipher.Encrypt(QStringLiteral("<S><three>3"));
    WriteAll(path, bytes);
    auto store = Open();
    QCOMPARE(store->InvalidLineCount(), 0);
    QCOMPARE(Entries(*store),
             QStringList({QStringLiteral("<one>1"), QStringLiteral("<two>2"), QStringLiteral("<three>3")}));
}

void TestAppDataFile::everySaveUsesFreshSalts()
{
    TestFolder folder(true);
    auto store = Open();
    FillThree(*store);
    store->Save();
    const QByteArray first = ReadAll(store->FilePath());
    store->Save();
    const QByteArray second = ReadAll(store->FilePath());

    const QList<QByteArray> a = first.split('\n');
    const QList<QByteArray> b = second.split('\n');
    QCOMPARE(a.size(), b.size());
    for (qsizetype i = 0; i + 1 < a.size(); ++i)
        QVERIFY2(a[i] != b[i], qPrintable(QStringLiteral("line %1 repeated").arg(i)));

    QCOMPARE(Entries(*Open()), kThree);
    WriteAll(store->FilePath(), first);
    QCOMPARE(Entries(*Open()), kThree);
}

void TestAppDataFile::storeStaysUsableAfterSave()
{
    TestFolder folder(true);
    auto store = Open();
    FillThree(*store);
    store->Save();
    QCOMPARE(Entries(*store), kThree);
    const auto shared = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(store->FilePath(), shared));
    store->WriteString(QStringLiteral("S"), QStringLiteral("one"), QStringLiteral("changed"));
    store->Save();
    QCOMPARE(QFile::permissions(store->FilePath()) & ~(QFile::ReadUser | QFile::WriteUser), shared);
    auto again = Open();
    QCOMPARE(again->ReadString(QStringLiteral("S"), QStringLiteral("one"), QString()),
             QStringLiteral("changed"));
    QCOMPARE(again->ReadString(QStringLiteral("S"), QStringLiteral("three"), QString()), QStringLiteral("3"));
}

void TestAppDataFile::saveWithoutLinesLeavesTheFile()
{
    TestFolder folder(true);
    auto store = Open();
    FillThree(*store);
    store->Save();
    const QByteArray before = ReadAll(store->FilePath());
    store->DeleteSection(QStringLiteral("S"));
    store->Save();
    QCOMPARE(ReadAll(store->FilePath()), before);

    // A fresh store with nothing in it makes no file at all.
    TestFolder other(true);
    auto empty = Open();
    empty->Save();
    QVERIFY(!QFile::exists(empty->FilePath()));
}

void TestAppDataFile::damagedLineIsDroppedAndOriginalKept()
{
    TestFolder folder(true);
    auto store = Open();
    FillThree(*store);
    store->Save();
    const QString path = store->FilePath();
    QList<QByteArray> lines = ReadAll(path).split('\n');
    QByteArray middle = Base64Decode(QByteArrayView(lines[1]));
    middle[3] = static_cast<char>(middle[3] ^ 0x40); // in the salt
    lines[1] = middle.toBase64() + '\r';
    const QByteArray damaged = lines.join('\n');
    WriteAll(path, damaged);

    auto loaded = Open();
    QCOMPARE(loaded->InvalidLineCount(), 1);
    QCOMPARE(Entries(*loaded), QStringList({QStringLiteral("<one>1"), QStringLiteral("<three>3")}));
    QVERIFY(DamagedCopies(path).isEmpty()); // nothing happens before a save

    loaded->Save();
    const QStringList copies = DamagedCopies(path);
    QCOMPARE(copies.size(), 1);
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    const QString yesterday = QDate::currentDate().addDays(-1).toString(Qt::ISODate);
    QVERIFY2(copies[0] == kFile + QStringLiteral(".damaged-") + today ||
                 copies[0] == kFile + QStringLiteral(".damaged-") + yesterday,
             qPrintable(copies[0]));
    QCOMPARE(ReadAll(QFileInfo(path).dir().filePath(copies[0])), damaged);

    loaded->Save(); // the copy is made once per damaged load
    QCOMPARE(DamagedCopies(path).size(), 1);

    auto clean = Open();
    QCOMPARE(clean->InvalidLineCount(), 0);
    QCOMPARE(Entries(*clean), QStringList({QStringLiteral("<one>1"), QStringLiteral("<three>3")}));
}

void TestAppDataFile::largeFileKeepsItsOrder()
{
    // Enough lines for the cipher to share them out over several threads.
    TestFolder folder(true);
    auto store = Open();
    QStringList expected;
    for (int i = 0; i < 1200; ++i) {
        const QString value = QString(i % 41, QChar(u'ä')) + QString::number(i);
        store->WriteString(QStringLiteral("S"), QStringLiteral("k%1").arg(i), value);
        if (i != 700)
            expected.append(QStringLiteral("<k%1>").arg(i) + value);
    }
    store->Save();
    QList<QByteArray> lines = ReadAll(store->FilePath()).split('\n');
    QCOMPARE(lines.size(), 1201);
    lines[700] = "AAAA" + lines[700].mid(4);
    WriteAll(store->FilePath(), lines.join('\n'));

    auto loaded = Open();
    QCOMPARE(loaded->InvalidLineCount(), 1);
    QCOMPARE(Entries(*loaded), expected);
}

void TestAppDataFile::damagedCopiesAreNotOverwritten()
{
    TestFolder folder(true);
    const QString path = Open()->FilePath();
    LineCipher cipher(kPass);
    const QByteArray good = cipher.Encrypt(QStringLiteral("<S><k>v")) + "\r\n";
    QByteArray previous;
    for (int round = 0; round < 3; ++round) {
        const QByteArray damaged = good + "garbage" + QByteArray::number(round) + "\r\n";
        WriteAll(path, damaged);
        auto store = Open();
        QCOMPARE(store->InvalidLineCount(), 1);
        store->Save();
        const QStringList copies = DamagedCopies(path);
        QCOMPARE(copies.size(), round + 1);
        QStringList contents;
        for (const QString& copy : copies)
            contents.append(QString::fromLatin1(ReadAll(QFileInfo(path).dir().filePath(copy))));
        QVERIFY(contents.contains(QString::fromLatin1(damaged)));
        if (!previous.isEmpty())
            QVERIFY(contents.contains(QString::fromLatin1(previous)));
        previous = damaged;
    }
}

void TestAppDataFile::wrongPassphraseKeepsTheOldFile()
{
    TestFolder folder(true);
    auto store = Open();
    FillThree(*store);
    store->Save();
    const QString path = store->FilePath();
    const QByteArray original = ReadAll(path);

    auto wrong = Open(QStringLiteral("not the passphrase"));
    QCOMPARE(wrong->InvalidLineCount(), 3);
    QVERIFY(Entries(*wrong).isEmpty());
    wrong->Save(); // nothing to write: the file stays as it is
    QCOMPARE(ReadAll(path), original);
    QVERIFY(DamagedCopies(path).isEmpty());

    wrong->WriteString(QStringLiteral("S"), QStringLiteral("new"), QStringLiteral("n"));
    wrong->Save();
    const QStringList copies = DamagedCopies(path);
    QCOMPARE(copies.size(), 1);
    QCOMPARE(ReadAll(QFileInfo(path).dir().filePath(copies[0])), original);
    // The kept copy still opens with the right passphrase.
    WriteAll(path, original);
    QCOMPARE(Entries(*Open()), kThree);
}

void TestAppDataFile::failedSaveKeepsTheOldFile()
{
    // A folder in the way of the temporary file makes the write fail for
    // any user, root included.
    TestFolder folder(true);
    auto store = Open();
    FillThree(*store);
    store->Save();
    const QString path = store->FilePath();
    const QByteArray original = ReadAll(path);

    store->WriteString(QStringLiteral("S"), QStringLiteral("one"), QStringLiteral("changed"));
    QVERIFY(QDir().mkpath(AtomicTempPath(path)));
    QVERIFY_THROWS_EXCEPTION(TarnwellError, store->Save());
    QCOMPARE(ReadAll(path), original);

    // Nothing was lost in memory: once the way is clear the save goes through.
    QVERIFY(QDir().rmdir(AtomicTempPath(path)));
    store->Save();
    QCOMPARE(Open()->ReadString(QStringLiteral("S"), QStringLiteral("one"), QString()),
             QStringLiteral("changed"));
    QVERIFY(!QFile::exists(AtomicTempPath(path)));
}

void TestAppDataFile::readOnlyFolderKeepsTheOldFile()
{
    TestFolder folder(true);
    auto store = Open();
    FillThree(*store);
    store->Save();
    const QString path = store->FilePath();
    const QString dataFolder = QFileInfo(path).absolutePath();
    const QByteArray original = ReadAll(path);

    QFile::setPermissions(dataFolder, QFile::ReadOwner | QFile::ExeOwner);
    if (!PermissionsEnforced(dataFolder)) {
        QFile::setPermissions(dataFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QSKIP("permission bits are not enforced for this user (root); failedSaveKeepsTheOldFile covers the "
              "failure");
    }
    store->WriteString(QStringLiteral("S"), QStringLiteral("one"), QStringLiteral("changed"));
    bool threw = false;
    try {
        store->Save();
    } catch (const TarnwellError& e) {
        threw = true;
        QVERIFY(e.Message().contains(path));
    }
    QFile::setPermissions(dataFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(threw);
    QCOMPARE(ReadAll(path), original);
}

QTEST_GUILESS_MAIN(TestAppDataFile)
#include "tst_app_data_file.moc"
