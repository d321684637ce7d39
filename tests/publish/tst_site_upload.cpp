// The site upload against real FTP servers: what reaches the live site,
// what is left in the temporary folder, which stamps are recorded and what
// the log and the summary say.
#include "UploadFixture.h"
#include "projects/OperationContext.h"
#include "publish/UploadSelection.h"

#include <QSet>

namespace {

// The site files (paths under site/) the server was sent, in order.
QStringList Sent(const FtpTestServer& server)
{
    QStringList sent;
    for (const QString& command : server.Commands()) {
        if (!command.startsWith(QLatin1String("STOR /BRTempUploadFolder")))
            continue;
        const QString target = command.mid(int(strlen("STOR /BRTempUploadFolder")));
        sent.append(UploadFixture::Targets.key(target, target));
    }
    return sent;
}

// The summary as logged: the lines from its title to "End of summary".
QStringList SummaryOf(const QStringList& log)
{
    const qsizetype title = log.indexOf(QStringLiteral("Summary of site update operations"));
    return title < 1 ? QStringList() : log.mid(title - 1);
}

// The first lines of an "Updated" run's summary.
QStringList SummaryHead()
{
    return {"", "Summary of site update operations",
            "All Checked files that have been changed since last upload"};
}

} // namespace

class SiteUploadTest : public QObject {
    Q_OBJECT
private slots:
    void ChecksBeforeARun_data();
    void ChecksBeforeARun();
    void UpdatedRunServesEveryAccount_data();
    void UpdatedRunServesEveryAccount();
    void AccountsServedAtOnceLogInTurn_data();
    void AccountsServedAtOnceLogInTurn();
    void BusyServerServesOverFewerConnections_data();
    void BusyServerServesOverFewerConnections();
    void ModesSendTheirFiles_data();
    void ModesSendTheirFiles();
    void FailedAccountLeavesItsLiveSiteAlone_data();
    void FailedAccountLeavesItsLiveSiteAlone();
    void CancelStopsWhereItIsRead_data();
    void CancelStopsWhereItIsRead();
    void GoingLiveSurvivesEveryFault_data();
    void GoingLiveSurvivesEveryFault();
    void FileWrittenAsItIsSentIsSentAgain_data();
    void FileWrittenAsItIsSentIsSentAgain();
};

void SiteUploadTest::ChecksBeforeARun_data()
{
    QTest::addColumn<UploadMode>("mode");
    QTest::addColumn<QString>("setup"); // words: noproject changed broken gone:<file> accounts:<n>
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QStringList>("boxes"); // "info: text" or "ask: text"
    QTest::addColumn<UploadStop>("stop");
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("logCleared");

    const QString one = "\rWill be uploaded to the following account\r\rLive\r\rGo ahead?";
    const QString changed = "ask: All Checked files that have been changed since last upload" + one;
    const QList<int> no{IDNO};
    const QString rescan = "ask: " + RescanQuestion;
    const QString broken = "ask: " + BrokenLinksQuestion;
    using M = UploadMode;
    using S = UploadStop;
    QTest::newRow("no project") << M::Changed << "noproject accounts:1" << no
                                << QStringList{"info: No project open!"} << S::NoProject << "" << false;
    QTest::newRow("selection changed: re-scan now") << M::Changed << "changed accounts:1" << QList<int>{IDYES}
                                                    << QStringList{rescan} << S::Rescanned << "" << false;
    QTest::newRow("selection changed: go on without")
        << M::Changed << "changed accounts:1" << QList<int>{IDNO, IDNO} << QStringList{rescan, changed}
        << S::NotConfirmed << "" << true;
    QTest::newRow("broken links kept") << M::Changed << "broken accounts:1" << no << QStringList{broken}
                                       << S::BrokenLinks << "BrokenLinks" << false;
    QTest::newRow("broken links ignored") << M::Changed << "broken accounts:1" << QList<int>{IDYES, IDNO}
                                          << QStringList{broken, changed} << S::NotConfirmed << "" << true;
    QTest::newRow("a selected file is gone")
        << M::AllChecked << "gone:www/a.html accounts:1" << no << QStringList{"info: " + FilesMissingText}
        << S::FilesMissing << "SelectFiles" << false;
    QTest::newRow("an unselected file is gone: only the entire site misses it")
        << M::EntireSite << "gone:www/b.html accounts:1" << no << QStringList{"info: " + FilesMissingText}
        << S::FilesMissing << "SelectFiles" << false;
    QTest::newRow("an unselected file is gone: updated does not care")
        << M::Changed << "gone:www/b.html accounts:1" << no << QStringList{changed} << S::NotConfirmed << ""
        << true;
    QTest::newRow("no account selected")
        << M::Changed << "accounts:0" << no << QStringList{"info: " + NoAccountsText} << S::NoAccounts
        << "SelectAccounts" << true;
    QTest::newRow("all checked, two accounts") << M::AllChecked << "accounts:2" << no
                                               << QStringList{"ask: All Checked files\rWill be uploaded to "
                                                              "the following accounts\r\rLive\rMirror\r\r"
                                                              "Go ahead?"}
                                               << S::NotConfirmed << "" << true;
    QTest::newRow("entire site") << M::EntireSite << "accounts:1" << no
                                 << QStringList{"ask: Entire site" + one} << S::NotConfirmed << "" << true;
    QTest::newRow("installer upload asks nothing")
        << M::Software << "changed broken gone:www/a.html accounts:0" << no << QStringList() << S::Ran << ""
        << false;
}

