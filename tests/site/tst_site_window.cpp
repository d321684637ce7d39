// The site lists in the window: a project's site scanned on load and by
// Scan Files, the broken-link panel and page, the lock on the check clicks,
// and the editor started from each list at the right file and line.
#include "WebTestServer.h"
#include "WindowFixture.h"
#include "ui/CancelFormU.h"
#include "ui/Controls.h"
#include "ui/MainscreenU.h"
#include "ui/ScannerU.h"

#include <QFile>
#include <QFrame>
#include <QTimer>

class SiteWindow : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        fx = std::make_unique<WindowFixture>();
        site = fx->folder->FilePath("site");
        fx->folder->Write("site/www/index.html",
                          "<a href=\"a.html\">A</a>\n<a href=\"gone.html\">gone</a>\n<img src=\"logo.png\">");
        fx->folder->Write("site/www/a.html", "<p>a</p>");
        fx->folder->Write("site/www/logo.png", "png");
        fx->folder->Write("site/www/spare.html", "<p>spare</p>");
        fx->NewProject("Alpha");
        fx->Edit("lbeLocalRoot")->setText(site);
        fx->Edit("lbeLocalHome")->setText(site + "/www");
        fx->Button("btnSave")->click();
    }
    void cleanup() { fx.reset(); }

    void ScanShowsWhatTheSiteUsesAndWhatIsBroken()
    {
        fx->Button("bbtnUpdateFiles")->click();
        TCheckListBox* files = fx->Find<TCheckListBox>("clbxFiles");
        QCOMPARE(files->Items(), QStringList({site + "/www/a.html", site + "/www/index.html",
                                              site + "/www/logo.png", site + "/www/spare.html"}));
        QCOMPARE(QList<bool>({files->Checked(0), files->Checked(1), files->Checked(2), files->Checked(3)}),
                 QList<bool>({true, true, true, false}));
        QCOMPARE(fx->Items("lbxLocalFiles"),
                 QStringList({site + "/www/index.html", site + "/www/a.html", site + "/www/logo.png"}));
        QCOMPARE(fx->Items("lbxLocalFolders"), QStringList{site + "/www"});
        QCOMPARE(fx->Items("lbxBrokenLinks").size(), 2);
        QVERIFY(fx->Find<QFrame>("pnlBrokenFound")->isVisibleTo(fx->window.get()));
        QVERIFY(fx->Find<QFrame>("pnlBrokenNotFound")->isHidden());
        QCOMPARE(fx->window->CurrentTabSheet->objectName(), QStringLiteral("TabBrokenLinks"));

        // Loading the project again scans it at once, with its saved selection.
        files->SetChecked(3, true);
        fx->Button("btnSave")->click();
        fx->Button("btnAbandon")->click();
        QVERIFY(fx->Find<TCheckListBox>("clbxFiles")->Checked(3));
    }

    // A scan of a big site runs while the window thread goes on with its own
    // events (a timer of its ticks while the progress window shows), and
    // ends with the lists as a scan on the window thread left them.
    void WindowStaysAliveWhileASiteIsScanned_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("Scan Files") << "bbtnUpdateFiles";
        QTest::newRow("Re-Scan") << "btnReScan";
        QTest::newRow("project loaded again") << "btnAbandon";
    }
    void WindowStaysAliveWhileASiteIsScanned()
    {
        QFETCH(QString, button);
        constexpr int pages = 2000;
        QByteArray index;
        for (int i = 0; i < pages; ++i) {
            index += "<a href=\"p" + QByteArray::number(i) + ".html\">\n";
            fx->folder->Write("site/www/p" + QString::number(i) + ".html", "<p>page</p>");
        }
        fx->folder->Write("site/www/index.html", index);
        int ticksWhileScanning = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this,
                [&] { ticksWhileScanning += fx->window->Scanner()->isVisible() ? 1 : 0; });
        ticker.start(1);
        fx->Button(qPrintable(button))->click();
        ticker.stop();

        // None at all when the scan holds the window thread; a loaded
        // machine may leave the window thread a single turn.
        QVERIFY2(ticksWhileScanning >= 1, qPrintable(QString::number(ticksWhileScanning)));
        QVERIFY(!fx->window->Scanner()->isVisible());
        const QStringList local = fx->Items("lbxLocalFiles");
        QCOMPARE(local.size(), pages + 1);
        QCOMPARE(local.first(), site + "/www/index.html");
        QCOMPARE(local.last(), site + "/www/p" + QString::number(pages - 1) + ".html");
        TCheckListBox* files = fx->Find<TCheckListBox>("clbxFiles");
        QCOMPARE(files->count(), pages + 4);
        QCOMPARE(files->Checked(files->Items().indexOf(site + "/www/spare.html")), false);
        QCOMPARE(fx->Items("lbxBrokenLinks").isEmpty(), true);
        QVERIFY(!fx->Find<QFrame>("pnlBrokenNotFound")->isHidden());
        // Three opening lines, index.html added, and every page scanned.
        const QStringList lines = fx->window->Scanner()->Lines();
        QCOMPARE(lines.size(), 3 + 1 + pages + 1);
        QCOMPARE(lines.last(), "Scanning - " + local.last());
        QVERIFY(fx->prompts.AllShown().isEmpty());
    }

    void LockRefusesACheckClick_data()
    {
        QTest::addColumn<bool>("unlocked");
        QTest::newRow("unlocked") << true;
        QTest::newRow("locked") << false;
    }
    void LockRefusesACheckClick()
    {
        QFETCH(bool, unlocked);
        fx->Button("bbtnUpdateFiles")->click();
        fx->window->State.SelectionChanged = false;
        if (!unlocked)
            fx->Find<QCheckBox>("chkEnable")->click();
        TCheckListBox* files = fx->Find<TCheckListBox>("clbxFiles");
        files->item(3)->setCheckState(Qt::Checked); // as a click on the box does
        QCOMPARE(files->Checked(3), unlocked);
        QCOMPARE(fx->window->State.SelectionChanged, unlocked);
    }

    // A stand-in for notepad++ that writes down how it was started.
    void EditorStartsAtTheLine_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("arguments");
        QTest::newRow("broken link detail") << "lbxBrokenLinks" << 1 << "-n2 {site}/www/index.html";
        QTest::newRow("broken link file") << "lbxBrokenLinks" << 0 << "-n2 {site}/www/index.html";
        QTest::newRow("files page") << "lbxLocalFiles" << 1 << "-n {site}/www/a.html";
        QTest::newRow("all files") << "clbxFiles" << 1 << "-n {site}/www/index.html";
    }
    void EditorStartsAtTheLine()
    {
        QFETCH(QString, list);
        QFETCH(int, row);
        QFETCH(QString, arguments);
        const QString record = fx->folder->FilePath("editor-args");
        const QString editor = fx->folder->Write("tools/notepad++.exe", "#!/bin/sh\nprintf '%s ' \"$@\" > '" +
                                                                            record.toUtf8() + "'\n");
        QFile::setPermissions(editor, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        fx->Edit("lbeEditor")->setText(editor);
        fx->Button("bbtnUpdateFiles")->click();

        QListWidget* widget = fx->List(list.toLatin1());
        widget->setCurrentRow(row);
        emit widget->itemDoubleClicked(widget->item(row));
        QTRY_VERIFY(QFile::exists(record) && QFile(record).size() > 0);
        QCOMPARE(QString::fromUtf8(ReadFileBytes(record)).trimmed(), arguments.replace("{site}", site));
        QVERIFY(fx->prompts.AllShown().isEmpty());
    }

    // The project's option and the web link check, from the two pages.
    void LinksRelativeToTheirPageAndWebLinks()
    {
        WebTestServer web;
        QVERIFY2(web.IsRunning(), qPrintable(web.Error()));
        const QString dead = web.Address("/missing/a");
        fx->folder->Write("site/www/index.html",
                          "<a href=\"docs/a.html\">\n<a href=\"" + dead.toUtf8() + "\">");
        fx->folder->Write("site/www/docs/a.html", "<a href=\"b.html\">");
        fx->folder->Write("site/www/docs/b.html", "<p>b</p>");
        auto* pageRelative = fx->Find<QCheckBox>("chkPageRelative");
        QVERIFY(!pageRelative->isChecked());
        fx->Button("bbtnUpdateFiles")->click();
        QCOMPARE(fx->Items("lbxBrokenLinks"),
                 QStringList({site + "/www/docs/a.html", "1:file not found:href=\"b.html\""}));

        pageRelative->click();
        fx->Button("bbtnUpdateFiles")->click();
        QVERIFY(fx->Items("lbxLocalFiles").contains(site + "/www/docs/b.html"));
        QVERIFY(fx->Items("lbxBrokenLinks").isEmpty());
        QVERIFY(web.Requests().isEmpty());

        fx->Button("btnCheckWebLinks")->click();
        QCOMPARE(fx->Items("lbxBrokenLinks"),
                 QStringList({site + "/www/index.html", "2:web link failed (404):href=\"" + dead + "\""}));
        QVERIFY(fx->Find<QFrame>("pnlBrokenFound")->isVisibleTo(fx->window.get()));
        QVERIFY(fx->window->isEnabled());

        // The option is the project's: it comes back with it.
        fx->Button("btnAbandon")->click();
        QVERIFY(fx->Find<QCheckBox>("chkPageRelative")->isChecked());
    }

private:
    std::unique_ptr<WindowFixture> fx;
    QString site;
};

QTEST_MAIN(SiteWindow)
#include "tst_site_window.moc"
