// The installer upload against two real FTP servers: where the release
// lands, what the log says, which stamps are written, and what a failing
// or cancelled run leaves on the live sites.
#include "PublishFixture.h"
#include "RecordingHost.h"
#include "RecordingPrompts.h"
#include "TestStore.h"
#include "projects/OperationContext.h"
#include "projects/WorkingState.h"
#include "publish/InstallerUpload.h"

#include <QRegularExpression>
#include <QTest>

#include <memory>

class InstallerUploadTest : public QObject {
    Q_OBJECT

    // Accounts A and B, each live with the last release; B over SFTP when
    // asked.
    struct Run {
        TestStore store;
        PublishSite site;
        FtpTestServer a;
        FtpTestServer b;
        std::unique_ptr<SshTestServer> sshB;
        WorkingState state;
        RecordingPrompts prompts;
        InstallerUploadRequest request{"Demo",    site.LinkPage, site.Php,  site.Home,
                                       site.Root, {"A", "B"},    {5, 5, 10}};

        Run(const FtpTestServer::Options& optionsB, const QString& passwordB, bool sftpB = false)
            : b(optionsB), sshB(sftpB ? std::make_unique<SshTestServer>() : nullptr)
        {
            StoreAccount(*store, "A", a);
            if (sshB)
                StoreSftpAccount(*store, "B", *sshB, false, true);
            else
                StoreAccount(*store, "B", b, passwordB);
            state.SetupExePath = site.Installer;
            for (const QString& target : site.Targets) {
                a.PutFile(target, "old");
                if (sshB)
                    sshB->PutFile(SftpTarget(target), "old");
                else
                    b.PutFile(target, "old");
            }
        }
        QStringList Locals() const { return {site.Installer, site.LinkPage, site.Php}; }
        // Where a target lies on B's SFTP server.
        QString SftpTarget(const QString& target) const { return sshB->SitePath() + target.mid(1); }
        // "new" when every file of the release is live, else "old".
        QString Live(const FtpTestServer& server) const
        {
            const bool ssh = sshB && &server == &b;
            for (qsizetype i = 0; i < 3; ++i) {
                const QString& target = site.Targets[i];
                const QByteArray bytes = ssh ? sshB->FileBytes(SftpTarget(target)) : server.FileBytes(target);
                if (bytes != ReadFileBytes(Locals()[i]))
                    return "old";
            }
            return "new";
        }
    };

private slots:
    void ReleasesToEveryAccountOnce_data()
    {
        QTest::addColumn<bool>("sftpB");
        QTest::newRow("both over FTP") << false;
        QTest::newRow("B over SFTP") << true;
    }
    void ReleasesToEveryAccountOnce()
    {
        QFETCH(bool, sftpB);
        Run run({}, FtpTestServer::Password(), sftpB);
        RecordingHost host;
        host.Log("Waiting....");
        QVERIFY(UploadInstaller(run.request, {&*run.store, run.state, host, run.prompts}).Ok());

        QStringList expected{"Waiting...."};
        for (const QString account : {"A", "B"}) {
            const bool ssh = sftpB && account == "B";
            const QString named = ssh ? "(SFTP) " + account : account;
            const QString site = ssh ? run.sshB->SitePath().chopped(1) : QString();
            const QString temp = site + "/BRTempUploadFolder" + site;
            expected << "Trying to connect to " + named
                     << (ssh ? "Connected to (SFTP) : " : "Connected to : ") + account
                     << (ssh ? "Logged in to (SFTP) : " : "Logged in to : ") + account;
            for (qsizetype i = 0; i < 3; ++i)
                expected << "Sending " + run.Locals()[i]
                         << "to: " + temp + run.site.Targets[i] + "... Success"
                         << "";
            expected << "Sending files to " + account + " completed";
            for (const QString& target : run.site.Targets)
                expected << "Moving " + temp + target + "...Success";
            expected << (ssh ? "Disconnected from (SFTP) : " : "Disconnected from : ") + account;
        }
        expected << ""
                 << "Summary of software site update operations";
        for (const QString account : {"A", "B"})
            expected << "Connected: " + account + " - 3 files to send"
                     << "--- All files uploaded"
                     << "--- All files moved to their target locations";
        QCOMPARE(host.Lines(), expected << "End of summary");
        for (const FtpTestServer* server : {&run.a, &run.b})
            QCOMPARE(run.Live(*server), "new");
        for (const QString& target : run.site.Targets)
            QVERIFY(!run.a.Exists("/BRTempUploadFolder" + target));
        if (sftpB)
            QCOMPARE(run.sshB->SiteEntries().filter(QRegularExpression("\\.(exe|html|php|BRAside)$")),
                     (QStringList{"inc/version.php", "public_html/download.html",
                                  "public_html/downloads/MyApp-2-1.exe"}));
        QCOMPARE(Stamps(*run.store, "A", run.Locals()), Ages(run.Locals()));
        QCOMPARE(Stamps(*run.store, "B", run.Locals()), Ages(run.Locals()));

        // Nothing changed since: no account is even connected to.
        RecordingHost again;
        QVERIFY(UploadInstaller(run.request, {&*run.store, run.state, again, run.prompts}).Ok());
        const QStringList nothing{"Demo >>> A No files need to be sent",
                                  "Demo >>> B No files need to be sent"};
        const QStringList summary{"", "Summary of software site update operations"};
        QCOMPARE(again.Lines(), nothing + summary + nothing + QStringList{"End of summary"});
    }

