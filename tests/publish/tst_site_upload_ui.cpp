// A site upload started from the window's Site Upload page.
#include "UploadFixture.h"
#include "WindowFixture.h"
#include "settings/StoreSetup.h"
#include "ui/CancelFormU.h"
#include "ui/ColorButton.h"

#include <QAction>
#include <QPlainTextEdit>

namespace {

// The window with the project "Shop" loaded; the project and its account
// "Live" are in the settings file when the window starts.
struct ShopWindow {
    ShopWindow()
    {
        wfx.window->close();
        wfx.window.reset();
        RecordingPrompts quiet;
        auto program = std::make_unique<TAppData>();
        if (!SetUpStore(*program, quiet))
            qFatal("no settings store");
        fx = std::make_unique<UploadFixture>(program.get());
        live = &fx->AddAccount("Live");
        program->Save();
        wfx.Open();
        fx->store = &wfx.Store();
        program.reset();
        wfx.window->CancelForm = &cancelForm;
        wfx.Select("Projects", {UploadFixture::Project});
        wfx.Button("bbtnSelectProject")->click();
    }

    WindowFixture wfx;
    std::unique_ptr<UploadFixture> fx;
    FtpTestServer* live = nullptr;
    TCancelForm cancelForm;
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
        TCancelForm& cancelForm = shop.cancelForm;
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
        wfx.prompts.Clear();

        wfx.window->findChild<QAction*>(action)->trigger();
        const QString log = wfx.Find<QPlainTextEdit>("SiteUploadProgress")->toPlainText();
        QVERIFY2(log.contains(total), qPrintable(log));
        QVERIFY2(log.contains(fx.Local("site/www/index.html") + " (") &&
                     log.contains("-> /public_html/index.html"),
                 qPrintable(log));
        QVERIFY(wfx.prompts.AllShown().isEmpty());
        QVERIFY(live.Commands().isEmpty());
        QCOMPARE(fx.Stamp("Live", "www/index.html"), 0);
    }
};

QTEST_MAIN(SiteUploadWindowTest)
#include "tst_site_upload_ui.moc"
