#include "app/TarnwellApplication.h"
#include "util/TarnwellError.h"

#include <QEvent>
#include <QPushButton>
#include <QTest>

namespace {

QStringList reported;

// Throws our error from its event handler, as a failing handler would.
class Thrower : public QObject {
public:
    int handled = 0;
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User) {
            ++handled;
            throw TarnwellError(QStringLiteral("'x' is not a valid integer value"));
        }
        if (e->type() == QEvent::User + 1) {
            ++handled;
            return true;
        }
        return QObject::event(e);
    }
};

} // namespace

// Our errors end the event that raised them, are shown, and the program goes on.
class EventBoundary : public QObject {
    Q_OBJECT
private slots:
    void init() { reported.clear(); }

    void ErrorOfAPostedEventIsShownAndTheLoopGoesOn()
    {
        Thrower thrower;
        QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
        QCoreApplication::postEvent(&thrower, new QEvent(QEvent::Type(QEvent::User + 1)));
        QCoreApplication::processEvents();
        QCOMPARE(thrower.handled, 2);
        QCOMPARE(reported, QStringList{"'x' is not a valid integer value"});
    }

    void ErrorOfAClickHandlerIsShownOnce()
    {
        QPushButton button(QStringLiteral("Build"));
        int clicks = 0;
        connect(&button, &QPushButton::clicked, [&clicks] {
            ++clicks;
            throw TarnwellError(QStringLiteral("Couldn't create buildrelease.bat"));
        });
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