void SiteUploadTest::ChecksBeforeARun()
{
    QFETCH(UploadMode, mode);
    QFETCH(QString, setup);
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, boxes);
    QFETCH(UploadStop, stop);
    QFETCH(QString, page);
    QFETCH(bool, logCleared);

    UploadFixture fx;
    fx.Scan();
    const QStringList words = setup.split(' ');
    fx.state.SelectionChanged = words.contains("changed");
    if (words.contains("broken"))
        fx.lists.AddBrokenLink(fx.Local("site/www/index.html"), "1:file not found:href=\"gone.html\"");
    for (const QString& word : words) {
        if (word.startsWith("gone:"))
            QVERIFY(QFile::remove(fx.Local("site/" + word.mid(5))));
        if (word.startsWith("accounts:"))
            fx.accounts = QStringList{"Live", "Mirror"}.mid(0, word.mid(9).toInt());
    }
    int rescans = 0;
    int clears = 0;
    QStringList pages;
    SiteUploadWindow window;
    window.Rescan = [&] { ++rescans; };
    window.ClearLog = [&] { ++clears; };
    window.ShowPage = [&](UploadPage shown) {
        pages.append(shown == UploadPage::BrokenLinks   ? "BrokenLinks"
                     : shown == UploadPage::SelectFiles ? "SelectFiles"
                                                        : "SelectAccounts");
    };
    RecordingHost host;
    const QString project = words.contains("noproject") ? QString() : UploadFixture::Project;
    fx.prompts.QueueAnswers(answers);
    const SiteUploadOutcome outcome =
        DoUpload({mode, project, fx.Local("site"), fx.Local("site/www"), fx.accounts}, fx.lists,
                 {fx.store, fx.state, host, fx.prompts}, window);

    QStringList shown;
    for (const RecordingPrompts::Shown& box : fx.prompts.AllShown()) {
        QCOMPARE(box.caption, ProductCaption);
        QCOMPARE(box.buttons, box.kind == RecordingPrompts::Kind::Info ? MB_OK : MB_YESNO);
        shown.append((box.kind == RecordingPrompts::Kind::Info ? "info: " : "ask: ") + box.text);
    }
    QCOMPARE(shown, boxes);
    QCOMPARE(outcome.Stop, stop);
    QCOMPARE(outcome.ReachedSummary(), stop == UploadStop::Ran);
    QCOMPARE(pages, page.isEmpty() ? QStringList() : QStringList{page});
    QCOMPARE(rescans, stop == UploadStop::Rescanned ? 1 : 0);
    QCOMPARE(clears, logCleared ? 1 : 0);
    // A run stopped by a check logs nothing; the installer upload's summary
    // follows its log even with no account to serve.
    const QStringList summary{"", "Summary of software site update operations", "End of summary"};
    QCOMPARE(host.Lines(), stop == UploadStop::Ran ? summary : QStringList());
}

void SiteUploadTest::UpdatedRunServesEveryAccount_data()
{
    QTest::addColumn<int>("connections");
    QTest::newRow("one connection") << 1;
    QTest::newRow("four connections") << 4;
}

// With several connections the log is the same, file by file in list order.
void SiteUploadTest::UpdatedRunServesEveryAccount()
{
    QFETCH(int, connections);
    UploadFixture fx;
    fx.connections = connections;
    FtpTestServer& live = fx.AddAccount("Live");
    FtpTestServer& mirror = fx.AddAccount("Mirror");
    // What an earlier run left in the temporary folder is not published.
    const QString leftover = "/BRTempUploadFolder/img/old/x.png";
    mirror.PutFile(leftover, "an earlier run's");
    fx.Scan();
    const QStringList files = fx.SelectedFiles();
    QCOMPARE(QSet<QString>(files.begin(), files.end()),
             (QSet<QString>{"www/index.html", "www/a.html", "img/logo.png"}));

    QStringList events;
    SiteUploadWindow window;
    RecordingHost host;
    window.BeginOperation = [&] { events.append("begin at " + QString::number(host.Lines().size())); };
    window.EndOperation = [&] { events.append("end at " + QString::number(host.Lines().size())); };
    const SiteUploadOutcome outcome = fx.Upload(UploadMode::Changed, host, {IDYES}, window);
    QVERIFY(outcome.Succeeded());

    // The log, account by account, and the summary after it.
    QStringList expected;
    QList<QPair<qint64, qint64>> overall;
    QStringList summary = SummaryHead();
    for (const QString& account : {QString("Live"), QString("Mirror")}) {
        expected << "Trying to connect to " + account << "Connected to : " + account
                 << "Logged in to : " + account;
        overall << qMakePair(0, 6);
        for (const QString& file : files) {
            expected << "Sending " + fx.Local("site/" + file)
                     << "to: /BRTempUploadFolder" + UploadFixture::Targets[file] + "... Success"
                     << "";
            overall << qMakePair(overall.size() % 7, 6);
        }
        expected << "Sending files to " + account + " completed";
        for (const QString& file : files) {
            expected << "Moving /BRTempUploadFolder" + UploadFixture::Targets[file] + "...Success";
            overall << qMakePair(overall.size() % 7, 6);
        }
        expected << "Disconnected from : " + account;
        summary << "Connected: " + account.toUpper() + " - 3 files to send"
                << "--- All files uploaded"
                << "--- All files moved to their target locations";
    }
    const qsizetype runLines = expected.size();
    expected << summary << "End of summary";
    QCOMPARE(host.Lines(), expected);
    QCOMPARE(events, (QStringList{"begin at 0", "end at " + QString::number(runLines)}));
    QCOMPARE(host.Progress(RecordingHost::Kind::OverallProgress), overall);
    QList<QPair<qint64, qint64>> ends = host.Progress(RecordingHost::Kind::FileProgress);
    if (connections > 1) {
        // The file bar counts the bytes of the account, up to all of them.
        qint64 bytes = 0;
        for (const QString& file : files)
            bytes += fx.SiteBytes(file).size();
        for (const auto& [done, total] : std::as_const(ends))
            QVERIFY(total == bytes && done <= bytes);
        QCOMPARE(ends.count(qMakePair(bytes, bytes)) >= 2, true);
    }
    // With one, it runs from empty to full for every file sent.
    QList<QPair<qint64, qint64>> fileBar;
    for (int round = 0; round < 2; ++round)
        for (const QString& file : files) {
            const qint64 size = fx.SiteBytes(file).size();
            fileBar << qMakePair(qint64(0), size) << qMakePair(size, size);
        }
    ends.removeIf([](const QPair<qint64, qint64>& p) { return p.first != 0 && p.first != p.second; });
    if (connections == 1)
        QCOMPARE(ends, fileBar);

    for (FtpTestServer* server : {&live, &mirror}) {
        QStringList sent = Sent(*server);
        if (connections > 1)
            std::sort(sent.begin(), sent.end(), [&files](const QString& a, const QString& b) {
                return files.indexOf(a) < files.indexOf(b);
            });
        QCOMPARE(sent, files);
        // A folder is made once, not looked for again for its second file:
        // one CWD finds it missing, one enters it once made.
        QCOMPARE(
            server->Commands().filter(QRegularExpression("^CWD /BRTempUploadFolder/public_html$")).size(), 2);
        // The server held neither /public_html nor /img: each went live with
        // one rename of its temporary folder, unless it held a leftover.
        QStringList renames = server->Commands().filter(QRegularExpression("^RNTO "));
        renames.sort();
        if (server == &live)
            QCOMPARE(renames, (QStringList{"RNTO /img", "RNTO /public_html"}));
        QCOMPARE(renames.count("RNTO /public_html"), 1);
        QCOMPARE(renames.contains("RNTO /img/logo.png"), server != &live);
        for (const QString& file : files)
            QCOMPARE(server->FileBytes(UploadFixture::Targets[file]), fx.SiteBytes(file));
        QVERIFY(!server->Exists("/public_html/b.html"));
        QVERIFY(!server->Exists("/img/old/x.png"));
        QCOMPARE(UploadFixture::FilesInTemp(*server),
                 server == &live ? QStringList() : QStringList{server->LocalPath(leftover)});
    }
    for (const QString& account : fx.accounts) {
        for (const QString& file : files)
            QCOMPARE(fx.Stamp(account, file), fx.Age(file));
        QCOMPARE(fx.Stamp(account, "www/b.html"), 0);
    }
}

