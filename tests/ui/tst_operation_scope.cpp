// A long operation's frame in the window: the main window disabled and the
// cancel window over it while it runs, both undone however it ends, and the
// log and bars the operation writes to.
#include "ui/CancelFormU.h"
#include "ui/ColorButton.h"
#include "ui/OperationScope.h"
#include "ui/WidgetOperationHost.h"
#include "util/TarnwellError.h"

#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTest>
#include <QWindow>

class OperationScopeTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        main = std::make_unique<QWidget>();
        main->resize(400, 300);
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
        cancel = std::make_unique<TCancelForm>();
    }
    void cleanup()
    {
        cancel.reset();
        main.reset();
    }

    void WindowIsRestoredOnEveryWayOut_data()
    {
        QTest::addColumn<bool>("throws");
        QTest::newRow("ends") << false;
        QTest::newRow("throws") << true;
    }
    void WindowIsRestoredOnEveryWayOut()
    {
        QFETCH(bool, throws);
        try {
            OperationScope scope(*main, *cancel, QStringLiteral("Cancel Build"));
            QVERIFY(!main->isEnabled());
            QVERIFY(cancel->isVisible());
            QCOMPARE(cancel->CancelButton->text(), QStringLiteral("Cancel Build"));
            // Above the main window, with no task-bar entry of its own.
            QCOMPARE(cancel->windowHandle()->transientParent(), main->windowHandle());
            if (throws)
                throw TarnwellError(QStringLiteral("disk full"));
        } catch (const TarnwellError&) {
        }
        QVERIFY(main->isEnabled());
        QVERIFY(!cancel->isVisible());
    }

    // What the operation writes shows as the user reads it, and a click on
    // the cancel button is seen at the next check.
    void HostShowsTheLogAndSeesTheCancel()
    {
        QPlainTextEdit log;
        QProgressBar fileBar;
        QProgressBar overallBar;
        OperationScope scope(*main, *cancel, QStringLiteral("Cancel Upload"));
        WidgetOperationHost host(&log, &fileBar, nullptr, *cancel);
        host.AppendToLastLine(QStringLiteral("Connecting"));
        host.AppendToLastLine(QStringLiteral("...done"));
        host.Log(QStringLiteral("Sending a.html"));
        QCOMPARE(log.toPlainText(), QStringLiteral("Connecting...done\nSending a.html"));

        // Totals beyond an int still show the right share.
        host.SetFileProgress(3'000'000'000LL, 6'000'000'000LL);
        QVERIFY(qAbs(double(fileBar.value()) / fileBar.maximum() - 0.5) < 0.001);
        host.SetOverallProgress(1, 2); // no bar: nothing to move

        QVERIFY(!host.Cancelled());
        QTest::mouseClick(cancel->CancelButton, Qt::LeftButton);
        QVERIFY(host.Cancelled());
    }

private:
    std::unique_ptr<QWidget> main;
    std::unique_ptr<TCancelForm> cancel;
};

QTEST_MAIN(OperationScopeTest)
#include "tst_operation_scope.moc"
