#include "TestStore.h"
#include "projects/ProjectNames.h"
#include "projects/ProjectStore.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/LineCipher.h"
#include "settings/SettingsSchema.h"

#include <QTest>

using namespace Schema;

namespace {

TProjectFields SampleProject()
{
    TProjectFields f;
    f.PhpFile = QStringLiteral("/site/www/version.php");
    f.PhpVar = QStringLiteral("$setupName");
    f.DownLoadLink = QStringLiteral("/site/www/download.html");
    f.DLinkId = QStringLiteral("dl");
    f.DLinkText = QStringLiteral("Download ");
    f.HelpBatch = QStringLiteral("/help/app.sh6");
    f.BaseFile = QStringLiteral("AppSetup");
    f.InnoSetupFile = QStringLiteral("/src/app.iss");
    f.PreBuild = QStringLiteral("/src/prebuild.sh");
    f.PFX = QStringLiteral("/keys/cert.pfx");
    f.PFXPass = QStringLiteral("p<a>ss");
    f.Apps = {QStringLiteral("/bin/app.exe"), QStringLiteral("/bin/lib.dll")};
    f.Primary = QStringLiteral("app.exe");
    f.FullVersion = QStringLiteral("/bin/app.exe");
    f.PrimaryPath = QStringLiteral("/bin/");
    f.LocalRoot = QStringLiteral("/site");
    f.LocalHome = QStringLiteral("/site/www");
    f.SoftWareDev = false;
    f.Sites = {QStringLiteral("Main"), QStringLiteral("Mirror")};
    return f;
}

// Every field a save writes, as text, so whole records compare at once and a
// mismatch names its field.
QStringList SavedFieldTexts(const TProjectFields& f)
{
    return {"PhpFile=" + f.PhpFile,           "PhpVar=" + f.PhpVar,
            "DownLoadLink=" + f.DownLoadLink, "DLinkId=" + f.DLinkId,
            "DLinkText=" + f.DLinkText,       "HelpBatch=" + f.HelpBatch,
            "BaseFile=" + f.BaseFile,         "InnoSetupFile=" + f.InnoSetupFile,
            "PreBuild=" + f.PreBuild,         "PFX=" + f.PFX,
            "PFXPass=" + f.PFXPass,           "Apps=" + f.Apps.join('|'),
            "Primary=" + f.Primary,           "FullVersion=" + f.FullVersion,
            "PrimaryPath=" + f.PrimaryPath,   "LocalRoot=" + f.LocalRoot,
            "LocalHome=" + f.LocalHome,       QStringLiteral("SoftWareDev=%1").arg(f.SoftWareDev),
            "Sites=" + f.Sites.join('|')};
}

} // namespace

class ProjectStoreTest : public QObject {
    Q_OBJECT
private slots:
    void init() { fixture_ = std::make_unique<TestStore>(); }
    void cleanup() { fixture_.reset(); }

    // The first save of a project lays its keys down in a fixed order, which
    // is the line order of the settings file.
    void SaveWritesKeysInTheirOrder()
    {
        TAppData& store = *fixture_->store;
        SaveProject(store, QStringLiteral("Alpha"), SampleProject());
        const QStringList expected{"<PhpFile>/site/www/version.php",
                                   "<HelpBatch>/help/app.sh6",
                                   "<InnoSetupFile>/src/app.iss",
                                   "<PhpVar>$setupName",
                                   "<DownLoadLink>/site/www/download.html",
                                   "<Primary>app.exe",
                                   "<Apps>/bin/app.exe",
                                   "<Apps>/bin/lib.dll",
                                   "<FullVersion>/bin/app.exe",
                                   "<PrimaryPath>/bin/",
                                   "<DLinkId>dl",
                                   "<BaseFile>AppSetup",
                                   "<DLinkText>Download ",
                                   "<LocalRoot>/site",
                                   "<LocalHome>/site/www",
                                   "<PreBuild>/src/prebuild.sh",
                                   "<SoftWareDev>0",
                                   "<PFX>/keys/cert.pfx",
                                   "<PFXPass>p<a>ss"};
        QCOMPARE(store.ReadSectionEntries(QStringLiteral("Alpha"), QString()), expected);
        QCOMPARE(store.ReadSectionEntries(SecSites, QString()),
                 QStringList({"<Alpha>Main", "<Alpha>Mirror"}));

        // In the file, the account list sits between "DLinkText" and
        // "LocalRoot", where the save writes it.
        store.Save();
        QStringList lines;
        for (const auto& line :
             LineCipher::DecryptAll(ReadFileBytes(store.FilePath()).split('\n'), kTestPassphrase))
            lines.append(line.value_or(QString()));
        const auto at = [&lines](const QString& entry) { return lines.indexOf(entry); };
        QVERIFY(at("<Alpha><DLinkText>Download ") >= 0);
        QCOMPARE(at("<Sites><Alpha>Main"), at("<Alpha><DLinkText>Download ") + 1);
        QCOMPARE(at("<Alpha><LocalRoot>/site"), at("<Sites><Alpha>Mirror") + 1);
    }

