// What the store answers: the entry rules, typed reads, lists, deletions,
// and the prefix index checked against a plain scan.
#include "settings/ApplicationDataAPI.h"
#include "settings/EntryTable.h"
#include "util/TarnwellError.h"

#include "TestStore.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

// The rules written as plainly as possible: a list of lines, scanned.
struct ReferenceLines {
    QStringList lines;
    qsizetype FindFirst(const QString& prefix) const
    {
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (lines[i].startsWith(prefix))
                return i;
        return -1;
    }
    QStringList FindAll(const QString& prefix) const
    {
        QStringList found;
        for (const QString& line : lines)
            if (line.startsWith(prefix))
                found.append(line);
        return found;
    }
    void RemoveAll(const QString& prefix)
    {
        lines.removeIf([&prefix](const QString& line) { return line.startsWith(prefix); });
    }
};

} // namespace

class TestAppData : public QObject {
    Q_OBJECT
private slots:
    void firstStartReadsDefaults();
    void writeStringChangesOnlyTheFirstDuplicate();
    void writeListAppendsAtTheEnd();
    void emptyListRemovesTheKey();
    void valueMayHoldAngleBrackets();
    void keyMatchesOnlyAsAWhole();
    void readInteger_data();
    void readInteger();
    void readBool_data();
    void readBool();
    void deleteSectionSparesLongerNames();
    void deleteKeyRemovesEveryLineOfTheKey();
    void readSectionEntriesFilter_data();
    void readSectionEntriesFilter();
    void namesHoldingBracketsFollowTheLineRule();
    void indexAgreesWithAPlainScan();
};

