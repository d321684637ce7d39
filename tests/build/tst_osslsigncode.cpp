#include "RecordingHost.h"
#include "RecordingPrompts.h"
#include "ReleaseProject.h"
#include "TestCertificates.h"
#include "TimeStampServer.h"
#include "build/BuildRelease.h"
#include "build/ScriptFile.h"
#include "projects/OperationContext.h"
#include "projects/WorkingState.h"
#include "util/ExtraCode.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QUuid>

#include <memory>

namespace {

QString Fixture(const QString& name)
{
    return QStringLiteral(TARNWELL_TEST_DATA "/version/") + name;
}

// osslsigncode's own verdict on a signed file, checked against the test
// authority for both the signature and the time stamp.
QString Verify(const QString& file, const QString& authority, bool& ok)
{
    QProcess verify;
    verify.setProcessChannelMode(QProcess::MergedChannels);
    verify.start(QStringLiteral("/usr/bin/osslsigncode"),
                 {QStringLiteral("verify"), QStringLiteral("-CAfile"), authority,
                  QStringLiteral("-TSA-CAfile"), authority, QStringLiteral("-in"), file});
    ok = verify.waitForFinished(60000) && verify.exitStatus() == QProcess::NormalExit &&
         verify.exitCode() == 0;
    return QString::fromLocal8Bit(verify.readAll());
}

// Files a build must never leave behind: half-signed copies beside the
// program files, and anything in its Temp folder (the password file above all).
QStringList LeftBehind(const ReleaseProject& project)
{
    QStringList left;
    QDirIterator signing(project.folder.Path(), {QStringLiteral("*.signing")}, QDir::Files,
                         QDirIterator::Subdirectories);
    while (signing.hasNext())
        left << signing.next();
    for (const QString& name : QDir(project.TempFolder).entryList(QDir::Files | QDir::Hidden))
        left << name;
    return left;
}

} // namespace

