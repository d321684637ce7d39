#include "ui/Placement.h"

#include <QTest>
#include <QWidget>

class TestPlacement : public QObject {
    Q_OBJECT
private slots:
    void CentredOnRoundsHalvesTowardZero_data()
    {
        QTest::addColumn<QRect>("owner");
        QTest::addColumn<QSize>("child");
        QTest::addColumn<QPoint>("expected");

        // left = owner left + owner width div 2 - child width div 2; top likewise.
        QTest::newRow("even sizes") << QRect(100, 200, 746, 656) << QSize(204, 114) << QPoint(371, 471);
        // The halves are taken separately: 746 div 2 - 203 div 2 = 272, not (746 - 203) div 2 = 271.
        QTest::newRow("cancel window on designed main window")
            << QRect(0, 0, 746, 655) << QSize(203, 113) << QPoint(272, 271);
        QTest::newRow("both odd") << QRect(10, 20, 747, 655) << QSize(203, 113) << QPoint(282, 291);
        QTest::newRow("owner odd child even") << QRect(0, 0, 747, 655) << QSize(204, 112) << QPoint(271, 271);
        // Negative corners (a window partly off the left/top screen edge, or a
        // screen left of the primary one) are never halved, so nothing floors.
        QTest::newRow("negative corner") << QRect(-1001, -51, 10, 7) << QSize(3, 3) << QPoint(-997, -49);
        QTest::newRow("negative corner, odd owner")
            << QRect(-101, -300, 747, 655) << QSize(203, 113) << QPoint(171, -29);
        QTest::newRow("child larger than owner")
            << QRect(50, 50, 100, 100) << QSize(301, 201) << QPoint(-50, 0);
        QTest::newRow("child larger than owner, negative result")
            << QRect(0, 0, 1, 1) << QSize(5, 5) << QPoint(-2, -2);
    }
    void CentredOnRoundsHalvesTowardZero()
    {
        QFETCH(QRect, owner);
        QFETCH(QSize, child);
        QFETCH(QPoint, expected);
        QCOMPARE(CentredOn(owner, child), expected);
    }

    void PlaceCentredOnMovesTheChildWindow()
    {
        QWidget owner;
        owner.setGeometry(-40, 30, 747, 655);
        QWidget child(nullptr, Qt::Window | Qt::FramelessWindowHint);
        child.resize(203, 113);
        PlaceCentredOn(child, owner);
        const QPoint expected = CentredOn(owner.frameGeometry(), QSize(203, 113));
        QCOMPARE(child.pos(), expected);
        QCOMPARE(child.size(), QSize(203, 113));
    }
};

QTEST_MAIN(TestPlacement)
#include "tst_placement.moc"
