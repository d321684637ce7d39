#include "WindowFixture.h"
#include "settings/SettingsSchema.h"

using namespace Schema;

// The project bar in the real window: create, load, switch, reload, delete,
// the software switch, and what survives a restart.
class ProjectBarUi : public QObject {
    Q_OBJECT
private slots:
    void init() { fx = std::make_unique<WindowFixture>(); }
    void cleanup() { fx.reset(); }

    void NewProjectIsLoadedAndUnlocked()
    {
        fx->Find<QCheckBox>("chkEnable")->click(); // lock again
        QVERIFY(!fx->Edit("lbePhpFile")->isEnabled());
        fx->NewProject("Alpha");
        QCOMPARE(fx->Items("Projects"), QStringList{"Alpha"});
        QCOMPARE(fx->Caption("lblEditingProject"), QStringLiteral("Alpha"));
        QCOMPARE(fx->Caption("lblProjectName"), QStringLiteral("Alpha"));
        QVERIFY(fx->Find<QCheckBox>("chkEnable")->isChecked());
        QVERIFY(fx->Edit("lbePhpFile")->isEnabled());
        // Booleans of a new project default to on.
        QVERIFY(fx->Find<QCheckBox>("chkSoftWare")->isChecked());
        QVERIFY(fx->Find<QCheckBox>("cbxtimeStamp")->isChecked());
        QVERIFY(fx->Find<QCheckBox>("cbxAutoUpload")->isChecked());
        QCOMPARE(fx->prompts.AllShown().size(), 0);
        // The build switches are stored by their click, without a save.
        fx->Find<QCheckBox>("cbxtimeStamp")->click();
        QCOMPARE(fx->Store().ReadBool("Alpha", KeyTimeStamp, true), false);
    }

    void NewProjectRefusals_data()
    {
        QTest::addColumn<QString>("name");
        // Every rule is in tst_project_store; here one refusal of the name
        // itself and one that needs the window's own list.
        QTest::newRow("empty") << "";
        QTest::newRow("existing") << "Alpha";
    }
    void NewProjectRefusals()
    {
        QFETCH(QString, name);
        fx->NewProject("Alpha");
        fx->Edit("lbePhpFile")->setText(QStringLiteral("/unsaved.php"));
        fx->prompts.Clear();
        fx->Edit("edtNewProject")->setText(name);
        fx->Button("bbtnNew")->click();
        QCOMPARE(fx->prompts.Count(RecordingPrompts::Kind::Info), 1);
        QCOMPARE(fx->prompts.AllShown().first().caption, QStringLiteral("Tarnwell"));
        QCOMPARE(fx->Items("Projects"), QStringList{"Alpha"});
        QCOMPARE(fx->Caption("lblEditingProject"), QStringLiteral("Alpha"));
        // A refused name saves nothing either.
        QCOMPARE(fx->Store().ReadString("Alpha", KeyPhpFile, "none"), QStringLiteral("none"));
    }

    // Loading B after editing A stores A's edits before B is read.
    void SwitchSavesTheLoadedProjectFirst()
    {
        fx->NewProject("Alpha");
        fx->Edit("lbePhpFile")->setText(QStringLiteral("/alpha/version.php"));
        fx->Edit("lbeLocalRoot")->setText(QStringLiteral("/alpha/site"));
        fx->NewProject("Beta");
        QCOMPARE(fx->Store().ReadString("Alpha", KeyPhpFile, {}), QStringLiteral("/alpha/version.php"));
        QCOMPARE(fx->Edit("lbePhpFile")->text(), QString());
        QCOMPARE(fx->Edit("lbeLocalRoot")->text(), QString());
        fx->Edit("lbePhpFile")->setText(QStringLiteral("/beta/version.php"));

        SelectProject("Alpha");
        fx->Button("bbtnSelectProject")->click();
        QCOMPARE(fx->Caption("lblEditingProject"), QStringLiteral("Alpha"));
        QCOMPARE(fx->Edit("lbePhpFile")->text(), QStringLiteral("/alpha/version.php"));
        QCOMPARE(fx->Edit("lbeLocalRoot")->text(), QStringLiteral("/alpha/site"));
        QCOMPARE(fx->Store().ReadString("Beta", KeyPhpFile, {}), QStringLiteral("/beta/version.php"));

        // A double-click on the list loads as well.
        QListWidget* projects = fx->List("Projects");
        SelectProject("Beta");
        emit projects->itemDoubleClicked(projects->currentItem());
        QCOMPARE(fx->Caption("lblEditingProject"), QStringLiteral("Beta"));
        QCOMPARE(fx->Edit("lbePhpFile")->text(), QStringLiteral("/beta/version.php"));
    }

