#include "app/TarnwellApplication.h"
#include "ui/SlotGuard.h"
#include "util/TarnwellError.h"

#include <QPushButton>
#include <QTest>

namespace {

QStringList reported;

} // namespace

// Our errors end the handler that raised them, are shown, and the program goes on.
class EventBoundary : public QObject {
    Q_OBJECT
private slots:
    void init() { reported.clear(); }

    void ErrorOfAQueuedHandlerIsShownAndTheLoopGoesOn()
    {
        int handled = 0;
        QObject context;
        QMetaObject::invokeMethod(&context, Guarded([&handled] {
            ++handled;
            throw TarnwellError(QStringLiteral("'x' is not a valid integer value"));
        }),
                                  Qt::QueuedConnection);
        QMetaObject::invokeMethod(&context, Guarded([&handled] { ++handled; }), Qt::QueuedConnection);
        QCoreApplication::processEvents();
        QCOMPARE(handled, 2);
        QCOMPARE(reported, QStringList{"'x' is not a valid integer value"});
    }

    void ErrorOfAClickHandlerIsShownOnce()
    {
        QPushButton button(QStringLiteral("Build"));
        int clicks = 0;
        connect(&button, &QPushButton::clicked, this, Guarded([&clicks] {
            ++clicks;
            throw TarnwellError(QStringLiteral("Couldn't create buildrelease.bat"));
        }));
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicks, 2);
        QCOMPARE(reported,
                 (QStringList{"Couldn't create buildrelease.bat", "Couldn't create buildrelease.bat"}));
        // The button still works normally afterwards.
        QVERIFY(button.isEnabled());
    }

    // A display name set on the application is appended to every window
    // title by the X11 platform (" — Tarnwell"), which would spoil titles
    // such as "Tarnwell - Scanning Project - Alpha". Left unset, the display
    // name follows the application name.
    void NoDisplayNameIsAppendedToTitles()
    {
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Tarnwell"));
        QCoreApplication::setApplicationName(QStringLiteral("probe"));
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("probe"));
        QCoreApplication::setApplicationName(QStringLiteral("Tarnwell"));
    }
};

int main(int argc, char* argv[])
{
    TarnwellApplication app(argc, argv);
    app.SetErrorReporter([](const QString& message) { reported << message; });
    EventBoundary test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_event_boundary.moc"
