// The settings file on disk: its format, fresh salts, damaged lines, a wrong
// passphrase and saves that cannot be written.
#include "FixedClock.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/AtomicFile.h"
#include "settings/Base64.h"
#include "settings/LineCipher.h"
#include "util/TarnwellError.h"

#include "TestStore.h"

#include <QDate>
#include <QDir>
#include <QtTest>

namespace {

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

// A store holding those three, saved once; `original` is what that wrote.
struct SavedThree : TestStore {
    QString path;
    QByteArray original;
    SavedThree()
    {
        FillThree(*store);
        store->Save();
        path = store->FilePath();
        original = ReadFileBytes(path);
    }
};

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
    QVERIFY(store.SetConfigFile(kTestCompany, kTestProduct, kTestFile, kTestPassphrase));
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
        QVERIFY(!store.SetConfigFile(QStringLiteral("Blocked"), kTestProduct, kTestFile, kTestPassphrase));
        QVERIFY(store.FilePath().isEmpty());
    }
    {
        // A file where Temp should be: the file is still loaded.
        auto first = OpenTestStore();
        first->WriteString(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v"));
        first->Save();
        QDir(first->TempFolder()).removeRecursively();
        folder.Write(QStringLiteral("data/TestCo/TestProduct/Temp"), "x");
        TAppData store;
        QVERIFY(!store.SetConfigFile(kTestCompany, kTestProduct, kTestFile, kTestPassphrase));
        QVERIFY(store.TempFolder().isEmpty());
        QCOMPARE(store.ReadString(QStringLiteral("S"), QStringLiteral("k"), QString()), QStringLiteral("v"));
    }
    {
        TAppData store(5); // only the local application-data folder is known
        QVERIFY(store.BaseFolder().isEmpty());
        QVERIFY(!store.SetConfigFile(kTestCompany, kTestProduct, kTestFile, kTestPassphrase));
    }
}

void TestAppDataFile::fileFormat()
{
    TestStore store;
    FillThree(*store);
    store->WriteString(QStringLiteral("S"), QStringLiteral("empty"), QString());
    store->Save();
    const QByteArray bytes = ReadFileBytes(store->FilePath());
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
    LineCipher cipher(kTestPassphrase);
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
    const QString path = OpenTestStore()->FilePath();
    LineCipher cipher(kTestPassphrase);
    const QByteArray bytes = cipher.Encrypt(QStringLiteral("<S><one>1")) + "\r\n" +
                             cipher.Encrypt(QStringLiteral("<S><two>2")) + "\n" +
                             cipher.Encrypt(QStringLiteral("<S><three>3"));
    QVERIFY(WriteFileBytes(path, bytes));
    auto store = OpenTestStore();
    QCOMPARE(store->InvalidLineCount(), 0);
    QCOMPARE(Entries(*store),
             QStringList({QStringLiteral("<one>1"), QStringLiteral("<two>2"), QStringLiteral("<three>3")}));
}

void TestAppDataFile::everySaveUsesFreshSalts()
{
    SavedThree f;
    f->Save();
    const QList<QByteArray> a = f.original.split('\n');
    const QList<QByteArray> b = ReadFileBytes(f.path).split('\n');
    QCOMPARE(a.size(), b.size());
    for (qsizetype i = 0; i + 1 < a.size(); ++i)
        QVERIFY2(a[i] != b[i], qPrintable(QStringLiteral("line %1 repeated").arg(i)));

    QCOMPARE(Entries(*OpenTestStore()), kThree);
    QVERIFY(WriteFileBytes(f.path, f.original));
    QCOMPARE(Entries(*OpenTestStore()), kThree);
}