void SiteUploadTest::AccountsServedAtOnceLogInTurn_data()
{
    QTest::addColumn<QStringList>("accounts");
    // The account whose login is refused ("same server": the second account
    // points at the first one's server).
    QTest::addColumn<QString>("refusing");
    QTest::addColumn<int>("connections");
    QTest::addColumn<QString>("cancelAt"); // the log line the user cancels at
    const QStringList two{"Live", "Mirror"};
    QTest::newRow("two accounts") << two << "" << 1 << "";
    QTest::newRow("two accounts, four connections each") << two << "" << 4 << "";
    QTest::newRow("the second refuses the login") << two << "Mirror" << 1 << "";
    QTest::newRow("three accounts, the middle one refuses the login")
        << QStringList{"Live", "Mirror", "Backup"} << "Mirror" << 1 << "";
    QTest::newRow("two accounts on one server: in turn all the same") << two << "same server" << 1 << "";
    QTest::newRow("cancelled while the first sends")
        << two << "" << 1 << "to: /BRTempUploadFolder/public_html/a.html";
}

// Served at once, the second account is logged in while the first is still
// at work; the run logs, shows, publishes and records what the same run one
// after another does.
void SiteUploadTest::AccountsServedAtOnceLogInTurn()
{
    QFETCH(QStringList, accounts);
    QFETCH(QString, refusing);
    QFETCH(int, connections);
    QFETCH(QString, cancelAt);
    struct Run {
        bool cancelled = false;
        QStringList log;
        QList<QPair<qint64, qint64>> overall;
        QStringList window;
        QStringList failed;
        QStringList commands; // of every server, "<index> <command>" as they arrived
        QList<QStringList> live;
        QList<bool> stamped;
    };
    const auto run = [&](int atOnce) {
        Run result;
        UploadFixture fx;
        fx.connections = connections;
        fx.accountsAtOnce = atOnce;
        FtpTestServer::Options far;
        far.DelayMs = 20;
        far.SharedLog = fx.Local("commands.log");
        std::vector<FtpTestServer*> servers;
        for (const QString& account : accounts)
            servers.push_back(&fx.AddAccount(account, far));
        if (refusing == "same server")
            fx.PointAccountAt(accounts[1], *servers[0]);
        else if (!refusing.isEmpty())
            fx.PointAccountAt(refusing, *servers[size_t(accounts.indexOf(refusing))], "not the password");
        fx.Scan();
        RecordingHost host;
        if (!cancelAt.isEmpty())
            host.CancelWhenLogged(cancelAt);
        SiteUploadWindow window;
        window.BeginOperation = [&] {
            result.window.append("begin at " + QString::number(host.Lines().size()));
        };
        window.EndOperation = [&] { result.window.append("end at " + QString::number(host.Lines().size())); };
        const SiteUploadOutcome outcome = fx.Upload(UploadMode::Changed, host, {IDYES}, window);
        result.failed = outcome.FailedAccounts;
        result.cancelled = outcome.Cancelled;
        // The site's folder and the servers' ports are the run's own.
        for (QString line : host.Lines()) {
            line.replace(fx.Local(""), "<site>/");
            for (size_t i = 0; i < servers.size(); ++i)
                line.replace(QString::number(servers[i]->Port()), QString("<server %1>").arg(i));
            result.log.append(line);
        }
        result.overall = host.Progress(RecordingHost::Kind::OverallProgress);
        QFile shared(far.SharedLog);
        if (!shared.open(QIODevice::ReadOnly))
            qFatal("no shared command log");
        for (const QString& line : QString::fromUtf8(shared.readAll()).split('\n', Qt::SkipEmptyParts)) {
            const quint16 port = line.section(' ', 0, 0).toUShort();
            const auto from =
                std::find_if(servers.begin(), servers.end(),
                             [port](const FtpTestServer* server) { return server->Port() == port; });
            result.commands.append(QString::number(from - servers.begin()) + ' ' + line.section(' ', 1));
        }
        for (size_t i = 0; i < servers.size(); ++i) {
            result.live.append(fx.LiveFiles(*servers[i]));
            result.stamped.append(fx.Stamp(accounts[qsizetype(i)], "www/a.html") == fx.Age("www/a.html"));
        }
        return result;
    };
    const Run inTurn = run(1);
    const Run atOnce = run(DefaultAccountsAtOnce);
    if (!cancelAt.isEmpty()) {
        // Where the others were when the flag came differs from run to run;
        // what holds: the first account has nothing live, an account is
        // stamped only when its whole site is, and the log is account by account.
        for (const Run* result : {&inTurn, &atOnce}) {
            QVERIFY(result->cancelled);
            QCOMPARE(result->live.first(), QStringList());
            for (qsizetype i = 0; i < accounts.size(); ++i)
                if (result->stamped[i])
                    QCOMPARE(result->live[i].size(), 3);
            QVERIFY(!result->stamped.first());
            QVERIFY(result->log.indexOf("Trying to connect to Mirror") >
                    result->log.indexOf("Disconnected from : Live"));
        }
        return;
    }

    QCOMPARE(atOnce.log, inTurn.log);
    QCOMPARE(atOnce.overall, inTurn.overall);
    QCOMPARE(atOnce.window, inTurn.window);
    const bool sameServer = refusing == "same server";
    QCOMPARE(atOnce.failed, refusing.isEmpty() || sameServer ? QStringList() : QStringList{refusing});
    QCOMPARE(inTurn.failed, atOnce.failed);
    QCOMPARE(atOnce.live, inTurn.live);
    QCOMPARE(atOnce.stamped, inTurn.stamped);
    QVERIFY(atOnce.log.contains("Disconnected from : " + accounts.last()));
    // In turn the second server hears nothing before the first is done.
    const auto overlapped = [](const QStringList& commands) {
        const qsizetype secondLogin = commands.indexOf(QStringLiteral("1 PASS ******"));
        qsizetype firstEnds = commands.size() - 1;
        while (firstEnds >= 0 && !commands[firstEnds].startsWith("0 "))
            --firstEnds;
        return secondLogin >= 0 && secondLogin < firstEnds;
    };
    QVERIFY(!overlapped(inTurn.commands));
    QVERIFY2(overlapped(atOnce.commands) == !sameServer, qPrintable(atOnce.commands.join('\n')));
    if (sameServer) { // the second account's commands come after the first's last
        const QStringList commands = atOnce.commands;
        const qsizetype logins = commands.count(QStringLiteral("0 PASS ******"));
        QCOMPARE(logins, 2);
        QVERIFY(commands.indexOf("0 QUIT") < commands.lastIndexOf("0 PASS ******"));
    }
}

