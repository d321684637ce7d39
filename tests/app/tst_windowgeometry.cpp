#include "app/WindowGeometry.h"
#include "settings/SettingsSchema.h"
#include "util/TarnwellError.h"

#include "TestStore.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

namespace {

const QString MainScreen = QStringLiteral("MainScreen");

WindowGeometryValues Values(int top, int left, int height, int width)
{
    WindowGeometryValues values;
    values.top = top;
    values.left = left;
    values.height = height;
    values.width = width;
    return values;
}

QString Text(const WindowGeometryValues& v)
{
    return QStringLiteral("top %1 left %2 height %3 width %4")
        .arg(v.top)
        .arg(v.left)
        .arg(v.height)
        .arg(v.width);
}

QSize PrimaryScreenSize()
{
    return QGuiApplication::primaryScreen()->geometry().size();
}

} // namespace

class TestWindowGeometry : public QObject {
    Q_OBJECT
private slots:
    void DefaultCentresTheWindow_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("left");

        QTest::newRow("designed size, full HD") << QSize(746, 655) << QSize(1920, 1080) << 213 << 587;
        // Halves are taken separately, each rounded toward zero.
        QTest::newRow("odd screen and window") << QSize(747, 655) << QSize(1367, 769) << 57 << 310;
        QTest::newRow("window taller than screen") << QSize(746, 655) << QSize(800, 600) << -27 << 27;
    }
    void DefaultCentresTheWindow()
    {
        QFETCH(QSize, window);
        QFETCH(QSize, screen);
        QFETCH(int, top);
        QFETCH(int, left);
        const WindowGeometryValues values = DefaultWindowGeometry(window, screen);
        QCOMPARE(Text(values), Text(Values(top, left, window.height(), window.width())));
    }

    void ClampKeepsTheCornerOnScreen_data()
    {
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("expectedTop");
        QTest::addColumn<int>("expectedLeft");

        // Screen 1367 x 769: its middle is 683, 384 (rounded toward zero).
        QTest::newRow("inside, used as is") << 100 << 200 << 100 << 200;
        QTest::newRow("one pixel from each edge") << 1 << 1 << 1 << 1;
        QTest::newRow("last pixel before the far edges") << 768 << 1366 << 768 << 1366;
        QTest::newRow("left 0") << 100 << 0 << 100 << 683;
        QTest::newRow("left negative") << 100 << -8 << 100 << 683;
        QTest::newRow("left at screen width") << 100 << 1367 << 100 << 683;
        QTest::newRow("left beyond screen width") << 100 << 3000 << 100 << 683;
        QTest::newRow("top 0") << 0 << 200 << 384 << 200;
        QTest::newRow("top negative") << -30 << 200 << 384 << 200;
        QTest::newRow("top at screen height") << 769 << 200 << 384 << 200;
        QTest::newRow("both off screen") << 5000 << -5000 << 384 << 683;
    }
    void ClampKeepsTheCornerOnScreen()
    {
        QFETCH(int, top);
        QFETCH(int, left);
        QFETCH(int, expectedTop);
        QFETCH(int, expectedLeft);
        // The size is never considered, however large.
        const WindowGeometryValues clamped =
            ClampWindowGeometry(Values(top, left, 2000, 3000), QSize(1367, 769));
        QCOMPARE(Text(clamped), Text(Values(expectedTop, expectedLeft, 2000, 3000)));
    }

    void WritesTheKeysInOrder()
    {
        TestStore store;
        WriteWindowGeometry(*store, MainScreen, Values(11, 22, 655, 746), true);
        const QString section = Schema::WindowSection(MainScreen);
        QCOMPARE(section, QStringLiteral("Window\\MainScreen"));
        QCOMPARE(store->ReadSectionEntries(section, QString()),
                 QStringList({QStringLiteral("<top>11"), QStringLiteral("<left>22"),
                              QStringLiteral("<height>655"), QStringLiteral("<width>746")}));

        TestStore positionOnly;
        WriteWindowGeometry(*positionOnly, MainScreen, Values(11, 22, 655, 746), false);
        QCOMPARE(positionOnly->ReadSectionEntries(section, QString()),
                 QStringList({QStringLiteral("<top>11"), QStringLiteral("<left>22")}));
    }

    void ReadsStoredValuesOrDefaults()
    {
        const QSize screen(1920, 1080);
        const QSize window(746, 655);
        TestStore store;
        // Nothing stored: centred at its current size.
        QCOMPARE(Text(ReadWindowGeometry(*store, MainScreen, window, screen, true)),
                 Text(Values(213, 587, 655, 746)));

        WriteWindowGeometry(*store, MainScreen, Values(40, 50, 700, 900), true);
        QCOMPARE(Text(ReadWindowGeometry(*store, MainScreen, window, screen, true)),
                 Text(Values(40, 50, 700, 900)));
        // Without size the stored size is ignored.
        QCOMPARE(Text(ReadWindowGeometry(*store, MainScreen, window, screen, false)),
                 Text(Values(40, 50, 655, 746)));
        // Another window has its own section.
        QCOMPARE(Text(ReadWindowGeometry(*store, QStringLiteral("Other"), window, screen, true)),
                 Text(Values(213, 587, 655, 746)));

        // A stored 0 is put in the middle of the screen.
        WriteWindowGeometry(*store, MainScreen, Values(0, 0, 700, 900), true);
        QCOMPARE(Text(ReadWindowGeometry(*store, MainScreen, window, screen, true)),
                 Text(Values(540, 960, 700, 900)));
    }

    void DamagedValueThrowsAndMovesNothing()
    {
        TestStore store;
        const QString section = Schema::WindowSection(MainScreen);
        store->WriteString(section, Schema::KeyTop, QStringLiteral("100"));
        store->WriteString(section, Schema::KeyLeft, QStringLiteral("1O0"));
        QVERIFY_THROWS_EXCEPTION(
            TarnwellError, ReadWindowGeometry(*store, MainScreen, QSize(746, 655), QSize(1920, 1080), true));

        QWidget window;
        window.setObjectName(MainScreen);
        window.setGeometry(30, 40, 746, 655);
        const QRect before = window.geometry();
        QVERIFY_THROWS_EXCEPTION(TarnwellError, LoadWindowGeometry(*store, window, true));
        QCOMPARE(window.geometry(), before);
    }

    // At start a window with nothing stored is centred at its own size, one
    // comes back where it was saved, and one saved off screen goes to the middle.
    void LoadPlacesTheWindow_data()
    {
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QRect>("saved");
        QTest::addColumn<QSize>("design");
        QTest::addColumn<QRect>("expected");
        const QSize screen = PrimaryScreenSize();
        QVERIFY(screen.width() > 200 && screen.height() > 200);
        const QPoint middle(screen.width() / 2, screen.height() / 2);
        QTest::newRow("first start") << false << QRect() << QSize()
                                     << QRect(middle - QPoint(75, 45), QSize(150, 90));
        // The corner of a window of the designed size; the size is its own.
        QTest::newRow("first start, designed size")
            << false << QRect() << QSize(200, 100) << QRect(middle - QPoint(100, 50), QSize(150, 90));
        QTest::newRow("where it was")
            << true << QRect(37, 21, 160, 120) << QSize(200, 100) << QRect(37, 21, 160, 120);
        QTest::newRow("off screen") << true << QRect(0, screen.height(), 160, 120) << QSize()
                                    << QRect(middle, QSize(160, 120));
    }
    void LoadPlacesTheWindow()
    {
        QFETCH(bool, stored);
        QFETCH(QRect, saved);
        QFETCH(QSize, design);
        QFETCH(QRect, expected);
        TestStore store;
        if (stored) {
            QWidget before;
            before.setObjectName(MainScreen);
            before.move(saved.topLeft());
            before.resize(saved.size());
            SaveWindowGeometry(*store, before, true);
        }
        QWidget window;
        window.setObjectName(MainScreen);
        window.resize(150, 90);
        LoadWindowGeometry(*store, window, true, design);
        QCOMPARE(window.pos(), expected.topLeft());
        QCOMPARE(window.size(), expected.size());
    }
};

QTEST_MAIN(TestWindowGeometry)
#include "tst_windowgeometry.moc"