void TestAppDataFile::storeStaysUsableAfterSave()
{
    SavedThree f;
    QCOMPARE(Entries(*f), kThree);
    const auto shared = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(f.path, shared));
    f->WriteString(QStringLiteral("S"), QStringLiteral("one"), QStringLiteral("changed"));
    f->Save();
    QCOMPARE(QFile::permissions(f.path) & ~(QFile::ReadUser | QFile::WriteUser), shared);
    auto again = OpenTestStore();
    QCOMPARE(again->ReadString(QStringLiteral("S"), QStringLiteral("one"), QString()),
             QStringLiteral("changed"));
    QCOMPARE(again->ReadString(QStringLiteral("S"), QStringLiteral("three"), QString()), QStringLiteral("3"));
}

void TestAppDataFile::saveWithoutLinesLeavesTheFile()
{
    SavedThree f;
    f->DeleteSection(QStringLiteral("S"));
    f->Save();
    QCOMPARE(ReadFileBytes(f.path), f.original);

    // A fresh store with nothing in it makes no file at all.
    TestFolder other(true);
    auto empty = OpenTestStore();
    empty->Save();
    QVERIFY(!QFile::exists(empty->FilePath()));
}

void TestAppDataFile::damagedLineIsDroppedAndOriginalKept()
{
    SavedThree f;
    QList<QByteArray> lines = ReadFileBytes(f.path).split('\n');
    QByteArray middle = Base64Decode(QByteArrayView(lines[1]));
    middle[3] = static_cast<char>(middle[3] ^ 0x40); // in the salt
    lines[1] = middle.toBase64() + '\r';
    const QByteArray damaged = lines.join('\n');
    QVERIFY(WriteFileBytes(f.path, damaged));

    auto loaded = OpenTestStore();
    const FixedClock clock(QDate(2026, 2, 28));
    loaded->SetClock(clock);
    QCOMPARE(loaded->InvalidLineCount(), 1);
    QCOMPARE(Entries(*loaded), QStringList({QStringLiteral("<one>1"), QStringLiteral("<three>3")}));
    QVERIFY(DamagedCopies(f.path).isEmpty()); // nothing happens before a save

    loaded->Save();
    const QStringList copies = DamagedCopies(f.path);
    QCOMPARE(copies.size(), 1);
    QCOMPARE(copies[0], kTestFile + QStringLiteral(".damaged-2026-02-28"));
    QCOMPARE(ReadFileBytes(QFileInfo(f.path).dir().filePath(copies[0])), damaged);

    loaded->Save(); // the copy is made once per damaged load
    QCOMPARE(DamagedCopies(f.path).size(), 1);

    auto clean = OpenTestStore();
    QCOMPARE(clean->InvalidLineCount(), 0);
    QCOMPARE(Entries(*clean), QStringList({QStringLiteral("<one>1"), QStringLiteral("<three>3")}));
}

void TestAppDataFile::largeFileKeepsItsOrder()
{
    // Enough lines for the cipher to share them out over several threads.
    TestStore store;
    QStringList expected;
    for (int i = 0; i < 1200; ++i) {
        const QString value = QString(i % 41, QChar(u'ä')) + QString::number(i);
        store->WriteString(QStringLiteral("S"), QStringLiteral("k%1").arg(i), value);
        if (i != 700)
            expected.append(QStringLiteral("<k%1>").arg(i) + value);
    }
    store->Save();
    QList<QByteArray> lines = ReadFileBytes(store->FilePath()).split('\n');
    QCOMPARE(lines.size(), 1201);
    lines[700] = "AAAA" + lines[700].mid(4);
    QVERIFY(WriteFileBytes(store->FilePath(), lines.join('\n')));

    auto loaded = OpenTestStore();
    const FixedClock clock(QDate(2026, 2, 28));
    loaded->SetClock(clock);
    QCOMPARE(loaded->InvalidLineCount(), 1);
    QCOMPARE(Entries(*loaded), expected);
}