void TestAppData::firstStartReadsDefaults()
{
    TestStore f;
    TAppData& s = *f.store;
    QCOMPARE(s.InvalidLineCount(), 0);
    QCOMPARE(s.ReadString(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("dflt")),
             QStringLiteral("dflt"));
    QCOMPARE(s.ReadInteger(QStringLiteral("S"), QStringLiteral("k"), 17), 17);
    QCOMPARE(s.ReadBool(QStringLiteral("S"), QStringLiteral("k"), true), true);
    QCOMPARE(s.ReadBool(QStringLiteral("S"), QStringLiteral("k"), false), false);
    QVERIFY(s.ReadList(QStringLiteral("S"), QStringLiteral("k")).isEmpty());
    QVERIFY(s.ReadSectionEntries(QStringLiteral("S"), QString()).isEmpty());
    QVERIFY(!QFile::exists(s.FilePath()));

    s.WriteString(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v"));
    s.WriteInteger(QStringLiteral("S"), QStringLiteral("n"), -5);
    s.WriteBool(QStringLiteral("S"), QStringLiteral("b"), true);
    TAppData& again = f.Reload();
    QCOMPARE(again.ReadString(QStringLiteral("S"), QStringLiteral("k"), QString()), QStringLiteral("v"));
    QCOMPARE(again.ReadString(QStringLiteral("S"), QStringLiteral("n"), QString()), QStringLiteral("-5"));
    QCOMPARE(again.ReadString(QStringLiteral("S"), QStringLiteral("b"), QString()), QStringLiteral("1"));
    QCOMPARE(again.ReadSectionEntries(QStringLiteral("S"), QString()),
             QStringList({QStringLiteral("<k>v"), QStringLiteral("<n>-5"), QStringLiteral("<b>1")}));
}

void TestAppData::writeStringChangesOnlyTheFirstDuplicate()
{
    TestStore f;
    TAppData& s = *f.store;
    s.WriteList(QStringLiteral("S"), QStringLiteral("k"), {QStringLiteral("old1"), QStringLiteral("old2")});
    s.WriteString(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("new"));
    QCOMPARE(s.ReadString(QStringLiteral("S"), QStringLiteral("k"), QString()), QStringLiteral("new"));
    QCOMPARE(s.ReadList(QStringLiteral("S"), QStringLiteral("k")),
             QStringList({QStringLiteral("new"), QStringLiteral("old2")}));
    QCOMPARE(f.Reload().ReadList(QStringLiteral("S"), QStringLiteral("k")),
             QStringList({QStringLiteral("new"), QStringLiteral("old2")}));
}

void TestAppData::writeListAppendsAtTheEnd()
{
    TestStore f;
    TAppData& s = *f.store;
    s.WriteString(QStringLiteral("S"), QStringLiteral("x1"), QStringLiteral("1"));
    s.WriteList(QStringLiteral("S"), QStringLiteral("L"), {QStringLiteral("first")});
    s.WriteString(QStringLiteral("S"), QStringLiteral("x2"), QStringLiteral("2"));
    s.WriteList(QStringLiteral("S"), QStringLiteral("L"), {QStringLiteral("a"), QStringLiteral("b")});
    const QStringList expected = {QStringLiteral("<x1>1"), QStringLiteral("<x2>2"), QStringLiteral("<L>a"),
                                  QStringLiteral("<L>b")};
    QCOMPARE(s.ReadSectionEntries(QStringLiteral("S"), QString()), expected);
    QCOMPARE(s.ReadList(QStringLiteral("S"), QStringLiteral("L")),
             QStringList({QStringLiteral("a"), QStringLiteral("b")}));
    QCOMPARE(f.Reload().ReadSectionEntries(QStringLiteral("S"), QString()), expected);
}

void TestAppData::emptyListRemovesTheKey()
{
    TestStore f;
    TAppData& s = *f.store;
    s.WriteList(QStringLiteral("S"), QStringLiteral("L"), {QStringLiteral("a"), QStringLiteral("b")});
    s.WriteString(QStringLiteral("S"), QStringLiteral("other"), QStringLiteral("kept"));
    s.WriteList(QStringLiteral("S"), QStringLiteral("L"), {});
    QVERIFY(s.ReadList(QStringLiteral("S"), QStringLiteral("L")).isEmpty());
    QCOMPARE(s.ReadString(QStringLiteral("S"), QStringLiteral("L"), QStringLiteral("none")),
             QStringLiteral("none"));
    QCOMPARE(s.ReadSectionEntries(QStringLiteral("S"), QString()),
             QStringList({QStringLiteral("<other>kept")}));
}

void TestAppData::valueMayHoldAngleBrackets()
{
    TestStore f;
    TAppData& s = *f.store;
    const QString value = QStringLiteral("<b>bold</b> <x><y>z>");
    s.WriteString(QStringLiteral("S"), QStringLiteral("k"), value);
    s.WriteList(QStringLiteral("S"), QStringLiteral("L"), {QStringLiteral("<i>"), QString()});
    QCOMPARE(s.ReadString(QStringLiteral("S"), QStringLiteral("k"), QString()), value);
    TAppData& again = f.Reload();
    QCOMPARE(again.ReadString(QStringLiteral("S"), QStringLiteral("k"), QString()), value);
    QCOMPARE(again.ReadList(QStringLiteral("S"), QStringLiteral("L")),
             QStringList({QStringLiteral("<i>"), QString()}));
}

void TestAppData::keyMatchesOnlyAsAWhole()
{
    TestStore f;
    TAppData& s = *f.store;
    s.WriteString(QStringLiteral("P"), QStringLiteral("AppsX"), QStringLiteral("long key"));
    s.WriteString(QStringLiteral("PX"), QStringLiteral("Apps"), QStringLiteral("long section"));
    QCOMPARE(s.ReadString(QStringLiteral("P"), QStringLiteral("Apps"), QStringLiteral("none")),
             QStringLiteral("none"));
    QVERIFY(s.ReadList(QStringLiteral("P"), QStringLiteral("Apps")).isEmpty());
    // Letter case counts.
    QCOMPARE(s.ReadString(QStringLiteral("p"), QStringLiteral("AppsX"), QStringLiteral("none")),
             QStringLiteral("none"));
    s.WriteString(QStringLiteral("P"), QStringLiteral("Apps"), QStringLiteral("short"));
    QCOMPARE(s.ReadString(QStringLiteral("P"), QStringLiteral("AppsX"), QString()),
             QStringLiteral("long key"));
    QCOMPARE(s.ReadString(QStringLiteral("P"), QStringLiteral("Apps"), QString()), QStringLiteral("short"));
    QCOMPARE(s.ReadString(QStringLiteral("PX"), QStringLiteral("Apps"), QString()),
             QStringLiteral("long section"));
}

void TestAppData::readInteger_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::newRow("positive") << QStringLiteral("42") << true << 42;
    QTest::newRow("negative") << QStringLiteral("-7") << true << -7;
    QTest::newRow("zero") << QStringLiteral("0") << true << 0;
    QTest::newRow("leading zeros") << QStringLiteral("007") << true << 7;
    QTest::newRow("largest") << QStringLiteral("2147483647") << true << 2147483647;
    QTest::newRow("smallest") << QStringLiteral("-2147483648") << true << (-2147483647 - 1);
    QTest::newRow("empty") << QString() << false << 0;
    QTest::newRow("word") << QStringLiteral("abc") << false << 0;
    QTest::newRow("trailing letter") << QStringLiteral("12a") << false << 0;
    QTest::newRow("fraction") << QStringLiteral("1.5") << false << 0;
    QTest::newRow("blank before") << QStringLiteral(" 1") << false << 0;
    QTest::newRow("plus sign") << QStringLiteral("+1") << false << 0;
    QTest::newRow("minus alone") << QStringLiteral("-") << false << 0;
    QTest::newRow("too large") << QStringLiteral("2147483648") << false << 0;
    QTest::newRow("too small") << QStringLiteral("-2147483649") << false << 0;
    QTest::newRow("far too large") << QStringLiteral("99999999999999999999") << false << 0;
    QTest::newRow("arabic-indic digit") << QStringLiteral("\u0661") << false << 0;
}