    void LoadOfAnUnknownProjectGivesTheDefaults()
    {
        TAppData& store = *fixture_->store;
        const TProjectFields f = LoadProject(store, QStringLiteral("Nothing"));
        QCOMPARE(SavedFieldTexts(f), SavedFieldTexts(TProjectFields{}));
        QVERIFY(f.SoftWareDev);
        QVERIFY(f.TimeStamp);
        QVERIFY(f.AutoUpload);
    }

    void SavedFieldsLoadBackUnchanged()
    {
        TAppData& store = *fixture_->store;
        const TProjectFields saved = SampleProject();
        SaveProject(store, QStringLiteral("Alpha"), saved);
        SaveProject(store, QStringLiteral("Beta"), TProjectFields{});
        QCOMPARE(SavedFieldTexts(LoadProject(store, QStringLiteral("Alpha"))), SavedFieldTexts(saved));
        // An emptied list must not leave the old items behind.
        TProjectFields shorter = saved;
        shorter.Apps = {QStringLiteral("/bin/other.exe")};
        shorter.Sites.clear();
        SaveProject(store, QStringLiteral("Alpha"), shorter);
        QCOMPARE(LoadProject(store, QStringLiteral("Alpha")).Apps, shorter.Apps);
        QVERIFY(LoadProject(store, QStringLiteral("Alpha")).Sites.isEmpty());
        QCOMPARE(LoadProject(store, QStringLiteral("Beta")).PhpFile, QString());
    }

    // The two build switches are stored by their own boxes, never by a save.
    void SaveLeavesTheBuildSwitchesAlone()
    {
        TAppData& store = *fixture_->store;
        store.WriteBool(QStringLiteral("Alpha"), KeyTimeStamp, false);
        TProjectFields f = SampleProject();
        f.TimeStamp = true;
        f.AutoUpload = false;
        SaveProject(store, QStringLiteral("Alpha"), f);
        const TProjectFields loaded = LoadProject(store, QStringLiteral("Alpha"));
        QCOMPARE(loaded.TimeStamp, false);
        QCOMPARE(loaded.AutoUpload, true);
    }

    void SaveWithoutAProjectWritesNothing()
    {
        TAppData& store = *fixture_->store;
        SaveProject(store, QString(), SampleProject());
        QVERIFY(store.ReadSectionEntries(QString(), QString()).isEmpty());
        QVERIFY(store.ReadSectionEntries(SecSites, QString()).isEmpty());
    }