void TestAppDataFile::damagedCopiesAreNotOverwritten()
{
    TestFolder folder(true);
    const QString path = OpenTestStore()->FilePath();
    LineCipher cipher(kTestPassphrase);
    const QByteArray good = cipher.Encrypt(QStringLiteral("<S><k>v")) + "\r\n";
    QByteArray previous;
    for (int round = 0; round < 3; ++round) {
        const QByteArray damaged = good + "garbage" + QByteArray::number(round) + "\r\n";
        QVERIFY(WriteFileBytes(path, damaged));
        auto store = OpenTestStore();
        QCOMPARE(store->InvalidLineCount(), 1);
        store->Save();
        const QStringList copies = DamagedCopies(path);
        QCOMPARE(copies.size(), round + 1);
        QStringList contents;
        for (const QString& copy : copies)
            contents.append(QString::fromLatin1(ReadFileBytes(QFileInfo(path).dir().filePath(copy))));
        QVERIFY(contents.contains(QString::fromLatin1(damaged)));
        if (!previous.isEmpty())
            QVERIFY(contents.contains(QString::fromLatin1(previous)));
        previous = damaged;
    }
}

void TestAppDataFile::wrongPassphraseKeepsTheOldFile()
{
    SavedThree f;
    auto wrong = OpenTestStore(QStringLiteral("not the passphrase"));
    QCOMPARE(wrong->InvalidLineCount(), 3);
    QVERIFY(Entries(*wrong).isEmpty());
    wrong->Save(); // nothing to write: the file stays as it is
    QCOMPARE(ReadFileBytes(f.path), f.original);
    QVERIFY(DamagedCopies(f.path).isEmpty());

    wrong->WriteString(QStringLiteral("S"), QStringLiteral("new"), QStringLiteral("n"));
    wrong->Save();
    const QStringList copies = DamagedCopies(f.path);
    QCOMPARE(copies.size(), 1);
    QCOMPARE(ReadFileBytes(QFileInfo(f.path).dir().filePath(copies[0])), f.original);
    // The kept copy still opens with the right passphrase.
    QVERIFY(WriteFileBytes(f.path, f.original));
    QCOMPARE(Entries(*OpenTestStore()), kThree);
}

void TestAppDataFile::failedSaveKeepsTheOldFile()
{
    // A folder in the way of the temporary file makes the write fail for
    // any user, root included.
    SavedThree f;
    f->WriteString(QStringLiteral("S"), QStringLiteral("one"), QStringLiteral("changed"));
    QVERIFY(QDir().mkpath(AtomicTempPath(f.path)));
    QVERIFY_THROWS_EXCEPTION(TarnwellError, f->Save());
    QCOMPARE(ReadFileBytes(f.path), f.original);

    // Nothing was lost in memory: once the way is clear the save goes through.
    QVERIFY(QDir().rmdir(AtomicTempPath(f.path)));
    f->Save();
    QCOMPARE(OpenTestStore()->ReadString(QStringLiteral("S"), QStringLiteral("one"), QString()),
             QStringLiteral("changed"));
    QVERIFY(!QFile::exists(AtomicTempPath(f.path)));
}

void TestAppDataFile::readOnlyFolderKeepsTheOldFile()
{
    SavedThree f;
    const QString dataFolder = QFileInfo(f.path).absolutePath();

    QFile::setPermissions(dataFolder, QFile::ReadOwner | QFile::ExeOwner);
    if (!PermissionsEnforced(dataFolder)) {
        QFile::setPermissions(dataFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QSKIP("permission bits are not enforced for this user (root); failedSaveKeepsTheOldFile covers the "
              "failure");
    }
    f->WriteString(QStringLiteral("S"), QStringLiteral("one"), QStringLiteral("changed"));
    bool threw = false;
    try {
        f->Save();
    } catch (const TarnwellError& e) {
        threw = true;
        QVERIFY(e.Message().contains(f.path));
    }
    QFile::setPermissions(dataFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(threw);
    QCOMPARE(ReadFileBytes(f.path), f.original);
}

QTEST_GUILESS_MAIN(TestAppDataFile)
#include "tst_app_data_file.moc"
