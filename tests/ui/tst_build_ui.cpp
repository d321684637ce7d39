#include "ReleaseProject.h"
#include "WindowFixture.h"
#include "projects/WorkingState.h"
#include "settings/SettingsSchema.h"
#include "ui/BuildActions.h"
#include "ui/CancelFormU.h"
#include "ui/ColorButton.h"
#include "ui/Controls.h"
#include "util/TarnwellError.h"

#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTimer>

#include <algorithm>

// The Build button and its neighbours on the real window.
class BuildWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        savedProgramFiles = qgetenv("ProgramFiles");
        savedPath = qgetenv("PATH");
        fx = std::make_unique<WindowFixture>();
    }
    void cleanup()
    {
        cancelForm = nullptr;
        fx.reset();
        project.reset();
        qputenv("ProgramFiles", savedProgramFiles);
        qputenv("PATH", savedPath);
    }

    void WindowAfterBuild_data()
    {
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<bool>("autoUpload");
        QTest::addColumn<bool>("uploadEnabled");
        QTest::addColumn<int>("uploadClicks");
        QTest::newRow("succeeds, uploads at once") << "succeeds" << true << true << 1;
        QTest::newRow("succeeds, Auto Upload off") << "succeeds" << false << true << 0;
        QTest::newRow("fails") << "fails" << true << false << 0;
        QTest::newRow("throws") << "throws" << true << false << 0;
    }
    void WindowAfterBuild()
    {
        QFETCH(QString, outcome);
        QFETCH(bool, autoUpload);
        QFETCH(bool, uploadEnabled);
        QFETCH(int, uploadClicks);
        LoadReleaseProject();
        fx->Find<QCheckBox>("cbxAutoUpload")->setChecked(autoUpload);
        QPushButton* upload = fx->Button("bbtnUpload");
        upload->setEnabled(true);
        const QSignalSpy uploads(upload, &QPushButton::clicked);
        auto* log = fx->Find<QPlainTextEdit>("ProgressPane");
        log->setPlainText("the previous build's log");
        auto* build = fx->window->findChild<BuildActions*>();
        if (outcome == "fails")
            project->tools.Fail("COMPILER", "always");

        if (outcome == "throws") {
            fx->window->State.BuildBatch.reset();
            QVERIFY_THROWS_EXCEPTION(TarnwellError, build->btnGetItDoneClick());
        } else {
            fx->Button("bbtnGetItDone")->click();
            const QStringList lines = log->toPlainText().split('\n');
            QCOMPARE(lines.first(), "Running " + project->PreBuild);
            // An Auto Upload continues the build's log (no account is chosen here).
            const QStringList upload{"", "Summary of software site update operations", "End of summary"};
            QCOMPARE(lines.mid(lines.indexOf("Waiting....") + 1), uploadClicks ? upload : QStringList());
            QVERIFY(lines.contains(QStringLiteral("Installer Built")) == uploadEnabled);
            QCOMPARE(fx->Find<QTabWidget>("PageControl1")->currentWidget(), fx->Find<QWidget>("TabUpload"));
            QCOMPARE(fx->window->CurrentTabSheet, fx->Find<QWidget>("TabUpload"));
            QVERIFY(fx->Button("bbtnSaveSoftUploadLog")->isEnabled());
        }
        QVERIFY(fx->window->isEnabled());
        QVERIFY(!cancelForm->isVisible());
        QCOMPARE(cancelForm->CancelButton->text(), uploadClicks ? "Cancel Upload" : "Cancel Build");
        QCOMPARE(upload->isEnabled(), uploadEnabled);
        QCOMPARE(uploads.count(), uploadClicks);
    }

    // While a pre-build program runs a second, the window thread goes on
    // with its own events (a timer of its keeps ticking), and a click on
    // Cancel is seen at the check point after the program: the files are
    // not stamped and the build ends cancelled.
    void WindowStaysAliveWhileAProgramRuns_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("Cancel clicked") << true;
        QTest::newRow("left alone") << false;
    }
    void WindowStaysAliveWhileAProgramRuns()
    {
        QFETCH(bool, cancel);
        LoadReleaseProject();
        fx->Find<QCheckBox>("cbxAutoUpload")->setChecked(false);
        project->WritePreBuild("sleep 1\nexit 0\n");
        int ticksWhileDisabled = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this,
                [&] { ticksWhileDisabled += fx->window->isEnabled() ? 0 : 1; });
        ticker.start(20);
        auto* log = fx->Find<QPlainTextEdit>("ProgressPane");
        bool clicked = false;
        connect(log, &QPlainTextEdit::textChanged, this, [&] {
            if (cancel && !clicked && log->toPlainText().startsWith("Running ")) {
                clicked = true;
                QTimer::singleShot(200, this,
                                   [&] { QTest::mouseClick(cancelForm->CancelButton, Qt::LeftButton); });
            }
        });
        fx->Button("bbtnGetItDone")->click();

        QVERIFY2(ticksWhileDisabled >= 10, qPrintable(QString::number(ticksWhileDisabled)));
        const QStringList lines = log->toPlainText().split('\n');
        QCOMPARE(lines.mid(0, 2), (QStringList{"Running " + project->PreBuild, "Success"}));
        QCOMPARE(lines.contains("You cancelled"), cancel);
        QCOMPARE(lines.filter(QRegularExpression("^Reading ")).isEmpty(), cancel);
        QCOMPARE(fx->Button("bbtnUpload")->isEnabled(), !cancel);
        QVERIFY(fx->window->isEnabled());
    }

    void SwitchesInvertAndStore_data()
    {
        QTest::addColumn<QString>("press"); // a button, or "Escape"
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("inverts");
        QTest::newRow("Time Stamp button") << "bbtnTimeStamp"
                                           << "TabResources"
                                           << "cbxtimeStamp" << true;
        QTest::newRow("Auto Upload button") << "bbtnAutoUpload"
                                            << "TabResources"
                                            << "cbxAutoUpload" << true;
        QTest::newRow("Escape on the Builder page") << "Escape"
                                                    << "TabResources"
                                                    << "cbxtimeStamp" << true;
        QTest::newRow("Escape on another page") << "Escape"
                                                << "TabPrograms"
                                                << "cbxtimeStamp" << false;
    }
    void SwitchesInvertAndStore()
    {
        QFETCH(QString, press);
        QFETCH(QString, page);
        QFETCH(QString, box);
        QFETCH(bool, inverts);
        fx->NewProject("Demo");
        fx->ShowPage(qPrintable(page));
        auto* check = fx->Find<QCheckBox>(qPrintable(box));
        QVERIFY(check->isChecked());
        if (press == "Escape") {
            fx->window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(fx->window.get()));
            QTest::keyClick(fx->window.get(), Qt::Key_Escape);
        } else {
            fx->Button(qPrintable(press))->click();
        }
        QCOMPARE(check->isChecked(), !inverts);
        const QString key = box == "cbxtimeStamp" ? Schema::KeyTimeStamp : Schema::KeyAutoUpload;
        QCOMPARE(fx->Store().ReadBool("Demo", key, true), !inverts);
    }

    void NoSignToolButtonSearchesAgain_data()
    {
        QTest::addColumn<QString>("installedFile"); // below the programs folder, or on the PATH
        QTest::newRow("SDK installed since") << "Kits/bin/signtool.exe";
        QTest::newRow("osslsigncode installed since") << "path/osslsigncode";
        QTest::newRow("still no SDK") << "";
    }
    void NoSignToolButtonSearchesAgain()
    {
        QFETCH(QString, installedFile);
        const bool installed = !installedFile.isEmpty();
        TestFolder programs;
        const QString tool = installed ? programs.Write(installedFile, "MZ") : QString();
        if (installed)
            QFile::setPermissions(tool, QFile::ReadOwner | QFile::ExeOwner);
        qputenv("ProgramFiles", programs.Path().toLocal8Bit());
        qputenv("PATH", programs.FilePath("path").toLocal8Bit());
        fx->Store().WriteString(Schema::SecSignTool, Schema::KeyCommand, Schema::SignToolNeedFind);
        fx->prompts.Clear();
        fx->Restart();
        QPushButton* button = fx->Button("btnNoSignTool");
        // A failed search is not repeated at every start.
        QVERIFY(!button->isHidden());
        QCOMPARE(SigningFieldsShown(), 0);
        QVERIFY(fx->prompts.AllShown().isEmpty());
        const QString caption = button->text();

        button->click();
        QCOMPARE(button->isHidden(), installed);
        // The button stands in place of the signing fields, never beside them.
        QCOMPARE(SigningFieldsShown(), installed ? 3 : 0);
        QCOMPARE(button->text(), caption);
        QVERIFY(button->isEnabled());
        QCOMPARE(fx->Store().ReadString(Schema::SecSignTool, Schema::KeyCommand, QString()),
                 installed ? '"' + tool + '"' : Schema::SignToolNeedFind);
        QCOMPARE(fx->Edit("lbeSignTool")->text(), tool);
        QCOMPARE(fx->prompts.Texts(),
                 installed ? QStringList()
                           : QStringList{"Unable to find SignTool.exe\rTo sign your apps you need to install "
                                         "Windows SDK"});
    }

