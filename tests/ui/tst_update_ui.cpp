// The update check in the window: the update button it shows, the date kept
// with the settings, "Check for Update", and the button that downloads the
// release and closes the program. The service is a stand-in on 127.0.0.1;
// what the check decides is tested without a window (tst_update_check).
#include "UpdateTestServer.h"
#include "WindowFixture.h"
#include "settings/SettingsSchema.h"
#include "ui/Hints.h"
#include "update/UpdateCheck.h"
#include "util/ExtraCode.h"

#include <QDesktopServices>

// Takes the addresses the program hands to the browser.
class BrowserStandIn : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened << url; }
};

namespace {

const QByteArray Newer = "TarnwellSetup-9-0-0-0.exe";

// A second start (due: the first stored today), or a click on "Check for
// Update" three days before the date, while the check asks the stand-in.
std::unique_ptr<WindowFixture> StartAsking(const UpdateTestServer& service, bool clickCheck)
{
    auto fx = std::make_unique<WindowFixture>();
    qputenv("TARNWELL_UPDATE_ADDRESS", service.Address().toUtf8());
    if (clickCheck) {
        fx->window->State.NextUpdateCheck = ShortDateText(fx->services.clock.Today().addDays(3));
        fx->Button("bbtnUpdateCheck")->click();
    } else {
        fx->Restart();
    }
    qputenv("TARNWELL_UPDATE_ADDRESS", QByteArray());
    return fx;
}

} // namespace

class UpdateUi : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "Open"); }
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }

    void ButtonAndDate_data()
    {
        QTest::addColumn<bool>("clickCheck");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("boxes");
        QTest::addColumn<int>("nextInDays");
        QTest::newRow("start, newer") << false << Newer << 0 << 7;
        QTest::newRow("check for update, up to date")
            << true << ExpectedInstallerName(GetVersionString({}, VersionFormat)).toLatin1() << 1 << 3;
    }
    void ButtonAndDate()
    {
        QFETCH(bool, clickCheck);
        QFETCH(QByteArray, reply);
        QFETCH(int, boxes);
        QFETCH(int, nextInDays);
        UpdateTestServer service({200, reply, false});
        QVERIFY2(service.IsRunning(), qPrintable(service.Error()));
        auto fx = StartAsking(service, clickCheck);

        QCOMPARE(service.Requests().size(), 1);
        QCOMPARE(fx->prompts.AllShown().size(), boxes);
        QPushButton* update = fx->Button("btnUpdate");
        QCOMPARE(update->isVisible(), reply == Newer);
        if (update->isVisible()) {
            QCOMPARE(update->text(), QStringLiteral("Update Available"));
            QCOMPARE(ControlHint(update), QStringLiteral("Click to Close Tarnwell and download ") + Newer);
        }
        QCOMPARE(fx->window->windowTitle(), QStringLiteral("Tarnwell"));
        fx->Restart();
        QCOMPARE(fx->Store().ReadString(Schema::SecSettings, Schema::KeyUpdateCheck, {}),
                 ShortDateText(fx->services.clock.Today().addDays(nextInDays)));
    }

    // A build without an update service (the default), nothing in the
    // environment: the start asks nothing and says nothing, and "Check for
    // Update" says there is no service.
    void NoAddress_data()
    {
        QTest::addColumn<bool>("clickCheck");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("start") << false << QStringList();
        QTest::newRow("check for update")
            << true << QStringList{"This build of Tarnwell has no update service."};
    }
    void NoAddress()
    {
        QFETCH(bool, clickCheck);
        QFETCH(QStringList, boxes);
        if (!BuiltInUpdateAddress().isEmpty())
            QSKIP("this build has an update service");
        qunsetenv("TARNWELL_UPDATE_ADDRESS");
        WindowFixture fx;
        if (clickCheck)
            fx.Button("bbtnUpdateCheck")->click();
        qputenv("TARNWELL_UPDATE_ADDRESS", QByteArray());

        QCOMPARE(fx.prompts.Texts(), boxes);
        QVERIFY(!fx.Button("btnUpdate")->isVisible());
        // Nothing was asked, so the date stays where the start found it.
        QCOMPARE(fx.window->State.NextUpdateCheck, ShortDateText(fx.services.clock.Today()));
    }

    void UpdateButtonDownloadsAndCloses_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("yes") << IDYES;
        QTest::newRow("no") << IDNO;
    }
    void UpdateButtonDownloadsAndCloses()
    {
        QFETCH(int, answer);
        browser.opened.clear();
        UpdateTestServer service({200, Newer, false});
        QVERIFY2(service.IsRunning(), qPrintable(service.Error()));
        auto fx = StartAsking(service, false);
        fx->prompts.QueueAnswers({answer});
        fx->Button("btnUpdate")->click();

        QCOMPARE(
            fx->prompts.Texts(),
            QStringList{"Do you want to go to the web site and download the latest version of Tarnwell?\r\r"
                        "If you click yes, Tarnwell will close and the download will start in your browser "
                        "once the download is complete just install it!"});
        const bool yes = answer == IDYES;
        const QUrl download(QStringLiteral("https://www.tarnwell.example/downloads/") + Newer);
        QCOMPARE(browser.opened, yes ? QList<QUrl>{download} : QList<QUrl>{});
        QCOMPARE(fx->window->isVisible(), !yes);
        // Closing wrote the settings.
        QCOMPARE(fx->window->StoreReady(), !yes);
    }

private:
    BrowserStandIn browser;
};

QTEST_MAIN(UpdateUi)
#include "tst_update_ui.moc"
