#include "ui/ScannerU.h"

#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTest>

class TestScanner : public QObject {
    Q_OBJECT
private slots:
    void HasItsControlsInPlace()
    {
        TScanner scanner;
        QCOMPARE(scanner.objectName(), QStringLiteral("Scanner"));
        QCOMPARE(scanner.size(), QSize(701, 240));
        QCOMPARE(scanner.pos(), QPoint(555, 406));
        QCOMPARE(scanner.windowTitle(), QStringLiteral("Scanning Files"));

        QPlainTextEdit* memo = scanner.findChild<QPlainTextEdit*>(QStringLiteral("memTask"));
        QCOMPARE(memo, scanner.memTask);
        QCOMPARE(memo->geometry(), QRect(0, 0, 697, 225));
        QVERIFY(memo->isReadOnly());
        QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

        QProgressBar* bar = scanner.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
        QCOMPARE(bar, scanner.ProgressBar1);
        QCOMPARE(bar->geometry(), QRect(4, 232, 697, 8));
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 100);
        QCOMPARE(bar->value(), 0);
    }

    void CannotBeClosedByTheUser()
    {
        TScanner scanner;
        const Qt::WindowFlags flags = scanner.windowFlags();
        QVERIFY(scanner.isWindow());
        QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
        QVERIFY(flags.testFlag(Qt::WindowTitleHint));
        QVERIFY(!flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowSystemMenuHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
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
        QCOMPARE(scanner.Lines(),
                 QStringList({QStringLiteral("Loading Local Folders"), QStringLiteral("Searching Local Sub Folders")}));
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