void SiteUploadTest::BusyServerServesOverFewerConnections_data()
{
    QTest::addColumn<int>("maxConnections");
    QTest::addColumn<QString>("note");
    QTest::newRow("one further connection refused")
        << 2 << "Live refused 1 of 3 connections, going on with 2: ";
    QTest::newRow("every further connection refused")
        << 1 << "Live refused 2 of 3 connections, going on with 1: ";
}

// A server that answers 421 to further connections serves the account
// over those it took, with one line saying so.
void SiteUploadTest::BusyServerServesOverFewerConnections()
{
    QFETCH(int, maxConnections);
    QFETCH(QString, note);
    UploadFixture fx;
    FtpTestServer::Options busy;
    busy.MaxConnections = maxConnections;
    FtpTestServer& live = fx.AddAccount("Live", busy);
    fx.Scan();
    RecordingHost host;
    QVERIFY2(fx.Upload(UploadMode::Changed, host).Succeeded(), qPrintable(host.Lines().join('\n')));
    const QStringList notes = host.Lines().filter("refused");
    QCOMPARE(notes.size(), 1);
    QVERIFY2(notes.first().startsWith(note), qPrintable(notes.first()));
    QCOMPARE(fx.LiveFiles(live), (QStringList{"img/logo.png", "www/a.html", "www/index.html"}));
}

void SiteUploadTest::ModesSendTheirFiles_data()
{
    QTest::addColumn<UploadMode>("mode");
    QTest::addColumn<QString>("account"); // protocol, log-in and connections
    QTest::addColumn<QStringList>("sent");
    // Before the run index.html is recorded as sent and a.html is recorded
    // with a stamp newer than the file (restored from an older copy).
    const QStringList updated{"www/a.html", "img/logo.png"};
    const QStringList checked{"www/index.html", "www/a.html", "img/logo.png"};
    const QStringList entire{"img/logo.png", "www/a.html", "www/b.html", "www/index.html"};
    QTest::newRow("updated: only what differs from its stamp") << UploadMode::Changed << "ftp" << updated;
    QTest::newRow("all checked: every selected file") << UploadMode::AllChecked << "ftp" << checked;
    QTest::newRow("entire site: every file found") << UploadMode::EntireSite << "ftp" << entire;
    QTest::newRow("sftp, updated") << UploadMode::Changed << "sftp key" << updated;
    QTest::newRow("sftp, all checked, password") << UploadMode::AllChecked << "sftp password" << checked;
    QTest::newRow("sftp, entire site") << UploadMode::EntireSite << "sftp key" << entire;
    QTest::newRow("sftp, entire site, one connection") << UploadMode::EntireSite << "sftp key 1" << entire;
}

