// A site upload started from the window's Site Upload page.
#include "UploadFixture.h"
#include "WindowFixture.h"
#include "settings/StoreSetup.h"
#include "ui/CancelFormU.h"
#include "ui/ColorButton.h"

#include <QAction>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTimer>

namespace {

// The window with the project "Shop" loaded; the project and its account
// "Live" are in the settings file when the window starts.
struct ShopWindow {
    explicit ShopWindow(const FtpTestServer::Options& liveOptions = {}, int connections = DefaultConnections)
    {
        wfx.window->close();
        wfx.window.reset();
        RecordingPrompts quiet;
        auto program = std::make_unique<TAppData>();
        if (!SetUpStore(*program, quiet))
            qFatal("no settings store");
        fx = std::make_unique<UploadFixture>(program.get());
        fx->connections = connections;
        live = &fx->AddAccount("Live", liveOptions);
        program->Save();
        wfx.Open();
        fx->store = &wfx.Store();
        program.reset();
        cancelForm = wfx.window->CancelForm();
        wfx.Select("Projects", {UploadFixture::Project});
        wfx.Button("bbtnSelectProject")->click();
    }

    WindowFixture wfx;
    std::unique_ptr<UploadFixture> fx;
    FtpTestServer* live = nullptr;
    TCancelForm* cancelForm = nullptr; // the window's own
};

} // namespace