void TestAppData::readInteger()
{
    QFETCH(QString, stored);
    QFETCH(bool, valid);
    QFETCH(int, value);
    TestStore f;
    f.store->WriteString(QStringLiteral("S"), QStringLiteral("n"), stored);
    if (valid) {
        QCOMPARE(f.store->ReadInteger(QStringLiteral("S"), QStringLiteral("n"), 99), value);
        f.store->WriteInteger(QStringLiteral("S"), QStringLiteral("m"), value);
        QCOMPARE(f.store->ReadInteger(QStringLiteral("S"), QStringLiteral("m"), 99), value);
    } else {
        QVERIFY_THROWS_EXCEPTION(TarnwellError,
                                 f.store->ReadInteger(QStringLiteral("S"), QStringLiteral("n"), 99));
    }
}

void TestAppData::readBool_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("expected");
    QTest::newRow("1") << QStringLiteral("1") << true;
    QTest::newRow("0") << QStringLiteral("0") << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("true") << QStringLiteral("true") << false;
    QTest::newRow("01") << QStringLiteral("01") << false;
    QTest::newRow("1 and blank") << QStringLiteral("1 ") << false;
    QTest::newRow("2") << QStringLiteral("2") << false;
}

void TestAppData::readBool()
{
    QFETCH(QString, stored);
    QFETCH(bool, expected);
    TestStore f;
    f.store->WriteString(QStringLiteral("S"), QStringLiteral("b"), stored);
    QCOMPARE(f.store->ReadBool(QStringLiteral("S"), QStringLiteral("b"), !expected), expected);
    f.store->WriteBool(QStringLiteral("S"), QStringLiteral("b"), expected);
    QCOMPARE(f.store->ReadString(QStringLiteral("S"), QStringLiteral("b"), QString()),
             expected ? QStringLiteral("1") : QStringLiteral("0"));
}

