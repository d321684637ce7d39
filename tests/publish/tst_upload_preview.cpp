// The preview of a site upload against the run that follows it, on a
// two-account project: the same files to the same places, and nothing
// changed by the preview itself.
#include "UploadFixture.h"
#include "projects/OperationContext.h"
#include "publish/UploadPreview.h"

#include <QDateTime>

namespace {

// Account -> "local path -> server path" lines.
using Plan = QMap<QString, QStringList>;

Plan PlanOf(const UploadPreview& preview)
{
    Plan plan;
    for (const PreviewAccount& account : preview.Accounts)
        for (const PreviewFile& file : account.Files)
            plan[account.Account].append(file.LocalPath + " -> " + file.TargetPath);
    return plan;
}

// What a run's log says it sent, and where its moves put each file.
Plan PlanOfRun(const QStringList& log)
{
    Plan plan;
    QString account;
    QString sending;
    for (const QString& line : log) {
        static const QRegularExpression temp("^to: .*/BRTempUploadFolder");
        if (line.startsWith("Trying to connect to "))
            account = line.mid(QString("Trying to connect to ").size()).remove("(SFTP) ");
        else if (line.startsWith("Sending ") && !line.endsWith(" completed"))
            sending = line.mid(8);
        else if (line.contains(temp))
            plan[account].append(sending + " -> " + QString(line).remove(temp).section("... ", 0, 0));
    }
    return plan;
}

QStringList AllStamps(const UploadFixture& fx)
{
    QStringList stamps;
    for (const QString& account : fx.accounts)
        for (const QString& file : UploadFixture::Targets.keys())
            stamps << account + file + QString::number(fx.Stamp(account, file));
    return stamps;
}

} // namespace

class UploadPreviewTest : public QObject {
    Q_OBJECT
private slots:
    // "Live" had an upload of the Files list, and a.html changed since;
    // "Mirror" never had one.
    void PreviewIsTheNextRun_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("liveFiles");
        QTest::addColumn<int>("mirrorFiles");
        QTest::addColumn<int>("connections");
        QTest::addColumn<bool>("mirrorOverSftp");
        QTest::newRow("Entire Site, Mirror over SFTP") << int(UploadMode::EntireSite) << 4 << 4 << 4 << true;
        for (const int connections : {1, 4}) {
            const QString over = QString(", %1 connections").arg(connections);
            QTest::newRow(qPrintable("Updated" + over))
                << int(UploadMode::Changed) << 1 << 3 << connections << false;
            QTest::newRow(qPrintable("ALL" + over))
                << int(UploadMode::AllChecked) << 3 << 3 << connections << false;
            QTest::newRow(qPrintable("Entire Site" + over))
                << int(UploadMode::EntireSite) << 4 << 4 << connections << false;
        }
    }
    void PreviewIsTheNextRun()
    {
        QFETCH(int, mode);
        QFETCH(int, liveFiles);
        QFETCH(int, mirrorFiles);
        QFETCH(int, connections);
        QFETCH(bool, mirrorOverSftp);

        UploadFixture fx;
        fx.connections = connections;
        FtpTestServer& live = fx.AddAccount("Live");
        SshTestServer* sshMirror = mirrorOverSftp ? &fx.AddSftpAccount("Mirror") : nullptr;
        FtpTestServer* ftpMirror = mirrorOverSftp ? nullptr : &fx.AddAccount("Mirror");
        // What the mirror holds, or the commands that changed it.
        const auto mirrorState = [&] {
            return sshMirror ? sshMirror->SiteEntries() : UploadFixture::ChangingCommands(*ftpMirror);
        };
        fx.Scan();
        RecordingHost first;
        RecordingPrompts yes;
        yes.QueueAnswers({IDYES});
        const SiteUploadInputs liveOnly{
            UploadMode::Changed, UploadFixture::Project, fx.Local("site"), fx.Local("site/www"), {"Live"}};
        QVERIFY(DoUpload(liveOnly, fx.lists, {fx.store, fx.state, first, yes}, {}).Succeeded());
        const QString changed = fx.WriteSite("www/a.html", "page a, new");
        QVERIFY(SetFileModified(changed, QDateTime::currentDateTime().addSecs(600)));

        const QStringList stampsBefore = AllStamps(fx);
        const QStringList changesBefore = UploadFixture::ChangingCommands(live) + mirrorState();
        RecordingHost previewHost;
        RecordingPrompts quiet;
        const SiteUploadInputs inputs{UploadMode(mode), UploadFixture::Project, fx.Local("site"),
                                      fx.Local("site/www"), fx.accounts};
        const UploadPreview preview =
            PreviewUpload(inputs, fx.lists, *fx.store, fx.state, previewHost, quiet);
        QCOMPARE(AllStamps(fx), stampsBefore);
        QCOMPARE(UploadFixture::ChangingCommands(live) + mirrorState(), changesBefore);
        QVERIFY(quiet.AllShown().isEmpty());

        const Plan planned = PlanOf(preview);
        QCOMPARE(planned.value("Live").size(), liveFiles);
        QCOMPARE(planned.value("Mirror").size(), mirrorFiles);
        QCOMPARE(preview.Files, qint64(liveFiles + mirrorFiles));
        // Each account's line tells over how many connections it would go.
        const QString over = connections == 1 ? " over 1 connection" : " over 4 connections";
        QCOMPARE(previewHost.Lines()
                     .filter(QRegularExpression("^Shop >>> \\w+: \\d+ files?, \\d+ bytes" + over + "$"))
                     .size(),
                 2);
        QCOMPARE(previewHost.Lines().last(),
                 QString("Total: %1 files, %2 bytes to 2 accounts").arg(preview.Files).arg(preview.Bytes));

        RecordingHost run;
        QVERIFY(fx.Upload(UploadMode(mode), run).Succeeded());
        QCOMPARE(PlanOfRun(run.Lines()), planned);
    }
};

QTEST_GUILESS_MAIN(UploadPreviewTest)
#include "tst_upload_preview.moc"