    // Deleting a project takes its section and upload records with it, keeps
    // its account list, and leaves other projects' data alone.
    void DeleteRemovesSectionAndUploadRecords()
    {
        TAppData& store = *fixture_->store;
        SaveProject(store, QStringLiteral("Alpha"), SampleProject());
        SaveProject(store, QStringLiteral("Alphabet"), SampleProject());
        store.WriteList(QStringLiteral("Alpha"), KeyFileSelection, {QStringLiteral("/site/www/index.html")});
        store.WriteInteger(UploadRecordSection("Alpha", "Main"), "/site/www/index.html", 11);
        store.WriteInteger(UploadRecordSection("Alpha", "Mirror"), "/site/www/index.html", 12);
        store.WriteInteger(UploadRecordSection("Alpha", "Gone"), "/site/www/index.html", 13);
        store.WriteInteger(UploadRecordSection("Alphabet", "Main"), "/site/www/index.html", 14);

        // "Mirror" is only in the project's own list, no longer an account.
        DeleteProjectData(store, QStringLiteral("Alpha"), {QStringLiteral("Main"), QStringLiteral("Other")},
                          {QStringLiteral("Alphabet")});

        QVERIFY(store.ReadSectionEntries(QStringLiteral("Alpha"), QString()).isEmpty());
        QCOMPARE(store.ReadInteger(UploadRecordSection("Alpha", "Main"), "/site/www/index.html", 0), 0);
        QCOMPARE(store.ReadInteger(UploadRecordSection("Alpha", "Mirror"), "/site/www/index.html", 0), 0);
        // Neither an account nor listed: nothing names it any more.
        QCOMPARE(store.ReadInteger(UploadRecordSection("Alpha", "Gone"), "/site/www/index.html", 0), 13);
        QCOMPARE(store.ReadInteger(UploadRecordSection("Alphabet", "Main"), "/site/www/index.html", 0), 14);
        QCOMPARE(LoadProject(store, QStringLiteral("Alphabet")).PhpFile, SampleProject().PhpFile);
        QCOMPARE(store.ReadList(SecSites, QStringLiteral("Alpha")), SampleProject().Sites);
    }

    // "ULF-P-A-B" is P's record for account "A-B" and also "P-A"'s for "B".
    void DeleteKeepsARecordSharedByName()
    {
        TAppData& store = *fixture_->store;
        store.WriteInteger(UploadRecordSection("P", "A-B"), "/f", 1);
        store.WriteInteger(UploadRecordSection("P", "C"), "/f", 2);
        DeleteProjectData(store, QStringLiteral("P"), {"A-B", "B", "C"}, {"P", "P-A"});
        QCOMPARE(store.ReadInteger(UploadRecordSection("P-A", "B"), "/f", 0), 1);
        QCOMPARE(store.ReadInteger(UploadRecordSection("P", "C"), "/f", 0), 0);
    }

    // What was saved comes back from the encrypted file after a restart.
    void ProjectSurvivesARestart()
    {
        SaveProject(*fixture_->store, QStringLiteral("Alpha"), SampleProject());
        QCOMPARE(SavedFieldTexts(LoadProject(fixture_->Reload(), QStringLiteral("Alpha"))),
                 SavedFieldTexts(SampleProject()));
    }

    void NewProjectNameRefusals_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("refused");
        QTest::newRow("plain") << "My Product" << false;
        QTest::newRow("empty") << "" << true;
        QTest::newRow("blanks") << "   " << true;
        QTest::newRow("open angle") << "a<b" << true;
        QTest::newRow("close angle") << "a>b" << true;
        QTest::newRow("Settings") << "Settings" << true;
        QTest::newRow("Projects") << "Projects" << true;
        QTest::newRow("Accounts") << "Accounts" << true;
        QTest::newRow("TimeServers") << "TimeServers" << true;
        QTest::newRow("Sites") << "Sites" << true;
        QTest::newRow("SignTool") << "SignTool" << true;
        QTest::newRow("InnoCompiler") << "InnoCompiler" << true;
        QTest::newRow("Editor") << "Editor" << true;
        QTest::newRow("HelpMaker") << "HelpMaker" << true;
        QTest::newRow("sites lower case") << "sites" << false;
        QTest::newRow("account prefix") << "Account/x" << true;
        QTest::newRow("upload prefix") << "ULF-x" << true;
        QTest::newRow("window prefix") << "Window\\MainScreen" << true;
        QTest::newRow("existing") << "Existing" << true;
        QTest::newRow("existing other case") << "existing" << false;
        QTest::newRow("longer than existing") << "Existing2" << false;
    }
    void NewProjectNameRefusals()
    {
        QFETCH(QString, name);
        QFETCH(bool, refused);
        QCOMPARE(!NewProjectNameRefusal(name, {QStringLiteral("Existing")}).isEmpty(), refused);
    }

private:
    std::unique_ptr<TestStore> fixture_;
};

QTEST_GUILESS_MAIN(ProjectStoreTest)
#include "tst_project_store.moc"