// The release build signing with the real osslsigncode (through a wrapper
// that watches for the password) and time-stamping from a local RFC 3161
// service.
class OsslsigncodeTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // Characters a shell or a command line would trip over, and a fresh
        // value per run, so no other process can hold it by chance.
        password_ = QStringLiteral("p& 'w' $HOME;") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        certs_ = std::make_unique<TestCertificates>();
        QVERIFY2(certs_->IsReady(), qPrintable(certs_->Error()));
        pfx_ = certs_->CodeSigningPfx(QStringLiteral("code"), password_);
        QVERIFY2(!pfx_.isEmpty(), qPrintable(certs_->Error()));
        const TestCertificates::Made tsa = certs_->TimeStamping(QStringLiteral("tsa"));
        QVERIFY2(!tsa.Certificate.isEmpty(), qPrintable(certs_->Error()));
        up_ = std::make_unique<TimeStampServer>(tsa.Certificate, tsa.Key);
        QVERIFY2(up_->IsReady(), qPrintable(up_->Error()));
        TimeStampServer gone(tsa.Certificate, tsa.Key);
        QVERIFY2(gone.IsReady(), qPrintable(gone.Error()));
        gone.Stop();
        down_ = gone.Url();
    }
    void cleanupTestCase() { up_.reset(); }

    void init()
    {
        project_ = std::make_unique<ReleaseProject>();
        const QStringList fixtures{"app-1234.exe", "app-split.exe", "lib-version.dll"};
        for (int i = 0; i < project_->Apps.size(); ++i) {
            QFile::remove(project_->Apps[i]);
            QVERIFY(QFile::copy(Fixture(fixtures[i]), project_->Apps[i]));
        }
        project_->tools.InstallerFrom(Fixture("app-split.exe"));
        state_ = std::make_unique<WorkingState>();
        project_->Prepare(*state_);
        in_ = project_->Inputs();
        in_.SignTool = '"' + StandInTool("osslsigncode") + '"';
        in_.PfxFile = pfx_;
        in_.PfxPassword = password_;
        in_.TimeServers = {up_->Url()};
        in_.Attempts = 1;
    }
    void cleanup()
    {
        state_.reset();
        project_.reset();
    }

    void SignedFilesVerifyWithTheirTimeStamps()
    {
        project_->tools.WatchPassword(password_);
        // A program file its owner's group may run keeps that right.
        const QString editor = project_->Apps.first();
        const QFile::Permissions rights =
            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup;
        QVERIFY(QFile::setPermissions(editor, rights));
        QStringList versions;
        for (const QString& app : project_->Apps)
            versions << GetVersionString(app, VersionFormat);
        QCOMPARE(versions, (QStringList{"1.2.3.4", "2.1.0.37", "65535.0.65534.1"}));
        RecordingHost host;
        RecordingPrompts prompts;

        const BuildOutcome outcome = RunBuild(in_, {nullptr, *state_, host, prompts});

        QVERIFY2(outcome.BuildOk, qPrintable(host.Lines().join('\n')));
        const QString installer = project_->Installer;
        const QStringList log = host.Lines();
        for (const QString& line : {QStringLiteral("signing apps"), QStringLiteral("Timestamping files"),
                                    QStringLiteral("signing Installer"), installer + " Timestamped"})
            QVERIFY2(log.contains(line), qPrintable(line));
        for (const QString& file : project_->Apps + QStringList{installer}) {
            bool ok = false;
            const QString report = Verify(file, certs_->AuthorityFile(), ok);
            QVERIFY2(ok, qPrintable(file + '\n' + report));
            QVERIFY2(report.contains("Timestamp Server Signature verification: ok"), qPrintable(report));
        }
        for (int i = 0; i < project_->Apps.size(); ++i) {
            QVERIFY(log.contains(project_->Apps[i] + " Timestamped"));
            QCOMPARE(GetVersionString(project_->Apps[i], VersionFormat), versions[i]);
        }
        const QFile::Permissions ownerGroupOther(0x7077);
        QCOMPARE(QFile::permissions(editor) & ownerGroupOther, rights);
        QVERIFY(up_->Answered() >= 4);
        QCOMPARE(project_->tools.PasswordFindings(), QStringList());
        QCOMPARE(LeftBehind(*project_), QStringList());
    }

    void ServersPasswordsAndCancel_data()
    {
        QTest::addColumn<QStringList>("servers"); // "up" or "down"
        QTest::addColumn<int>("attempts");
        QTest::addColumn<QString>(
            "certificate"); // "right password", "wrong password", "no password", "no PFX File"
        QTest::addColumn<QString>("cancelWhen"); // cancel once this line is logged
        QTest::addColumn<QStringList>("tries");  // servers asked per file, in order
        QTest::addColumn<bool>("replaced");
        QTest::addColumn<QStringList>("logged"); // lines the log holds; "{app}" for each application
        QTest::addColumn<bool>("buildOk");
        QTest::newRow("first server down, second up")
            << QStringList{"down", "up"} << 1 << "right password"
            << "" << QStringList{"down", "up"} << true << QStringList{"{app} Timestamped", "Installer Built"}
            << true;
        QTest::newRow("every server down")
            << QStringList{"down", "down"} << 2 << "right password"
            << "" << QStringList{"down", "down", "down", "down"} << true
            << QStringList{"Timestamping files", "{app} NOT TIMESTAMPED"} << false;
        QTest::newRow("wrong password")
            << QStringList{"up"} << 1 << "wrong password"
            << "" << QStringList{} << false
            << QStringList{"Signing apps failed", "is your PFX password correct?"} << false;
        QTest::newRow("no password typed")
            << QStringList{"up"} << 1 << "no password"
            << "" << QStringList{} << false
            << QStringList{"Signing apps failed",
                           "is your PFX password protected? there is no password entered"}
            << false;
        // SignTool would choose a certificate itself; osslsigncode cannot.
        QTest::newRow("no PFX File")
            << QStringList{"up"} << 1 << "no PFX File"
            << "" << QStringList{} << false
            << QStringList{"osslsigncode needs a certificate: please set the PFX File"} << false;
        QTest::newRow("cancelled while signing")
            << QStringList{"up"} << 1 << "right password"
            << "signing apps" << QStringList{} << true << QStringList{"You cancelled"} << false;
    }
    void ServersPasswordsAndCancel()
    {
        QFETCH(QStringList, servers);
        QFETCH(int, attempts);
        QFETCH(QString, certificate);
        QFETCH(QString, cancelWhen);
        QFETCH(QStringList, tries);
        QFETCH(bool, replaced);
        QFETCH(QStringList, logged);
        QFETCH(bool, buildOk);
        const QString password = certificate == "right password"   ? password_
                                 : certificate == "wrong password" ? QStringLiteral("not the password")
                                                                   : QString();
        in_.PfxPassword = password;
        if (certificate == "no PFX File")
            in_.PfxFile.clear();
        project_->tools.WatchPassword(password);
        in_.TimeServers.clear();
        for (const QString& server : servers)
            in_.TimeServers << (server == "up" ? up_->Url() : down_);
        in_.Attempts = attempts;
        QList<QByteArray> before;
        for (const QString& app : project_->Apps)
            before << ReadFileBytes(app);
        RecordingHost host;
        if (!cancelWhen.isEmpty())
            host.CancelWhenLogged(cancelWhen);
        RecordingPrompts prompts;

        const BuildOutcome outcome = RunBuild(in_, {nullptr, *state_, host, prompts});

        QCOMPARE(outcome.BuildOk, buildOk);
        for (const QString& line : logged) {
            for (const QString& app : line.contains("{app}") ? project_->Apps : QStringList{QString()}) {
                const QString expected = QString(line).replace("{app}", app);
                QVERIFY2(host.Lines().contains(expected),
                         qPrintable(expected + '\n' + host.Lines().join('\n')));
            }
        }
        for (int i = 0; i < project_->Apps.size(); ++i) {
            // A file is replaced only by its signed copy.
            QCOMPARE(ReadFileBytes(project_->Apps[i]) != before[i], replaced);
            bool ok = false;
            Verify(project_->Apps[i], certs_->AuthorityFile(), ok);
            QCOMPARE(ok, replaced);
        }
        // The servers asked for the first application's time stamp.
        QStringList asked;
        for (const StandInCall& call : project_->tools.Calls())
            if (call.Tool == "osslsigncode" && call.Args.value(0) == "add" &&
                call.Args.contains(project_->Apps.first()))
                asked << (call.Args.value(call.Args.indexOf("-ts") + 1) == down_ ? "down" : "up");
        QCOMPARE(asked, tries);
        QCOMPARE(project_->tools.PasswordFindings(), QStringList());
        QCOMPARE(LeftBehind(*project_), QStringList());
    }

private:
    QString password_;
    std::unique_ptr<TestCertificates> certs_;
    QString pfx_;
    std::unique_ptr<TimeStampServer> up_;
    QString down_;
    std::unique_ptr<ReleaseProject> project_;
    std::unique_ptr<WorkingState> state_;
    BuildInputs in_;
};

QTEST_GUILESS_MAIN(OsslsigncodeTest)
#include "tst_osslsigncode.moc"