// What a mode sends goes live whole over either protocol; a later change
// replaces the live file, and nothing of the staging is left behind.
void SiteUploadTest::ModesSendTheirFiles()
{
    QFETCH(UploadMode, mode);
    QFETCH(QString, account);
    QFETCH(QStringList, sent);
    std::sort(sent.begin(), sent.end());
    UploadFixture fx;
    if (account.endsWith(" 1"))
        fx.connections = 1;
    const bool sftp = account.startsWith("sftp");
    FtpTestServer* ftp = sftp ? nullptr : &fx.AddAccount("Live");
    SshTestServer* ssh = sftp ? &fx.AddSftpAccount("Live", account.contains("password")) : nullptr;
    const auto live = [&] { return sftp ? fx.LiveFiles(*ssh) : fx.LiveFiles(*ftp); };
    const auto liveBytes = [&](const QString& file) {
        const QString target = UploadFixture::Targets[file];
        return sftp ? ssh->FileBytes(UploadFixture::SftpPath(*ssh, target)) : ftp->FileBytes(target);
    };
    // Connections and log-ins so far: a run that connects adds to them.
    const auto contacts = [&] { return sftp ? ssh->LoginLines().size() : ftp->Commands().size(); };
    fx.Scan();
    const QString section = Schema::UploadRecordSection(UploadFixture::Project, "Live");
    fx.store->WriteInteger(section, fx.Local("site/www/index.html"), fx.Age("www/index.html"));
    fx.store->WriteInteger(section, fx.Local("site/www/a.html"), fx.Age("www/a.html") + 1);

    RecordingHost host;
    QVERIFY2(fx.Upload(mode, host).Succeeded(), qPrintable(host.Lines().join('\n')));
    if (!sftp) {
        QStringList arrived = Sent(*ftp);
        std::sort(arrived.begin(), arrived.end());
        QCOMPARE(arrived, sent);
    } else {
        QCOMPARE(host.Lines().filter(QRegularExpression("^Sending /")).size(), sent.size());
        QVERIFY(host.Lines().contains("Connected to (SFTP) : Live"));
    }
    QCOMPARE(live(), sent);
    for (const QString& file : sent) {
        QCOMPARE(liveBytes(file), fx.SiteBytes(file));
        QCOMPARE(fx.Stamp("Live", file), fx.Age(file));
    }

    // Whatever a mode sent is recorded: an update right after finds nothing
    // and does not even connect.
    const qsizetype before = contacts();
    RecordingHost again;
    QVERIFY(fx.Upload(UploadMode::Changed, again).Succeeded());
    const QString nothing = "Shop >>> Live No files need to be sent";
    QCOMPARE(again.Lines(), (QStringList{nothing} + SummaryHead() + QStringList{nothing, "End of summary"}));
    QCOMPARE(contacts(), before);

    // A changed page replaces the live one (an SFTP server will not rename
    // onto it, so the old one goes aside first and is deleted after).
    const QString page = fx.folder.Write("site/www/a.html", "page a, second edition");
    QVERIFY(SetFileModified(page, QDateTime::currentDateTime().addSecs(-30)));
    RecordingHost replace;
    QVERIFY2(fx.Upload(UploadMode::Changed, replace).Succeeded(), qPrintable(replace.Lines().join('\n')));
    QCOMPARE(liveBytes("www/a.html"), QByteArray("page a, second edition"));
    if (sftp) {
        QVERIFY(!ssh->SiteEntries().join(' ').contains(".BRAside"));
        QCOMPARE(ssh->SiteEntries().filter(QRegularExpression("^BRTempUploadFolder/.*\\.html$")),
                 QStringList());
    } else {
        QCOMPARE(UploadFixture::FilesInTemp(*ftp), QStringList());
    }
}

void SiteUploadTest::FailedAccountLeavesItsLiveSiteAlone_data()
{
    QTest::addColumn<FtpTestServer::Options>("options");
    QTest::addColumn<bool>("wrongPassword");
    QTest::addColumn<bool>("oldSiteLive"); // the first server holds an older copy of every file
    QTest::addColumn<QString>("logLine");
    QTest::addColumn<QStringList>("summary"); // of the failed account

    const QString connected = "Connected: LIVE - 3 files to send";
    const QString uploaded = "--- All files uploaded";
    FtpTestServer::Options plain;
    FtpTestServer::Options mkd;
    mkd.Refuse = QStringList{"MKD"};
    FtpTestServer::Options stor;
    stor.DropOn = QStringList{"STOR"};
    FtpTestServer::Options mlsd;
    mlsd.Refuse = QStringList{"MLSD"};
    FtpTestServer::Options rnto;
    rnto.Refuse = QStringList{"RNTO"};
    FtpTestServer::Options rnfr;
    rnfr.DropOn = QStringList{"RNFR"};
    QTest::newRow("wrong password") << plain << true << true << "Could not connect"
                                    << QStringList{"Could not connect to: LIVE no files uploaded"};
    QTest::newRow("temporary folder refused")
        << mkd << false << true << "Couldn't reach /BRTempUploadFolder/public_html" << QStringList{connected};
    QTest::newRow("connection dropped at the first transfer")
        << stor << false << true << "Sending failed" << QStringList{connected, "--- Sending failed"};
    QTest::newRow("sizes cannot be checked")
        << mlsd << false << true << "Sending failed" << QStringList{connected, "--- Sending failed"};
    QTest::newRow("rename refused") << rnto << false << true
                                    << "Moving /BRTempUploadFolder/public_html/a.html...Failed"
                                    << QStringList{connected, uploaded};
    QTest::newRow("connection dropped during the moves")
        << rnfr << false << false << "Moving /BRTempUploadFolder/img/logo.png...Failed"
        << QStringList{connected, uploaded};
}