void TestAppData::deleteSectionSparesLongerNames()
{
    TestStore f;
    TAppData& s = *f.store;
    const QString x = QStringLiteral("Account/x");
    const QString xy = QStringLiteral("Account/xy");
    s.WriteString(x, QStringLiteral("FtpHost"), QStringLiteral("h1"));
    s.WriteString(xy, QStringLiteral("FtpHost"), QStringLiteral("h2"));
    s.WriteList(x, QStringLiteral("L"), {QStringLiteral("a"), QStringLiteral("b")});
    s.WriteString(xy, QStringLiteral("FtpUser"), QStringLiteral("u2"));
    s.DeleteSection(x);
    QVERIFY(s.ReadSectionEntries(x, QString()).isEmpty());
    QCOMPARE(s.ReadString(x, QStringLiteral("FtpHost"), QStringLiteral("gone")), QStringLiteral("gone"));
    QCOMPARE(s.ReadSectionEntries(xy, QString()),
             QStringList({QStringLiteral("<FtpHost>h2"), QStringLiteral("<FtpUser>u2")}));
    QCOMPARE(f.Reload().ReadSectionEntries(xy, QString()),
             QStringList({QStringLiteral("<FtpHost>h2"), QStringLiteral("<FtpUser>u2")}));
}

void TestAppData::deleteKeyRemovesEveryLineOfTheKey()
{
    TestStore f;
    TAppData& s = *f.store;
    s.WriteList(QStringLiteral("S"), QStringLiteral("k"),
                {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    s.WriteString(QStringLiteral("S"), QStringLiteral("kk"), QStringLiteral("kept"));
    s.WriteString(QStringLiteral("T"), QStringLiteral("k"), QStringLiteral("kept too"));
    s.DeleteKey(QStringLiteral("S"), QStringLiteral("k"));
    QVERIFY(s.ReadList(QStringLiteral("S"), QStringLiteral("k")).isEmpty());
    QCOMPARE(s.ReadString(QStringLiteral("S"), QStringLiteral("kk"), QString()), QStringLiteral("kept"));
    QCOMPARE(s.ReadString(QStringLiteral("T"), QStringLiteral("k"), QString()), QStringLiteral("kept too"));
    // A key written after the deletion is a single fresh line.
    s.WriteString(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("4"));
    QCOMPARE(s.ReadList(QStringLiteral("S"), QStringLiteral("k")), QStringList({QStringLiteral("4")}));
}

void TestAppData::readSectionEntriesFilter_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("empty filter: all")
        << QString()
        << QStringList({QStringLiteral("<FtpHost>h"), QStringLiteral("<FtpUser>u"),
                        QStringLiteral("<Note>see <Ftp>"), QStringLiteral("<Plain>p")});
    QTest::newRow("key start") << QStringLiteral("FtpU") << QStringList({QStringLiteral("<FtpUser>u")});
    QTest::newRow("also in the value")
        << QStringLiteral("Ftp")
        << QStringList({QStringLiteral("<FtpHost>h"), QStringLiteral("<FtpUser>u"),
                        QStringLiteral("<Note>see <Ftp>")});
    QTest::newRow("section name matches too")
        << QStringLiteral("Acc")
        << QStringList({QStringLiteral("<FtpHost>h"), QStringLiteral("<FtpUser>u"),
                        QStringLiteral("<Note>see <Ftp>"), QStringLiteral("<Plain>p")});
    QTest::newRow("no match") << QStringLiteral("Nothing") << QStringList();
}

void TestAppData::readSectionEntriesFilter()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    TestStore f;
    TAppData& s = *f.store;
    const QString section = QStringLiteral("Acc");
    s.WriteString(section, QStringLiteral("FtpHost"), QStringLiteral("h"));
    s.WriteString(QStringLiteral("Other"), QStringLiteral("FtpUser"), QStringLiteral("elsewhere"));
    s.WriteString(section, QStringLiteral("FtpUser"), QStringLiteral("u"));
    s.WriteString(section, QStringLiteral("Note"), QStringLiteral("see <Ftp>"));
    s.WriteString(section, QStringLiteral("Plain"), QStringLiteral("p"));
    QCOMPARE(s.ReadSectionEntries(section, filter), expected);
}

