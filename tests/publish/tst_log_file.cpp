// A saved log: the name it ends up under and what the file holds.
#include "TestFolder.h"
#include "publish/LogFile.h"

#include <QTest>

class LogFileTest : public QObject {
    Q_OBJECT
private slots:
    void SavedUnderATxtName_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::newRow(".log replaced") << "logs/Alpha-SiteUpload.log"
                                       << "logs/Alpha-SiteUpload.txt";
        QTest::newRow("no extension") << "logs/build"
                                      << "logs/build.txt";
        QTest::newRow(".txt kept") << "Alpha-SoftUpload.txt"
                                   << "Alpha-SoftUpload.txt";
        QTest::newRow("last extension only") << "a.b.log"
                                             << "a.b.txt";
        QTest::newRow("dot in the folder") << "v1.2/log"
                                           << "v1.2/log.txt";
        QTest::newRow("hidden name") << ".upload"
                                     << ".upload.txt";
    }
    void SavedUnderATxtName()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        TestFolder folder;
        folder.Write("logs/keep", "x");
        folder.Write("v1.2/keep", "x");
        QCOMPARE(SaveLogFile(folder.FilePath(chosen), {"Connected", "a.html... Success"}), QString());
        QCOMPARE(ReadFileBytes(folder.FilePath(written)), QByteArray("Connected\r\na.html... Success\r\n"));
    }

    void FailedSaveIsReported()
    {
        TestFolder folder;
        const QString error = SaveLogFile(folder.FilePath("missing/folder/log"), {"x"});
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(folder.FilePath("missing/folder/log.txt")));
    }
};

QTEST_GUILESS_MAIN(LogFileTest)
#include "tst_log_file.moc"