void SiteUploadTest::FailedAccountLeavesItsLiveSiteAlone()
{
    QFETCH(FtpTestServer::Options, options);
    QFETCH(bool, wrongPassword);
    QFETCH(bool, oldSiteLive);
    QFETCH(QString, logLine);
    QFETCH(QStringList, summary);
    UploadFixture fx;
    FtpTestServer& live = fx.AddAccount("Live", options);
    FtpTestServer& mirror = fx.AddAccount("Mirror");
    if (wrongPassword)
        fx.PointAccountAt("Live", live, "not the password");
    QStringList before;
    if (oldSiteLive) {
        for (const QString& target : UploadFixture::Targets)
            live.PutFile(target, "old " + target.toUtf8());
    }
    fx.Scan();
    const QStringList files = fx.SelectedFiles();

    RecordingHost host;
    const SiteUploadOutcome outcome = fx.Upload(UploadMode::Changed, host);
    QVERIFY(outcome.ReachedSummary());
    QCOMPARE(outcome.FailedAccounts, QStringList{"Live"});
    QVERIFY2(host.Lines().contains(logLine), qPrintable(host.Lines().join('\n')));
    QCOMPARE(SummaryOf(host.Lines()),
             (SummaryHead() + summary +
              QStringList{"Connected: MIRROR - 3 files to send", "--- All files uploaded",
                          "--- All files moved to their target locations", "End of summary"}));
    QVERIFY(host.Lines().contains("Disconnected from : Mirror"));

    // The failed account's live site is as it was, and nothing is recorded for it.
    for (auto it = UploadFixture::Targets.begin(); it != UploadFixture::Targets.end(); ++it)
        QCOMPARE(live.FileBytes(it.value()), oldSiteLive ? "old " + it.value().toUtf8() : QByteArray());
    for (const QString& file : files) {
        QCOMPARE(fx.Stamp("Live", file), 0);
        QCOMPARE(mirror.FileBytes(UploadFixture::Targets[file]), fx.SiteBytes(file));
        QCOMPARE(fx.Stamp("Mirror", file), fx.Age(file));
    }

    // The next update sends that account everything again, and the other nothing.
    FtpTestServer healthy;
    fx.PointAccountAt("Live", healthy);
    RecordingHost again;
    QVERIFY(fx.Upload(UploadMode::Changed, again).Succeeded());
    QStringList resent = Sent(healthy);
    QStringList expected = files;
    std::sort(resent.begin(), resent.end());
    std::sort(expected.begin(), expected.end());
    QCOMPARE(resent, expected);
    QVERIFY(again.Lines().contains("Shop >>> Mirror No files need to be sent"));
}

void SiteUploadTest::CancelStopsWhereItIsRead_data()
{
    QTest::addColumn<int>("connections");
    QTest::addColumn<QString>("cancelWhen"); // a logged text; "before" for a flag set before the run
    QTest::addColumn<bool>("recordedBefore");
    QTest::addColumn<QStringList>("summary"); // of the first account
    QTest::addColumn<int>("liveFiles");       // on the first account's live site
    QTest::addColumn<int>("tempFiles");       // left in its temporary folder

    const QString connected = "Connected: LIVE - 3 files to send";
    for (const int connections : {1, 4}) {
        const auto row = [connections](const char* name) {
            return &(QTest::newRow(qPrintable(QString("%1, %2 connections").arg(name).arg(connections)))
                     << connections);
        };
        *row("after connecting") << "Logged in to : Live" << false << QStringList() << 0 << 0;
        *row("during the sends") << "Sending " << false
                                 << QStringList{connected, "--- you cancelled during upload"} << 0 << 1;
        // The first move takes the new /public_html whole, with both its files.
        *row("during the moves") << "Moving " << false
                                 << QStringList{connected, "--- All files uploaded",
                                                "--- you cancelled during file move"}
                                 << 2 << 1;
        *row("a flag left from an earlier run") << "before" << true << QStringList() << 0 << 0;
    }
}

// With several connections, the files in progress when the cancel is read
// are finished (and may be more than the one the log shows).
void SiteUploadTest::CancelStopsWhereItIsRead()
{
    QFETCH(int, connections);
    QFETCH(QString, cancelWhen);
    QFETCH(bool, recordedBefore);
    QFETCH(QStringList, summary);
    QFETCH(int, liveFiles);
    QFETCH(int, tempFiles);
    UploadFixture fx;
    fx.connections = connections;
    FtpTestServer& live = fx.AddAccount("Live");
    FtpTestServer& mirror = fx.AddAccount("Mirror");
    fx.Scan();
    const QStringList files = fx.SelectedFiles();
    if (recordedBefore) {
        for (const QString& account : fx.accounts)
            for (const QString& file : files)
                fx.store->WriteInteger(Schema::UploadRecordSection(UploadFixture::Project, account),
                                       fx.Local("site/" + file), fx.Age(file));
    }

    RecordingHost host;
    if (cancelWhen == "before")
        host.CancelNow();
    else
        host.CancelWhenLogged(cancelWhen);
    const SiteUploadOutcome outcome = fx.Upload(UploadMode::Changed, host);
    QVERIFY(outcome.ReachedSummary());
    QCOMPARE(outcome.Cancelled, !recordedBefore);
    QCOMPARE(host.Lines().contains("You cancelled"), !recordedBefore);
    if (recordedBefore)
        return;
    QCOMPARE(SummaryOf(host.Lines()), (SummaryHead() + summary + QStringList{"End of summary"}));
    if (connections == 1) {
        QCOMPARE(fx.LiveFiles(live).size(), liveFiles);
        QCOMPARE(UploadFixture::FilesInTemp(live).size(), tempFiles);
    } else {
        const qsizetype live_ = fx.LiveFiles(live).size();
        const qsizetype temp = UploadFixture::FilesInTemp(live).size();
        QVERIFY(live_ >= liveFiles && temp + live_ >= tempFiles + liveFiles);
        QVERIFY(live_ == 0 || temp + live_ == files.size());
    }
    // The next account is still connected to, with nothing sent.
    QVERIFY(host.Lines().contains("Disconnected from : Mirror"));
    QCOMPARE(Sent(mirror), QStringList());
    for (const QString& account : fx.accounts)
        for (const QString& file : files)
            QCOMPARE(fx.Stamp(account, file), 0);
}