    void LoadEmptiesTheLastInstaller()
    {
        fx->NewProject("Alpha");
        fx->window->State.SetupExeName = QStringLiteral("AlphaSetup-1-0.exe");
        fx->window->State.SetupExePath = QStringLiteral("/out/AlphaSetup-1-0.exe");
        fx->NewProject("Beta");
        QVERIFY(fx->window->State.SetupExeName.isEmpty());
        QVERIFY(fx->window->State.SetupExePath.isEmpty());
    }

    void ReloadDiscardsEdits()
    {
        fx->NewProject("Alpha");
        fx->Edit("lbeBaseFileName")->setText(QStringLiteral("AlphaSetup"));
        fx->Button("btnSave")->click();
        fx->Edit("lbeBaseFileName")->setText(QStringLiteral("Changed"));
        fx->Edit("lbePFXPass")->setText(QStringLiteral("typed"));
        fx->Button("btnAbandon")->click();
        QCOMPARE(fx->Edit("lbeBaseFileName")->text(), QStringLiteral("AlphaSetup"));
        QCOMPARE(fx->Edit("lbePFXPass")->text(), QString());
    }

    void DeleteLoadedProject()
    {
        fx->Edit("edtNewAccount")->setText(QStringLiteral("Main"));
        fx->Button("btnAccountNew")->click();
        fx->NewProject("Alpha");
        fx->Edit("lbePhpFile")->setText(QStringLiteral("/alpha/version.php"));
        fx->Button("btnSave")->click();
        fx->Store().WriteInteger(UploadRecordSection("Alpha", "Main"), "/alpha/site/index.html", 42);
        fx->List("lbxLocalFiles")->addItem(QStringLiteral("/alpha/site/index.html"));

        SelectProject("Alpha");
        fx->prompts.QueueAnswers({IDNO});
        fx->Button("bbtnDeleteProject")->click();
        QCOMPARE(fx->prompts.Texts(RecordingPrompts::Kind::Question), QStringList{"Delete Project\rAlpha"});
        QCOMPARE(fx->Items("Projects"), QStringList{"Alpha"});
        QCOMPARE(fx->Caption("lblEditingProject"), QStringLiteral("Alpha"));

        fx->prompts.QueueAnswers({IDYES});
        fx->Button("bbtnDeleteProject")->click();
        QVERIFY(fx->Items("Projects").isEmpty());
        QCOMPARE(fx->Caption("lblEditingProject"), QString());
        QCOMPARE(fx->List("lbxLocalFiles")->count(), 0);
        QCOMPARE(fx->Store().ReadString("Alpha", KeyPhpFile, "gone"), QStringLiteral("gone"));
        QCOMPARE(fx->Store().ReadInteger(UploadRecordSection("Alpha", "Main"), "/alpha/site/index.html", 0),
                 0);
    }

    void DeleteOtherProjectLeavesTheLoadedOneAlone()
    {
        fx->NewProject("Alpha");
        fx->Edit("lbePhpFile")->setText(QStringLiteral("/alpha/version.php"));
        fx->NewProject("Beta");
        fx->Edit("lbePhpFile")->setText(QStringLiteral("/beta/version.php"));
        SelectProject("Alpha");
        fx->prompts.QueueAnswers({IDYES});
        fx->Button("bbtnDeleteProject")->click();
        QCOMPARE(fx->Items("Projects"), QStringList{"Beta"});
        QCOMPARE(fx->Caption("lblEditingProject"), QStringLiteral("Beta"));
        QCOMPARE(fx->Edit("lbePhpFile")->text(), QStringLiteral("/beta/version.php"));
        QCOMPARE(fx->Store().ReadString("Alpha", KeyPhpFile, "gone"), QStringLiteral("gone"));
    }

    void NothingSelectedDoesNothing()
    {
        fx->NewProject("Alpha");
        fx->List("Projects")->clearSelection();
        fx->Button("bbtnDeleteProject")->click();
        fx->Button("bbtnSelectProject")->click();
        QCOMPARE(fx->prompts.AllShown().size(), 0);
        QCOMPARE(fx->Items("Projects"), QStringList{"Alpha"});
        QCOMPARE(fx->Caption("lblEditingProject"), QStringLiteral("Alpha"));
    }

