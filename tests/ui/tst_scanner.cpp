#include "ui/ScannerU.h"

#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTest>

class TestScanner : public QObject {
    Q_OBJECT
private slots:
    void PaneAndBarSitWhereTheScanExpectsThem()
    {
        TScanner scanner;
        QCOMPARE(scanner.size(), QSize(701, 240));
        QCOMPARE(scanner.findChild<QPlainTextEdit*>(QStringLiteral("memTask")), scanner.memTask);
        QCOMPARE(scanner.memTask->geometry(), QRect(0, 0, 697, 225));
        QVERIFY(scanner.memTask->isReadOnly());
        QCOMPARE(scanner.findChild<QProgressBar*>(QStringLiteral("ProgressBar1")), scanner.ProgressBar1);
        QCOMPARE(scanner.ProgressBar1->geometry(), QRect(4, 232, 697, 8));
        // The user cannot close it in the middle of a scan.
        QVERIFY(!scanner.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!scanner.windowFlags().testFlag(Qt::WindowSystemMenuHint));
    }

    void EachScanStartsWithAnEmptyPane()
    {
        TScanner scanner;
        scanner.BeginScan(QStringLiteral("Alpha"));
        QVERIFY(scanner.isVisible());
        QVERIFY(!scanner.isModal());
        QCOMPARE(scanner.windowTitle(), QStringLiteral("Tarnwell - Scanning Project - Alpha"));
        QCOMPARE(scanner.Lines(), QStringList());
        scanner.AddLine(QStringLiteral("Loading Local Folders"));
        scanner.AddLine(QStringLiteral("Searching Local Sub Folders"));
        QCOMPARE(scanner.Lines(), QStringList({QStringLiteral("Loading Local Folders"),
                                               QStringLiteral("Searching Local Sub Folders")}));
        scanner.EndScan();
        QVERIFY(!scanner.isVisible());

        scanner.BeginScan(QStringLiteral("Beta"));
        QCOMPARE(scanner.windowTitle(), QStringLiteral("Tarnwell - Scanning Project - Beta"));
        QCOMPARE(scanner.Lines(), QStringList());
        scanner.AddLine(QStringLiteral("Checking Local Files"));
        QCOMPARE(scanner.Lines(), QStringList(QStringLiteral("Checking Local Files")));
        scanner.EndScan();
    }

    void NewestLineStaysInView()
    {
        TScanner scanner;
        scanner.BeginScan(QStringLiteral("Alpha"));
        QVERIFY(QTest::qWaitForWindowExposed(&scanner));
        for (int i = 0; i < 80; ++i)
            scanner.AddLine(QStringLiteral("Scanning - /site/www/page%1.html").arg(i));
        const QScrollBar* bar = scanner.memTask->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), bar->maximum());
        QCOMPARE(scanner.Lines().size(), 80);
        QCOMPARE(scanner.Lines().last(), QStringLiteral("Scanning - /site/www/page79.html"));
    }

    void ProgressStaysInRange()
    {
        TScanner scanner;
        scanner.SetProgress(40);
        QCOMPARE(scanner.ProgressBar1->value(), 40);
        scanner.SetProgress(140);
        QCOMPARE(scanner.ProgressBar1->value(), 100);
        scanner.SetProgress(-5);
        QCOMPARE(scanner.ProgressBar1->value(), 0);
    }
};

QTEST_MAIN(TestScanner)
#include "tst_scanner.moc"
