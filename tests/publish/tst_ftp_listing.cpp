#include "publish/FtpListing.h"

#include <QTest>

namespace {

QString KindName(FtpEntryKind kind)
{
    switch (kind) {
    case FtpEntryKind::File:
        return QStringLiteral("file");
    case FtpEntryKind::Folder:
        return QStringLiteral("folder");
    case FtpEntryKind::Link:
        return QStringLiteral("link");
    case FtpEntryKind::Other:
        break;
    }
    return QStringLiteral("other");
}

} // namespace

class FtpListingTest : public QObject {
    Q_OBJECT
private slots:
    // Each line is fed as a whole listing ended by CR LF; kind "" means the
    // line yields no entry.
    void ParsesOneLine_data()
    {
        QTest::addColumn<bool>("mlsd");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("size");

        auto row = [](const char* tag, bool mlsd, const char* line, const char* kind, const QString& name,
                      qint64 size) {
            QTest::newRow(tag) << mlsd << QString::fromUtf8(line) << kind << name << size;
        };

        row("mlsd file", true, "type=file;size=1234;modify=20200101120000; index.html", "file", "index.html",
            1234);
        row("mlsd folder", true, "type=dir;sizd=4096;modify=20200101120000; img", "folder", "img", 4096);
        row("mlsd facts in any case", true, "Type=File;Size=5; two  blanks.txt", "file", "two  blanks.txt",
            5);
        row("mlsd over 4 GB", true, "type=file;size=9876543210; big.iso", "file", "big.iso", 9876543210LL);
        row("mlsd link", true, "type=OS.unix=slink:/etc/x;size=6; current", "link", "current", 6);
        row("mlsd device", true, "type=OS.unix=chr-13/29; tty", "other", "tty", 0);
        row("mlsd utf-8 name", true, "type=file;size=1; gr\xc3\xbc\xc3\x9f.txt", "file",
            QStringLiteral("gr\u00fc\u00df.txt"), 1);
        row("mlsd own folder", true, "type=cdir;modify=20200101120000; /site", "", "", 0);
        row("mlsd without type", true, "size=12; nameless.txt", "", "", 0);

        row("unix file", false, "-rw-r--r--   1 owner group      1234 Jan 15 10:30 index.html", "file",
            "index.html", 1234);
        row("unix folder with year", false, "drwxr-xr-x   2 owner group      4096 Mar  3  2019 images",
            "folder", "images", 4096);
        row("unix link", false, "lrwxrwxrwx   1 owner group        11 Dec 31 23:59 current -> release 2",
            "link", "current", 11);
        row("unix blanks in name", false, "-rw-r--r--   1 owner group  10 Feb  1  2021 my file  name.txt",
            "file", "my file  name.txt", 10);
        row("unix name like a year", false, "-rw-r--r--   1 owner group  42 Jan  5  2020 2020 report.txt",
            "file", "2020 report.txt", 42);
        row("unix over 4 GB, numeric ids", false,
            "-rw-r--r--   1 1000  1000  5368709120 Jul  4 08:00 disk.img", "file", "disk.img", 5368709120LL);
        row("unix without group", false, "-rw-r--r-- 1 owner 512 Jan 1 2020 nogroup.txt", "file",
            "nogroup.txt", 512);
        row("unix ISO date and ACL mark", false, "drwxr-xr-x+  3 owner group 4096 2021-06-30 14:22 iso dated",
            "folder", "iso dated", 4096);
        row("unix device", false, "crw-rw-rw-   1 root  root   1,   3 Jan  1 00:00 null", "other", "null", 3);
        row("unix dot", false, "drwxr-xr-x   2 owner group 4096 Jan  1 12:00 .", "", "", 0);

        row("dos folder", false, "01-15-20  10:30AM       <DIR>          My Folder", "folder", "My Folder",
            0);
        row("dos file, four-digit year", false, "01-15-2020  03:05PM              1234 report 2020.pdf",
            "file", "report 2020.pdf", 1234);
        row("dos 24-hour clock", false, "06-30-21  14:22       <dir>          lower", "folder", "lower", 0);

        row("total line", false, "total 24", "", "", 0);
        row("empty line", false, "", "", "", 0);
        row("unix line without date", false, "-rw-r--r-- 1 owner group 12 someday name", "", "", 0);
    }
    void ParsesOneLine()
    {
        QFETCH(bool, mlsd);
        QFETCH(QString, line);
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QFETCH(qint64, size);

        const QList<FtpEntry> entries = ParseListing(line.toUtf8() + "\r\n", mlsd);
        if (kind.isEmpty()) {
            QVERIFY2(entries.isEmpty(), qPrintable(entries.value(0).Name));
            return;
        }
        QCOMPARE(entries.size(), 1);
        QCOMPARE(KindName(entries[0].Kind), kind);
        QCOMPARE(entries[0].Name, name);
        QCOMPARE(entries[0].Size, size);
    }
};

QTEST_GUILESS_MAIN(FtpListingTest)
#include "tst_ftp_listing.moc"