private:
    // How many of the three signing fields are shown on the Builder page.
    int SigningFieldsShown() const
    {
        auto* page = fx->Find<QWidget>("TabResources");
        const QList<QWidget*> fields{fx->Edit("lbePFX"), fx->Edit("lbePFXPass"),
                                     fx->Find<QCheckBox>("pfxShowPass")};
        return int(std::count_if(fields.cbegin(), fields.cend(),
                                 [page](const QWidget* field) { return field->isVisibleTo(page); }));
    }

    // The release project shown as a user would have it on the window, with
    // the stand-in signing tool found at the start.
    void LoadReleaseProject()
    {
        project = std::make_unique<ReleaseProject>();
        const BuildInputs in = project->Inputs();
        fx->Store().WriteString(Schema::SecSignTool, Schema::KeyCommand, in.SignTool);
        fx->Restart();
        QVERIFY(fx->Button("btnNoSignTool")->isHidden());
        QCOMPARE(SigningFieldsShown(), 3);
        cancelForm = fx->window->CancelForm();
        fx->NewProject("Demo");
        const VersionStampInput& s = in.Stamp;
        const QList<QPair<const char*, QString>> fields{{"lbePhpFile", s.PhpFile},
                                                        {"lbePHPVar", s.PhpVar},
                                                        {"lbeDownLoadLinkFile", s.DownLoadLinkFile},
                                                        {"lbeDownLoadLinkId", s.DownLoadLinkId},
                                                        {"lbeDownLoadLinkText", s.DownLoadLinkText},
                                                        {"lbeBaseFileName", s.BaseFileName},
                                                        {"lbeInnoSetupFile", s.InnoSetupFile},
                                                        {"lbePrebuild", in.PreBuild},
                                                        {"lbeHelpBuilderBatch", in.HelpProject},
                                                        {"lbePFX", in.PfxFile},
                                                        {"lbePFXPass", in.PfxPassword},
                                                        {"lbeInnoCompiler", in.InnoCompiler},
                                                        {"lbeHelpMaker", in.HelpMaker}};
        for (const auto& [name, text] : fields)
            fx->Edit(name)->setText(text);
        auto* apps = fx->Find<TCheckListBox>("chkProjectApps");
        for (const QString& app : in.Apps)
            apps->AddItem(app, app == in.Apps.first());
        fx->Find<QLabel>("lblPrimaryApp")->setText(in.PrimaryCaption);
        WorkingState& state = fx->window->State;
        state.PrimaryAppFile = in.Apps.first();
        state.PrimaryAppFolder = project->Path("bin/");
        state.PrimaryVersion = "2.1.0.7";
        ShowItems(fx->List("lbxTimeServers"), in.TimeServers);
        fx->Find<QSpinBox>("speAttempts")->setValue(in.Attempts);
    }

    QByteArray savedProgramFiles;
    QByteArray savedPath;
    std::unique_ptr<WindowFixture> fx;
    TCancelForm* cancelForm = nullptr; // the window's own, once the project is loaded
    std::unique_ptr<ReleaseProject> project;
};

QTEST_MAIN(BuildWindowTest)
#include "tst_build_ui.moc"