void SiteUploadTest::GoingLiveSurvivesEveryFault_data()
{
    QTest::addColumn<int>("connections");
    // words: windows (no rename onto a file), nolist (no MLSD), nosize (no
    // size fact), empty (no old site: each new folder goes live with one rename)
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("fault");    // KIND:CMD:N, see FtpTestServer::Options::Faults
    QTest::addColumn<QString>("logged");   // by the faulty run, or by the clean run after it
    QTest::addColumn<bool>("indexIsNew");  // after the faulty run
    QTest::addColumn<QStringList>("kept"); // aside copies after the faulty run
    QTest::addColumn<bool>("runFails");    // with one connection

    // index.html moves first. On "windows" its old file goes aside to
    // index.html.BRAside2 (the user has a file index.html.BRAside): RNFR#1
    // RNTO#1 (refused: exists) MLST#1 (live) MLST#2 (user's) MLST#3 (free)
    // RNFR#2 RNTO#2 (aside) RNFR#3 RNTO#3 (in) DELE#1 (aside copy).
    const QString aside = "/public_html/index.html.BRAside2";
    const QString putBack = "Putting back /public_html/index.html...Success";
    const QString removed = "Removing " + aside + "...Success";
    const QString failed = "Moving /BRTempUploadFolder/public_html/index.html...Failed";
    const QString sending = "Sending failed";
    // With four connections the commands of the files interleave, so the
    // fault hits whichever file's command comes at that count.
    const auto row = [](const char* name, const QString& server, const QString& fault, const QString& logged,
                        bool indexIsNew = false, const QStringList& kept = {}, bool runFails = true) {
        for (const int connections : {1, 4})
            QTest::newRow(qPrintable(QString("%1, %2 connections").arg(name).arg(connections)))
                << connections << server << fault << logged << indexIsNew << kept << runFails;
    };
    row("one step: RNFR refused", "", "refuse:RNFR:1", failed);
    row("one step: RNFR 421", "", "421:RNFR:1", failed);
    row("one step: dropped at RNFR", "", "drop:RNFR:1", failed);
    row("one step: RNTO 421", "", "421:RNTO:1", failed);
    row("one step: dropped at RNTO", "", "drop:RNTO:1", failed);
    row("one step: RNTO done, answer lost", "", "lost:RNTO:1", failed, true);
    row("sizes: listing refused", "", "refuse:MLSD:1", sending);
    row("sizes: dropped at the listing", "", "drop:MLSD:1", sending);
    row("sizes: server keeps half a file", "", "truncate:STOR:2", sending);
    row("sizes by LIST: server keeps half a file", "nolist", "truncate:STOR:1", sending);
    row("sizes by SIZE: server keeps half a file", "nosize", "truncate:STOR:1", sending);
    row("aside: live file check refused", "windows", "refuse:MLST:1", failed);
    row("aside: live file check 421", "windows", "421:MLST:1", failed);
    row("aside: name check refused (the user's file)", "windows", "refuse:MLST:2", failed);
    row("aside: dropped at the name check", "windows", "drop:MLST:3", failed);
    row("aside: RNFR of the live file refused", "windows", "refuse:RNFR:2", failed);
    row("aside: RNFR of the live file 421", "windows", "421:RNFR:2", failed);
    row("aside: moving aside refused", "windows", "refuse:RNTO:2", failed);
    row("aside: moving aside 421", "windows", "421:RNTO:2", failed);
    row("aside: dropped while moving aside", "windows", "drop:RNTO:2", failed);
    row("aside: moved aside, answer lost", "windows", "lost:RNTO:2", putBack);
    row("aside: RNFR of the new file refused", "windows", "refuse:RNFR:3", failed);
    row("aside: RNFR of the new file 421", "windows", "421:RNFR:3", putBack);
    row("aside: dropped at RNFR of the new file", "windows", "drop:RNFR:3", putBack);
    row("aside: moving in refused", "windows", "refuse:RNTO:3", failed);
    row("aside: moving in 421", "windows", "421:RNTO:3", putBack);
    row("aside: dropped while moving in", "windows", "drop:RNTO:3", putBack);
    row("aside: moved in, answer lost", "windows", "lost:RNTO:3", removed, true);
    row("aside: deleting the copy refused", "windows", "refuse:DELE:1", removed, true, {aside});
    row("aside: deleting the copy 421", "windows", "421:DELE:1", removed, true);
    row("aside: dropped while deleting the copy", "windows", "drop:DELE:1", removed, true);
    row("aside: copy deleted, answer lost", "windows", "lost:DELE:1", failed, true);
    row("aside by LIST: moved in, answer lost", "windows nolist", "lost:RNTO:3", removed, true);
    // A refused folder rename leaves its files to move one by one.
    row("new folder: RNTO refused", "empty", "refuse:RNTO:1", failed.chopped(6) + "Success", true, {}, false);
    row("new folder: RNTO 421", "empty", "421:RNTO:1", failed);
    row("new folder: dropped at RNTO", "empty", "drop:RNTO:1", failed);
    row("new folder: RNTO done, answer lost", "empty", "lost:RNTO:1", failed, true);
}