    // The switch hides the application band and three tabs, and the window
    // loses exactly the band's height.
    void SoftwareSwitchHidesTabsAndShrinksTheWindow()
    {
        fx->NewProject("Alpha");
        auto* pages = fx->Find<QTabWidget>("PageControl1");
        auto* software = fx->Find<QCheckBox>("chkSoftWare");
        QVERIFY(software->isChecked());
        const int tallHeight = fx->window->height();
        QVERIFY(fx->Find<QWidget>("pnlApps")->isVisible());

        software->click();
        QCOMPARE(fx->window->height(), tallHeight - 125);
        QVERIFY(!fx->Find<QWidget>("pnlApps")->isVisible());
        QVERIFY(fx->Find<QWidget>("pnlInnoSetup")->isHidden());
        for (const char* sheet : {"TabResources", "TabUpload", "tabTimeServers"})
            QVERIFY2(!pages->isTabVisible(pages->indexOf(fx->Find<QWidget>(sheet))), sheet);
        for (const char* sheet : {"TabMaintenance", "TabAccounts", "TabPrograms", "TabImport"})
            QVERIFY2(pages->isTabVisible(pages->indexOf(fx->Find<QWidget>(sheet))), sheet);

        // Stored only with the project; loading it applies it.
        fx->Button("btnSave")->click();
        QCOMPARE(fx->Store().ReadBool("Alpha", KeySoftWareDev, true), false);
        software->click();
        QCOMPARE(fx->window->height(), tallHeight);
        QVERIFY(!fx->Find<QWidget>("pnlInnoSetup")->isHidden());
        QVERIFY(pages->isTabVisible(pages->indexOf(fx->Find<QWidget>("TabResources"))));
        fx->Button("btnAbandon")->click();
        QVERIFY(!software->isChecked());
        QCOMPARE(fx->window->height(), tallHeight - 125);
    }

    // Closing the window saves the loaded project; a new window reads
    // every project back.
    void ProjectsSurviveARestart()
    {
        fx->NewProject("Alpha");
        fx->Edit("lbePHPVar")->setText(QStringLiteral("$alphaSetup"));
        fx->Edit("lbeDownLoadLinkId")->setText(QStringLiteral("dl-alpha"));
        fx->NewProject("Beta");
        fx->Edit("lbeInnoSetupFile")->setText(QStringLiteral("/beta/setup.iss"));
        fx->Edit("lbeLocalHome")->setText(QStringLiteral("/beta/site/www"));
        fx->Find<QCheckBox>("chkSoftWare")->click();
        fx->Find<QCheckBox>("cbxAutoUpload")->click();

        fx->Restart();
        QCOMPARE(fx->Items("Projects"), QStringList({"Alpha", "Beta"}));
        QCOMPARE(fx->Caption("lblEditingProject"), QString());
        SelectProject("Beta");
        fx->Button("bbtnSelectProject")->click();
        QCOMPARE(fx->Edit("lbeInnoSetupFile")->text(), QStringLiteral("/beta/setup.iss"));
        QCOMPARE(fx->Edit("lbeLocalHome")->text(), QStringLiteral("/beta/site/www"));
        QVERIFY(!fx->Find<QCheckBox>("chkSoftWare")->isChecked());
        QVERIFY(!fx->Find<QCheckBox>("cbxAutoUpload")->isChecked());
        QVERIFY(fx->Find<QCheckBox>("cbxtimeStamp")->isChecked());
        SelectProject("Alpha");
        fx->Button("bbtnSelectProject")->click();
        QCOMPARE(fx->Edit("lbePHPVar")->text(), QStringLiteral("$alphaSetup"));
        QCOMPARE(fx->Edit("lbeDownLoadLinkId")->text(), QStringLiteral("dl-alpha"));
        QCOMPARE(fx->Edit("lbeInnoSetupFile")->text(), QString());
        QVERIFY(fx->Find<QCheckBox>("cbxAutoUpload")->isChecked());
    }

private:
    void SelectProject(const char* name) { fx->Select("Projects", {QString::fromLatin1(name)}); }
    std::unique_ptr<WindowFixture> fx;
};

QTEST_MAIN(ProjectBarUi)
#include "tst_project_bar_ui.moc"