void TestAppData::namesHoldingBracketsFollowTheLineRule()
{
    // The rule is "the line starts with <section><key>", so a key that holds
    // ">" is seen through a shorter key; look-ups must keep exactly that.
    TestStore f;
    TAppData& s = *f.store;
    s.WriteString(QStringLiteral("S"), QStringLiteral("k>x"), QStringLiteral("v"));
    QCOMPARE(s.ReadString(QStringLiteral("S"), QStringLiteral("k"), QString()), QStringLiteral("x>v"));
    s.WriteString(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("new"));
    QCOMPARE(s.ReadString(QStringLiteral("S"), QStringLiteral("k>x"), QStringLiteral("none")),
             QStringLiteral("none"));
    QCOMPARE(s.ReadList(QStringLiteral("S"), QStringLiteral("k")), QStringList({QStringLiteral("new")}));

    s.WriteString(QStringLiteral("a><b"), QStringLiteral("c"), QStringLiteral("1"));
    QCOMPARE(s.ReadString(QStringLiteral("a><b"), QStringLiteral("c"), QString()), QStringLiteral("1"));
    QCOMPARE(s.ReadString(QStringLiteral("a"), QStringLiteral("b><c"), QString()), QStringLiteral("1"));
    QCOMPARE(s.ReadSectionEntries(QStringLiteral("a"), QString()), QStringList({QStringLiteral("<b><c>1")}));
    s.DeleteKey(QStringLiteral("a"), QStringLiteral("b"));
    QCOMPARE(s.ReadString(QStringLiteral("a><b"), QStringLiteral("c"), QStringLiteral("gone")),
             QStringLiteral("gone"));
}

void TestAppData::indexAgreesWithAPlainScan()
{
    // Random writes, lists and deletions over a few names that include
    // brackets; after each step every look-up must agree with the scan.
    const QStringList names = {QStringLiteral("a"),  QStringLiteral("ab"), QStringLiteral("a>b"),
                               QStringLiteral("b<"), QStringLiteral(""),   QStringLiteral(">")};
    QRandomGenerator random(20261209);
    EntryTable table;
    ReferenceLines reference;
    auto pick = [&] { return names[random.bounded(static_cast<int>(names.size()))]; };
    auto prefixOf = [](const QString& s, const QString& k) {
        return QLatin1Char('<') + s + QStringLiteral("><") + k + QLatin1Char('>');
    };

    for (int step = 0; step < 3000; ++step) {
        const QString section = pick();
        const QString key = pick();
        const QString prefix = prefixOf(section, key);
        const QString line = prefix + pick();
        switch (random.bounded(6)) {
        case 0:
        case 1: {
            const qsizetype at = table.FindFirst(prefix);
            const qsizetype refAt = reference.FindFirst(prefix);
            if (at == EntryTable::NotFound) {
                QCOMPARE(refAt, -1);
                table.Append(line);
                reference.lines.append(line);
            } else {
                QCOMPARE(table.At(at), reference.lines[refAt]);
                table.Replace(at, line);
                reference.lines[refAt] = line;
            }
            break;
        }
        case 2:
            table.Append(line);
            reference.lines.append(line);
            break;
        case 3:
            table.RemoveAll(prefix);
            reference.RemoveAll(prefix);
            break;
        case 4:
            table.RemoveAll(QLatin1Char('<') + section + QLatin1Char('>'));
            reference.RemoveAll(QLatin1Char('<') + section + QLatin1Char('>'));
            break;
        default:
            for (int n = 0; n < 40; ++n) {
                table.Append(QStringLiteral("<bulk><k%1>v").arg(n));
                reference.lines.append(QStringLiteral("<bulk><k%1>v").arg(n));
            }
            table.RemoveAll(QStringLiteral("<bulk>"));
            reference.RemoveAll(QStringLiteral("<bulk>"));
            break;
        }
        QCOMPARE(table.Lines(), reference.lines);
        QCOMPARE(table.Count(), reference.lines.size());
        for (const QString& s : names) {
            for (const QString& k : names) {
                const QString p = prefixOf(s, k);
                const qsizetype at = table.FindFirst(p);
                const qsizetype refAt = reference.FindFirst(p);
                QCOMPARE(at == EntryTable::NotFound, refAt == -1);
                if (at != EntryTable::NotFound)
                    QCOMPARE(table.At(at), reference.lines[refAt]);
                QStringList all;
                for (qsizetype position : table.FindAll(p))
                    all.append(table.At(position));
                QCOMPARE(all, reference.FindAll(p));
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestAppData)
#include "tst_app_data.moc"