// Under any one fault at any command of the moves, every live file is old
// or new and whole, the account fails without stamps, a user's file named
// like an aside copy is never touched, and the next run completes the site.
void SiteUploadTest::GoingLiveSurvivesEveryFault()
{
    QFETCH(int, connections);
    QFETCH(QString, server);
    QFETCH(QString, fault);
    QFETCH(QString, logged);
    QFETCH(bool, indexIsNew);
    QFETCH(QStringList, kept);
    QFETCH(bool, runFails);
    const bool empty = server.contains("empty");
    UploadFixture fx;
    fx.connections = connections;
    FtpTestServer::Options options;
    options.NoReplace = server.contains("windows");
    options.Mlsd = !server.contains("nolist");
    options.NoSizeFact = server.contains("nosize");
    options.Faults = QStringList{fault};
    FtpTestServer& live = fx.AddAccount("Live", options);
    const auto old = [empty](const QString& target) {
        return empty ? QByteArray() : "old " + target.toUtf8();
    };
    const QString users = empty ? QString() : "/public_html/index.html.BRAside";
    const QByteArray usersBytes = empty ? QByteArray() : "the user's own";
    for (const QString& target : UploadFixture::Targets)
        if (!empty)
            live.PutFile(target, old(target));
    if (!empty)
        live.PutFile(users, usersBytes);
    fx.Scan();
    const QStringList files = fx.SelectedFiles();
    QCOMPARE(files.first(), "www/index.html");
    const auto asides = [&live] {
        QStringList found;
        AddFilesRecursively(live.Root(), "*.BRAside*", true, found);
        for (QString& path : found)
            path = path.mid(live.Root().size());
        return found;
    };

    RecordingHost host;
    const bool one = connections == 1;
    // With several, a fault may hit a command whose refusal the move
    // expects anyway (a Windows server's first rename), and nothing fails.
    const bool failed = fx.Upload(UploadMode::Changed, host).FailedAccounts == QStringList{"Live"};
    QVERIFY(failed == runFails || !one);
    QSet<bool> publicHtml; // whether each file of a new /public_html is live
    for (const QString& file : files) {
        const QByteArray bytes = live.FileBytes(UploadFixture::Targets[file]);
        const bool isNew = bytes == fx.SiteBytes(file);
        QVERIFY2(isNew || bytes == old(UploadFixture::Targets[file]), qPrintable(file));
        if (file == "www/index.html" && one)
            QCOMPARE(isNew, indexIsNew);
        QCOMPARE(fx.Stamp("Live", file), failed ? 0 : fx.Age(file));
        if (file.startsWith("www/"))
            publicHtml.insert(isNew);
    }
    // A new folder is live whole or not at all.
    if (empty)
        QCOMPARE(publicHtml.size(), 1);
    const QStringList usersAside = empty ? QStringList() : QStringList{users};
    if (one)
        QCOMPARE(asides(), usersAside + kept);
    if (!kept.isEmpty() && one)
        QVERIFY(host.Lines().contains("Old file kept as " + kept.first()));
    if (!empty)
        QCOMPARE(live.FileBytes(users), usersBytes);

    RecordingHost again;
    QVERIFY2(fx.Upload(UploadMode::Changed, again).Succeeded(), qPrintable(again.Lines().join('\n')));
    QVERIFY2(!one || (host.Lines() + again.Lines()).contains(logged), qPrintable(host.Lines().join('\n')));
    for (const QString& file : files) {
        QCOMPARE(live.FileBytes(UploadFixture::Targets[file]), fx.SiteBytes(file));
        QCOMPARE(fx.Stamp("Live", file), fx.Age(file));
    }
    if (!empty)
        QCOMPARE(live.FileBytes(users), usersBytes);
    QCOMPARE(asides(), usersAside);
    QCOMPARE(UploadFixture::FilesInTemp(live), QStringList());
}

// Ages count in two-second steps: a file dated in the step of the moment it
// is taken for sending (or later in the next one) may change again without
// a new Age, so it gets no stamp and the next "Updated" run sends it again.
void SiteUploadTest::FileWrittenAsItIsSentIsSentAgain_data()
{
    QTest::addColumn<int>("offsetMs"); // the file's time from the moment its Age is taken
    QTest::addColumn<bool>("sentAgain");
    QTest::newRow("a minute before") << -60000 << false;
    QTest::newRow("in the step before") << -1500 << false;
    QTest::newRow("earlier in the same step") << -400 << true;
    QTest::newRow("later in the same step") << 1400 << true;
    QTest::newRow("in the next step") << 2000 << true;
    QTest::newRow("ten minutes ahead") << 600000 << false;
}

void SiteUploadTest::FileWrittenAsItIsSentIsSentAgain()
{
    QFETCH(int, offsetMs);
    QFETCH(bool, sentAgain);
    UploadFixture fx;
    const QDateTime now(QDate(2026, 3, 10), QTime(12, 0, 0, 500));
    const QString page = fx.Local("site/www/a.html");
    QVERIFY(SetFileModified(page, now.addMSecs(offsetMs)));
    const QString section = Schema::UploadRecordSection(UploadFixture::Project, "Live");
    // An earlier run's stamp that happens to equal the Age.
    fx.store->WriteInteger(section, page, fx.Age("www/a.html"));

    const QList<PendingFile> sent =
        FilesToSend(UploadMode::AllChecked, *fx.store, section, {page}, PathStyle::Native(), now);
    QCOMPARE(sent.size(), 1);
    RecordStamps(*fx.store, section, sent);
    QCOMPARE(fx.Stamp("Live", "www/a.html"), sentAgain ? 0 : fx.Age("www/a.html"));
    const QList<PendingFile> next =
        FilesToSend(UploadMode::Changed, *fx.store, section, {page}, PathStyle::Native(), now.addSecs(60));
    QCOMPARE(next.size(), sentAgain ? 1 : 0);
}

QTEST_GUILESS_MAIN(SiteUploadTest)
#include "tst_site_upload.moc"