class SiteUploadWindowTest : public QObject {
    Q_OBJECT
private slots:
    void WindowAfterARun_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("confirmed") << IDYES;
        QTest::newRow("not confirmed") << IDNO;
    }
    void WindowAfterARun()
    {
        QFETCH(int, answer);
        const bool confirmed = answer == IDYES;
        ShopWindow shop;
        WindowFixture& wfx = shop.wfx;
        UploadFixture& fx = *shop.fx;
        FtpTestServer& live = *shop.live;
        TCancelForm& cancelForm = *shop.cancelForm;
        QCOMPARE(wfx.Items("lbxLocalFiles").size(), 3);

        // While files are sent the window is disabled under the cancel window.
        auto* log = wfx.Find<QPlainTextEdit>("SiteUploadProgress");
        QStringList whileSending;
        connect(log, &QPlainTextEdit::textChanged, this, [&] {
            if (log->toPlainText().endsWith("index.html") && whileSending.isEmpty())
                whileSending << QString::number(wfx.window->isEnabled())
                             << QString::number(cancelForm.isVisible()) << cancelForm.CancelButton->text();
        });
        QPushButton* saveLog = wfx.Button("bbtnSaveUploadLog");
        saveLog->setEnabled(true);
        wfx.prompts.Clear();
        wfx.prompts.QueueAnswers({answer});
        wfx.Button("bbtnUploadSite")->click();

        QCOMPARE(wfx.prompts.Count(RecordingPrompts::Kind::Question), 1);
        QVERIFY(wfx.window->isEnabled());
        QVERIFY(!cancelForm.isVisible());
        QCOMPARE(saveLog->isEnabled(), confirmed);
        QCOMPARE(whileSending, (confirmed ? QStringList{"0", "1", "Cancel Upload"} : QStringList()));
        const QStringList lines = log->toPlainText().split('\n');
        QCOMPARE(lines.last(), confirmed ? QString("End of summary") : QString());
        QCOMPARE(live.FileBytes("/public_html/index.html"), confirmed ? fx.SiteBytes("www/index.html") : "");
        // Recorded in the window's store, which its close saves.
        QCOMPARE(fx.Stamp("Live", "www/index.html"), confirmed ? fx.Age("www/index.html") : 0);
    }

    // The window's close while the first file is on its way (the server
    // holds it a second) asks; Yes cancels the upload and closes once it has
    // ended, No lets the upload finish with the window open.
    void CloseDuringUpload_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("yes: cancel and close") << IDYES;
        QTest::newRow("no: go on") << IDNO;
    }
    void CloseDuringUpload()
    {
        QFETCH(int, answer);
        const bool yes = answer == IDYES;
        FtpTestServer::Options stalls;
        stalls.DelayOnce = {QStringLiteral("STOR:1")};
        // One connection, whose "Sending " line comes before its stalled
        // file (several log each file once it arrived).
        ShopWindow shop(stalls, 1);
        WindowFixture& wfx = shop.wfx;
        UploadFixture& fx = *shop.fx;
        FtpTestServer& live = *shop.live;
        TMainScreen* window = wfx.window.get();

        // Delivered at the upload's next refresh point, as the title bar's close would be.
        auto* log = wfx.Find<QPlainTextEdit>("SiteUploadProgress");
        bool requested = false;
        connect(log, &QPlainTextEdit::textChanged, this, [&] {
            if (!requested && log->toPlainText().contains("Sending ")) {
                requested = true;
                QMetaObject::invokeMethod(
                    window, [window] { window->close(); }, Qt::QueuedConnection);
            }
        });
        const QString settingsPath = wfx.Store().FilePath();
        const QByteArray before = ReadFileBytes(settingsPath);
        wfx.prompts.Clear();
        wfx.prompts.QueueAnswers({IDYES, answer});
        wfx.Button("bbtnUploadSite")->click();
        QCoreApplication::processEvents();

        QCOMPARE(wfx.prompts.Texts(RecordingPrompts::Kind::Question).last(),
                 QStringLiteral("An upload is in progress. Cancel it and close Tarnwell?"));
        QCOMPARE(window->isVisible(), !yes);
        QCOMPARE(log->toPlainText().contains("You cancelled"), yes);
        QCOMPARE(live.Commands().last(), QStringLiteral("QUIT"));
        const QStringList sent{"img/logo.png", "www/a.html", "www/index.html"};
        QCOMPARE(fx.LiveFiles(live), yes ? QStringList() : sent);
        // Only the close writes the settings file (each save salts it anew).
        QCOMPARE(ReadFileBytes(settingsPath) != before, yes);
        if (!yes)
            QCOMPARE(fx.Stamp("Live", "www/index.html"), fx.Age("www/index.html"));
    }

    // "Delete orphans" goes with Entire Site alone, and asks with the count
    // before anything is sent.
    void DeleteOrphansBox_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<bool>("sent");
        const QList<int> yes{IDYES, IDYES};
        QTest::newRow("entire site, box checked") << "bbtnEntire" << true << yes << true << true;
        QTest::newRow("entire site, box not checked") << "bbtnEntire" << false << yes << false << true;
        QTest::newRow("ALL ignores the box") << "bbtnUploadAll" << true << yes << false << true;
        QTest::newRow("No to deleting") << "bbtnEntire" << true << QList<int>{IDYES, IDNO} << false << false;
    }
    void DeleteOrphansBox()
    {
        QFETCH(QString, button);
        QFETCH(bool, checked);
        QFETCH(QList<int>, answers);
        QFETCH(bool, deleted);
        QFETCH(bool, sent);
        ShopWindow shop;
        WindowFixture& wfx = shop.wfx;
        FtpTestServer& live = *shop.live;
        live.PutFile("/public_html/old.html", "gone");
        wfx.Find<QCheckBox>("chkDeleteOrphans")->setChecked(checked);
        wfx.prompts.Clear();
        wfx.prompts.QueueAnswers(answers);
        wfx.Button(qPrintable(button))->click();

        const QStringList questions = wfx.prompts.Texts(RecordingPrompts::Kind::Question);
        QCOMPARE(questions.size(), checked && button == "bbtnEntire" ? 2 : 1);
        if (questions.size() == 2)
            QVERIFY2(questions.last().contains("\rLive: 1 orphan\r"), qPrintable(questions.last()));
        QCOMPARE(live.Exists("/public_html/old.html"), !deleted);
        QCOMPARE(live.Exists("/public_html/index.html"), sent);
        QVERIFY(wfx.window->isEnabled());
        QVERIFY(!shop.cancelForm->isVisible());
    }

    // While the server holds the first file a second, the window thread
    // goes on with its own events (a timer of its keeps ticking), and a
    // click on Cancel is seen once that file has arrived: no later file is
    // sent and nothing goes live. Over several connections the window stays
    // as alive.
    void WindowStaysAliveWhileTheServerStalls_data()
    {
        QTest::addColumn<int>("connections");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<int>("stored"); // STOR commands the server saw
        QTest::addColumn<QStringList>("live");
        const QStringList all{"img/logo.png", "www/a.html", "www/index.html"};
        QTest::newRow("Cancel clicked") << 1 << true << 1 << QStringList();
        QTest::newRow("left alone") << 1 << false << 3 << all;
        QTest::newRow("left alone, 4 connections") << 4 << false << 3 << all;
    }
    void WindowStaysAliveWhileTheServerStalls()
    {
        QFETCH(int, connections);
        QFETCH(bool, cancel);
        QFETCH(int, stored);
        QFETCH(QStringList, live);
        FtpTestServer::Options stalls;
        stalls.DelayOnce = {QStringLiteral("STOR:1")};
        ShopWindow shop(stalls, connections);
        WindowFixture& wfx = shop.wfx;
        TMainScreen* window = wfx.window.get();

        int ticksWhileDisabled = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] { ticksWhileDisabled += window->isEnabled() ? 0 : 1; });
        ticker.start(20);
        auto* log = wfx.Find<QPlainTextEdit>("SiteUploadProgress");
        bool clicked = false;
        connect(log, &QPlainTextEdit::textChanged, this, [&] {
            if (cancel && !clicked && log->toPlainText().contains("Sending ")) {
                clicked = true;
                QTimer::singleShot(100, this,
                                   [&] { QTest::mouseClick(shop.cancelForm->CancelButton, Qt::LeftButton); });
            }
        });
        wfx.prompts.QueueAnswers({IDYES});
        wfx.Button("bbtnUploadSite")->click();

        QVERIFY2(ticksWhileDisabled >= 10, qPrintable(QString::number(ticksWhileDisabled)));
        QCOMPARE(log->toPlainText().contains("You cancelled"), cancel);
        QCOMPARE(shop.live->Commands().filter(QRegularExpression("^STOR ")).size(), stored);
        QCOMPARE(shop.fx->LiveFiles(*shop.live), live);
        QVERIFY(window->isEnabled());
    }

    // Each choice of the Preview menu lists its files in the log and sends
    // nothing, asks nothing and records nothing.
    void PreviewFromTheWindow_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("total");
        QTest::newRow("Updated") << "actPreviewUpdated"
                                 << "Total: 3 files";
        QTest::newRow("Entire Site") << "actPreviewEntire"
                                     << "Total: 4 files";
    }
    void PreviewFromTheWindow()
    {
        QFETCH(QString, action);
        QFETCH(QString, total);
        ShopWindow shop;
        WindowFixture& wfx = shop.wfx;
        UploadFixture& fx = *shop.fx;
        FtpTestServer& live = *shop.live;
        live.PutFile("/public_html/old.html", "gone");
        wfx.prompts.Clear();

        wfx.window->findChild<QAction*>(action)->trigger();
        const QString log = wfx.Find<QPlainTextEdit>("SiteUploadProgress")->toPlainText();
        QVERIFY2(log.contains(total), qPrintable(log));
        QVERIFY2(log.contains("Shop >>> Live: 1 orphan on the server") &&
                     log.contains("  /public_html/old.html (4 bytes)"),
                 qPrintable(log));
        QVERIFY(wfx.window->isEnabled());
        QVERIFY(!shop.cancelForm->isVisible());
        QVERIFY2(log.contains(fx.Local("site/www/index.html") + " (") &&
                     log.contains("-> /public_html/index.html"),
                 qPrintable(log));
        QVERIFY(wfx.prompts.AllShown().isEmpty());
        QCOMPARE(UploadFixture::ChangingCommands(live), QStringList());
        QCOMPARE(fx.Stamp("Live", "www/index.html"), 0);
    }
};

QTEST_MAIN(SiteUploadWindowTest)
#include "tst_site_upload_ui.moc"