    // The summary after its title, what is live on each account afterwards,
    // and the accounts whose stamps were written.
    void FailuresLeaveLiveSitesAlone_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("summary");
        QTest::addColumn<QString>("liveA");
        QTest::addColumn<QStringList>("stamped");
        const QStringList a{"Connected: A - 3 files to send", "--- All files uploaded",
                            "--- All files moved to their target locations"};
        const QString b = "Connected: B - 3 files to send";

        QTest::newRow("not built") << "not built" << QStringList() << "old" << QStringList();
        QTest::newRow("no PHP file") << "no PHP file"
                                     << QStringList{a[0], "--- Sending failed", b, "--- Sending failed"}
                                     << "old" << QStringList();
        QTest::newRow("B refuses uploads")
            << "STOR" << a + QStringList{b, "--- Sending failed"} << "new" << QStringList{"A"};
        QTest::newRow("B refuses to replace files")
            << "RNTO" << a + QStringList{b, "--- All files uploaded"} << "new" << QStringList{"A"};
        QTest::newRow("B keeps part of the installer")
            << "truncate" << a + QStringList{b, "--- Sending failed"} << "new" << QStringList{"A"};
        QTest::newRow("B drops the connection while the installer goes live")
            << "drop" << a + QStringList{b, "--- All files uploaded"} << "new" << QStringList{"A"};
        QTest::newRow("B refuses the login")
            << "password" << a + QStringList{"Could not connect to: B no files uploaded"} << "new"
            << QStringList{"A"};
        QTest::newRow("cancelled while sending")
            << "cancel" << QStringList{a[0], "--- you cancelled during upload"} << "old" << QStringList();
    }
    void FailuresLeaveLiveSitesAlone()
    {
        QFETCH(QString, change);
        QFETCH(QStringList, summary);
        QFETCH(QString, liveA);
        QFETCH(QStringList, stamped);
        FtpTestServer::Options optionsB;
        if (change == "STOR" || change == "RNTO")
            optionsB.Refuse << change;
        if (change == "truncate")
            optionsB.Faults << "truncate:STOR:1";
        if (change == "drop") { // B cannot replace: the installer's old file is aside then
            optionsB.NoReplace = true;
            optionsB.Faults << "drop:RNTO:3";
        }
        Run run(optionsB, change == "password" ? "wrong" : FtpTestServer::Password());
        if (change == "no PHP file")
            run.request.PhpFile.clear();
        if (change == "not built")
            run.state.SetupExePath.clear();
        RecordingHost host;
        if (change == "cancel")
            host.CancelWhenLogged("to: /BRTempUploadFolder/public_html/download.html");

        QVERIFY(!UploadInstaller(run.request, {&*run.store, run.state, host, run.prompts}).Ok());
        if (change == "not built") {
            QCOMPARE(run.prompts.Texts(), QStringList{"You have not built the Installer"});
            QCOMPARE(host.Lines(), QStringList());
        } else {
            const QStringList lines = host.Lines();
            QCOMPARE(lines.mid(lines.indexOf("Summary of software site update operations") + 1),
                     summary << "End of summary");
            QCOMPARE(lines.contains("You cancelled"), change == "cancel");
        }
        QCOMPARE(run.Live(run.a), liveA);
        QCOMPARE(run.Live(run.b), "old");
        for (const QString account : {"A", "B"})
            QCOMPARE(Stamps(*run.store, account, run.Locals()).size(), stamped.contains(account) ? 3 : 0);
    }
};

QTEST_GUILESS_MAIN(InstallerUploadTest)
#include "tst_installer_upload.moc"
