// The Upload button of the installer page and the Import page on the real
// window, against the test FTP server (and the test SSH server).
#include "PublishFixture.h"
#include "WindowFixture.h"
#include "ui/CancelFormU.h"
#include "ui/ColorButton.h"
#include "ui/Controls.h"

#include <QComboBox>
#include <QPlainTextEdit>

class PublishWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        fx = std::make_unique<WindowFixture>();
        cancelForm = fx->window->CancelForm();
        server = std::make_unique<FtpTestServer>();
        QVERIFY2(server->IsRunning(), qPrintable(server->Error()));
        StoreAccount(fx->Store(), "A", *server);
        fx->NewProject("Demo");
    }
    void cleanup()
    {
        cancelForm = nullptr;
        fx.reset();
        server.reset();
    }

    // Over SFTP the window asks about the host key it does not trust yet,
    // and a Yes sends the release and keeps the key.
    void UploadContinuesTheBuildLog_data()
    {
        QTest::addColumn<QString>("protocol");
        QTest::newRow("FTP") << "FTP";
        QTest::newRow("SFTP") << "SFTP";
    }
    void UploadContinuesTheBuildLog()
    {
        QFETCH(QString, protocol);
        std::unique_ptr<SshTestServer> ssh;
        if (protocol == "SFTP") {
            ssh = std::make_unique<SshTestServer>();
            QVERIFY2(ssh->IsRunning(), qPrintable(ssh->Error()));
            StoreSftpAccount(fx->Store(), "S", *ssh, false, false);
            fx->prompts.QueueAnswers({IDYES});
        }
        PublishSite site;
        fx->Edit("lbePhpFile")->setText(site.Php);
        fx->Edit("lbeDownLoadLinkFile")->setText(site.LinkPage);
        fx->Edit("lbeLocalRoot")->setText(site.Root);
        fx->Edit("lbeLocalHome")->setText(site.Home);
        ShowItems(fx->List("lbxUploadSites"), {ssh ? "S" : "A"});
        fx->window->State.SetupExePath = site.Installer;
        auto* pane = fx->Find<QPlainTextEdit>("ProgressPane");
        pane->setPlainText("Waiting....");
        QPushButton* upload = fx->Button("bbtnUpload");
        upload->setEnabled(true);

        upload->click();
        const QStringList lines = pane->toPlainText().split('\n');
        QCOMPARE(lines.first(), "Waiting....");
        QCOMPARE(lines.last(), "End of summary");
        const QString target = site.Targets.first();
        QCOMPARE(ssh ? ssh->FileBytes(ssh->SitePath() + target.mid(1)) : server->FileBytes(target),
                 ReadFileBytes(site.Installer));
        if (ssh) {
            QVERIFY(lines.contains("Connected to (SFTP) : S"));
            // The further connections trust the key the user accepted.
            QCOMPARE(lines.filter("refused").size(), 0);
            QCOMPARE(fx->prompts.Texts().size(), 1);
            QVERIFY(fx->prompts.Texts().first().contains(ssh->HostKeyFingerprint()));
            QCOMPARE(ReadAccountSettings(fx->Store(), "S").TrustedHostKey, ssh->HostKeyFingerprint());
        }
        QVERIFY(fx->Button("bbtnSaveUploadLog")->isEnabled());
        QVERIFY(fx->window->isEnabled());
        QVERIFY(!cancelForm->isVisible());
        QCOMPARE(cancelForm->CancelButton->text(), "Cancel Upload");
    }

    void ImportPageFollowsTheProject()
    {
        TestFolder local;
        const QString root = local.MakeFolder("web");
        const QString home = local.MakeFolder("web/site/www");
        fx->Edit("lbeLocalRoot")->setText(root);
        fx->Edit("lbeLocalHome")->setText(home);
        ShowItems(fx->List("lbxAccount"), {"A", "B"});
        fx->ShowPage("TabImport");
        auto* combo = fx->Find<QComboBox>("comboSite");
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->itemText(1), "B");
        QCOMPARE(fx->Edit("lbeImportLocalRoot")->text(), root);
        QCOMPARE(fx->Edit("lbeImportLocalHome")->text(), home);
        // Looking at the page changes nothing of the project.
        QCOMPARE(fx->Edit("lbeLocalRoot")->text(), root);

        // A new import home carries its parent as the root, and both
        // become the project's.
        const QString newHome = local.FilePath("imp/public_html");
        fx->Edit("lbeImportLocalHome")->setText(newHome);
        QCOMPARE(fx->Edit("lbeImportLocalRoot")->text(), local.FilePath("imp"));
        QCOMPARE(fx->Edit("lbeLocalHome")->text(), newHome);
        QCOMPARE(fx->Edit("lbeLocalRoot")->text(), local.FilePath("imp"));

        server->PutFile("/public_html/index.html", "<a href=\"a.html\">a</a>");
        server->PutFile("/public_html/a.html", "a");
        combo->setCurrentIndex(0);
        fx->Button("btnImportSite")->click();
        const QString log = fx->Find<QPlainTextEdit>("memImportProgress")->toPlainText();
        QVERIFY2(log.contains("Import Complete 2 filles imported"), qPrintable(log));
        QVERIFY(fx->window->isEnabled());
        QVERIFY(!cancelForm->isVisible());
        QCOMPARE(cancelForm->CancelButton->text(), "Cancel Import");
        // The site was scanned again: the imported pages are listed and selected.
        QStringList listed = fx->Items("lbxLocalFiles");
        listed.sort();
        QCOMPARE(listed, (QStringList{newHome + "/a.html", newHome + "/index.html"}));
    }

    // With the Import page in front, the import folders follow the project
    // that is created or loaded: an import never lands in another's folders.
    void ImportFieldsFollowTheLoadedProject()
    {
        TestFolder local;
        const QString root = local.MakeFolder("web");
        const QString home = local.MakeFolder("web/www");
        const QString page = local.Write("web/www/index.html", "mine");
        fx->Edit("lbeLocalRoot")->setText(root);
        fx->Edit("lbeLocalHome")->setText(home);
        ShowItems(fx->List("lbxAccount"), {"A"});
        fx->ShowPage("TabImport");
        QCOMPARE(fx->Edit("lbeImportLocalHome")->text(), home);

        fx->NewProject("Other");
        QCOMPARE(fx->Edit("lbeImportLocalRoot")->text(), QString());
        QCOMPARE(fx->Edit("lbeImportLocalHome")->text(), QString());
        server->PutFile("/public_html/index.html", "server's");
        fx->Button("btnImportSite")->click();
        QCOMPARE(ReadFileBytes(page), QByteArray("mine"));
        QCOMPARE(server->Commands(), QStringList());

        fx->Select("Projects", {"Demo"});
        fx->Button("bbtnSelectProject")->click();
        QCOMPARE(fx->Edit("lbeImportLocalRoot")->text(), root);
        QCOMPARE(fx->Edit("lbeImportLocalHome")->text(), home);
    }

    // An SFTP account imports from the window as an FTP one does; a host
    // key it does not trust yet is shown with its fingerprint and asked
    // about, and only a Yes lets the login go and keeps the key.
    void ImportOverSftpAsksAboutTheHostKey_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("logged");
        QTest::newRow("trusted") << IDYES << "Import Complete 2 filles imported";
        QTest::newRow("refused") << IDNO << "Is the SFTP account locked?";
    }
    void ImportOverSftpAsksAboutTheHostKey()
    {
        QFETCH(int, answer);
        QFETCH(QString, logged);
        SshTestServer ssh;
        QVERIFY2(ssh.IsRunning(), qPrintable(ssh.Error()));
        ssh.PutFile(ssh.SitePath() + "public_html/index.html", "<a href=\"a.html\">a</a>");
        ssh.PutFile(ssh.SitePath() + "public_html/a.html", "a");
        StoreSftpAccount(fx->Store(), "S", ssh, false, false);
        TestFolder local;
        ShowItems(fx->List("lbxAccount"), {"A", "S"});
        fx->ShowPage("TabImport");
        const QString home = local.FilePath("imp/public_html");
        fx->Edit("lbeImportLocalHome")->setText(home);
        fx->Find<QComboBox>("comboSite")->setCurrentIndex(1);
        fx->prompts.QueueAnswers({answer});

        fx->Button("btnImportSite")->click();
        const QString log = fx->Find<QPlainTextEdit>("memImportProgress")->toPlainText();
        QVERIFY2(log.contains(logged), qPrintable(log));
        QVERIFY(log.startsWith("Trying to connect to (SFTP) S"));
        QCOMPARE(fx->prompts.Texts().size(), 1);
        QVERIFY(fx->prompts.Texts().first().contains(ssh.HostKeyFingerprint()));
        QCOMPARE(ReadAccountSettings(fx->Store(), "S").TrustedHostKey,
                 answer == IDYES ? ssh.HostKeyFingerprint() : QString());
        QCOMPARE(ReadFileBytes(home + "/a.html"), answer == IDYES ? QByteArray("a") : QByteArray());
        QVERIFY(fx->window->isEnabled());
    }

private:
    std::unique_ptr<FtpTestServer> server;
    std::unique_ptr<WindowFixture> fx;
    TCancelForm* cancelForm = nullptr; // the window's own
};

QTEST_MAIN(PublishWindowTest)
#include "tst_publish_ui.moc"
