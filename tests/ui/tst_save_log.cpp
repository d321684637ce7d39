// The two "Save Log" buttons: which log, under which proposed name, and the
// button left disabled whether the user saved or cancelled.
#include "WindowFixture.h"

#include <QPlainTextEdit>

class SaveLogUi : public QObject {
    Q_OBJECT
private slots:
    void SavesItsOwnLogOnce_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("log");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<bool>("save");
        QTest::newRow("site log") << "bbtnSaveUploadLog"
                                  << "SiteUploadProgress"
                                  << "Save site upload log file"
                                  << "Alpha-SiteUpload.txt" << true;
        QTest::newRow("build log") << "bbtnSaveSoftUploadLog"
                                   << "ProgressPane"
                                   << "Save software update upload log file"
                                   << "Alpha-SoftUpload.txt" << true;
        QTest::newRow("cancelled") << "bbtnSaveSoftUploadLog"
                                   << "ProgressPane"
                                   << "Save software update upload log file"
                                   << "Alpha-SoftUpload.txt" << false;
    }
    void SavesItsOwnLogOnce()
    {
        QFETCH(QString, button);
        QFETCH(QString, log);
        QFETCH(QString, title);
        QFETCH(QString, proposed);
        QFETCH(bool, save);
        WindowFixture fx;
        fx.NewProject("Alpha");
        fx.Find<QPlainTextEdit>(log.toLatin1())->appendPlainText(QStringLiteral("Done"));
        const QString chosen = fx.folder->FilePath("saved.log");
        if (save)
            fx.services.saveFiles.QueuePath(chosen);
        QPushButton* sender = fx.Button(button.toLatin1());
        sender->setEnabled(true);
        sender->click();

        QCOMPARE(fx.services.saveFiles.Calls().size(), 1);
        QCOMPARE(fx.services.saveFiles.Calls().first().title, title);
        QCOMPARE(fx.services.saveFiles.Calls().first().proposedName, proposed);
        QCOMPARE(fx.services.saveFiles.Calls().first().filter, QStringLiteral("Text Files|*.txt"));
        QCOMPARE(QFile::exists(fx.folder->FilePath("saved.txt")), save);
        if (save)
            QCOMPARE(ReadFileBytes(fx.folder->FilePath("saved.txt")), QByteArray("Waiting\r\nDone\r\n"));
        QVERIFY(!sender->isEnabled());
    }
};

QTEST_MAIN(SaveLogUi)
#include "tst_save_log.moc"
