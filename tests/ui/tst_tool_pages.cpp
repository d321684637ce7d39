#include "WindowFixture.h"
#include "settings/SettingsSchema.h"
#include "ui/Controls.h"

#include <QSpinBox>

using namespace Schema;

// The Utilities and Time Servers pages, the password's display and the
// pickers behind the path fields, in the real window.
class ToolPages : public QObject {
    Q_OBJECT
private slots:
    void init() { fx = std::make_unique<WindowFixture>(); }
    void cleanup() { fx.reset(); }

    void ToolFieldsAreStoredWhileTyping_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("section");
        QTest::newRow("compiler") << "lbeInnoCompiler" << SecInnoCompiler;
        QTest::newRow("editor") << "lbeEditor" << SecEditor;
        QTest::newRow("help maker") << "lbeHelpMaker" << SecHelpMaker;
    }
    void ToolFieldsAreStoredWhileTyping()
    {
        QFETCH(QString, field);
        QFETCH(QString, section);
        QLineEdit* edit = fx->Edit(qPrintable(field));
        QTest::keyClicks(edit, QStringLiteral("/opt/to"));
        QCOMPARE(fx->Store().ReadString(section, KeyCommand, {}), QStringLiteral("/opt/to"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(fx->Store().ReadString(section, KeyCommand, {}), QStringLiteral("/opt/t"));
        fx->services.files.QueueFile(QStringLiteral("/opt/tool"));
        QTest::mouseDClick(edit, Qt::LeftButton);
        QCOMPARE(fx->Store().ReadString(section, KeyCommand, {}), QStringLiteral("/opt/tool"));
    }

    // A tool set by hand takes the place of the one the search found; the
    // signing fields show while it is there.
    void SignToolFieldReplacesTheSearch_data()
    {
        QTest::addColumn<QString>("typed"); // "{tool}" is a signing tool that is there
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("signing");
        QTest::newRow("a tool that is there") << "{tool}"
                                              << "\"{tool}\"" << true;
        QTest::newRow("half typed") << "{tool}x"
                                    << "\"{tool}x\"" << false;
        QTest::newRow("emptied: searched for at the next start") << ""
                                                                 << "" << false;
    }
    void SignToolFieldReplacesTheSearch()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(bool, signing);
        const QString tool = fx->folder->Write(QStringLiteral("bin/osslsigncode"), "#!/bin/sh\n");
        QLineEdit* edit = fx->Edit("lbeSignTool");
        edit->setText(QStringLiteral("/elsewhere/signtool.exe"));
        edit->setText(QString(typed).replace("{tool}", tool));
        QCOMPARE(fx->Store().ReadString(SecSignTool, KeyCommand, {}),
                 QString(stored).replace("{tool}", tool));
        QCOMPARE(fx->Button("btnNoSignTool")->isHidden(), signing);
        QCOMPARE(fx->Edit("lbePFX")->isVisibleTo(fx->Find<QWidget>("TabResources")), signing);
    }

    void SignToolFieldShowsTheStoredTool_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("found or set before") << "\"{tool}\""
                                             << "{tool}";
        // Showing it must not turn a search in vain into a new search.
        QTest::newRow("searched in vain") << QString(SignToolNeedFind) << "";
    }
    void SignToolFieldShowsTheStoredTool()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        const QString tool = fx->folder->Write(QStringLiteral("bin/osslsigncode"), "#!/bin/sh\n");
        stored.replace("{tool}", tool);
        fx->Store().WriteString(SecSignTool, KeyCommand, stored);
        fx->Restart();
        QCOMPARE(fx->Edit("lbeSignTool")->text(), shown.replace("{tool}", tool));
        QCOMPARE(fx->Store().ReadString(SecSignTool, KeyCommand, {}), stored);
    }

    void AddingAServer_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("left");
        const QStringList two = {"http://a.example", "http://b.example"};
        const QStringList three = two + QStringList{"http://c.example"};
        QTest::newRow("new one goes last") << "http://c.example" << three << "";
        QTest::newRow("blanks around trimmed") << "  http://c.example " << three << "";
        QTest::newRow("listed in other case") << "HTTP://A.Example" << two << "HTTP://A.Example";
        QTest::newRow("empty") << "" << two << "";
        QTest::newRow("two words") << "http://c.example http://d.example" << two
                                   << "http://c.example http://d.example";
    }
    void AddingAServer()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, listed);
        QFETCH(QString, left);
        ShowItems(fx->List("lbxTimeServers"), {"http://a.example", "http://b.example"});
        fx->Edit("lbeNewTimeServer")->setText(typed);
        fx->Button("bbtnAddTimeServer")->click();
        QCOMPARE(fx->Items("lbxTimeServers"), listed);
        QCOMPARE(fx->Edit("lbeNewTimeServer")->text(), left);
    }

    void DeletingAndMovingServers_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<int>("selectedAfter");
        const QStringList abc = {"a", "b", "c"};
        QTest::newRow("delete") << "bbtnDeleteTimeServer" << 1 << QStringList{"a", "c"} << -1;
        QTest::newRow("delete, none selected") << "bbtnDeleteTimeServer" << -1 << abc << -1;
        QTest::newRow("up") << "bbtnUp" << 1 << QStringList{"b", "a", "c"} << 0;
        QTest::newRow("up at the top") << "bbtnUp" << 0 << abc << 0;
        QTest::newRow("down") << "bbtnDown" << 1 << QStringList{"a", "c", "b"} << 2;
        QTest::newRow("down at the bottom") << "bbtnDown" << 2 << abc << 2;
        QTest::newRow("move, none selected") << "bbtnDown" << -1 << abc << -1;
    }
    void DeletingAndMovingServers()
    {
        QFETCH(QString, button);
        QFETCH(int, selected);
        QFETCH(QStringList, listed);
        QFETCH(int, selectedAfter);
        QListWidget* list = fx->List("lbxTimeServers");
        ShowItems(list, {"a", "b", "c"});
        list->setCurrentRow(selected);
        fx->Button(qPrintable(button))->click();
        QCOMPARE(fx->Items("lbxTimeServers"), listed);
        const QList<QListWidgetItem*> after = list->selectedItems();
        QCOMPARE(after.isEmpty() ? -1 : list->row(after.first()), selectedAfter);
    }

    void AttemptsStayInRangeAndAreStoredAtClose_data()
    {
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("shown");
        QTest::newRow("top of range") << 300 << 300;
        QTest::newRow("below range") << 0 << 1;
        QTest::newRow("above range") << 301 << 300;
    }
    void AttemptsStayInRangeAndAreStoredAtClose()
    {
        QFETCH(int, set);
        QFETCH(int, shown);
        fx->Find<QSpinBox>("speAttempts")->setValue(set);
        fx->Restart();
        QCOMPARE(fx->Find<QSpinBox>("speAttempts")->value(), shown);
    }

    void PasswordShowsOnlyWhenAsked()
    {
        QLineEdit* pass = fx->Edit("lbePFXPass");
        auto* show = fx->Find<QCheckBox>("pfxShowPass");
        pass->setText(QStringLiteral("p&ss w0rd"));
        QCOMPARE(pass->displayText(), QStringLiteral("*********"));
        show->click();
        QCOMPARE(pass->displayText(), QStringLiteral("p&ss w0rd"));
        show->click();
        QCOMPARE(pass->displayText(), QStringLiteral("*********"));
    }

    void DoubleClickOpensTheFieldsPicker_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("title");
        // A file picker's filter, or "folder" for a folder picker and
        // "new folder" for one that offers to make a folder.
        QTest::addColumn<QString>("filter");
        const char* const pickers[][3] = {
            {"lbeLocalHome", "Select Local Home folder for this project", "folder"},
            {"lbeLocalRoot", "Select Local Root folder for this project", "folder"},
            {"lbeImportLocalHome", "Select Local Home folder for IMPORT", "new folder"},
            {"lbeImportLocalRoot", "Select Local Root folder for IMPORT", "new folder"},
            {"lbePFX", "Find a signing certificate", "PFX|*.pfx"},
            {"lbeEditor", "Find your favourite text editor", "Application Files|*.exe"},
            {"lbeHelpBuilderBatch", "Find the HelpMaker project file", "Batch Files|*.sh6"},
            {"lbeHelpMaker", "Find the HelpMaker application", "Application Files|*.exe"},
            {"lbeInnoSetupFile", "Find the InnoSetup file", "InnoSetup Files|*.iss"},
            {"lbeDownLoadLinkFile", "Find the web page with the download link", "Web Page|*.html"},
            {"lbeInnoCompiler", "Find Inno Setup Compiler", "Application|*.exe"},
            {"lbeSignTool", "Find the signing tool", "Signing Tool|osslsigncode*;signtool.exe"},
            {"lbePrebuild", "Find Pre-build command or batch", "Commands|*.exe;*.cmd;*.bat"},
            {"lbePhpFile", "Find php file to hold version", "Php Files|*.php"},
        };
        for (const auto& row : pickers)
            QTest::newRow(row[0]) << row[0] << row[1] << row[2];
    }
    void DoubleClickOpensTheFieldsPicker()
    {
        QFETCH(QString, field);
        QFETCH(QString, title);
        QFETCH(QString, filter);
        const bool folder = filter.endsWith(QStringLiteral("folder"));
        const QString chosen =
            folder ? fx->folder->MakeFolder(QStringLiteral("chosen")) : QStringLiteral("/a b.x");
        QLineEdit* edit = fx->Edit(qPrintable(field));
        edit->setText(QStringLiteral("as it was"));
        // A cancel first, then a choice.
        fx->services.folders.QueueCancel();
        fx->services.files.QueueCancel();
        fx->services.folders.QueueFolder(chosen);
        fx->services.files.QueueFile(chosen);
        QTest::mouseDClick(edit, Qt::LeftButton);
        QCOMPARE(edit->text(), QStringLiteral("as it was"));
        QTest::mouseDClick(edit, Qt::LeftButton);
        QCOMPARE(edit->text(), chosen);

        const auto& folderCalls = fx->services.folders.Calls();
        const auto& fileCalls = fx->services.files.Calls();
        QCOMPARE(folderCalls.size() + fileCalls.size(), 2);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(folder ? folderCalls.value(i).title : fileCalls.value(i).title, title);
            if (folder)
                QVERIFY(folderCalls[i].initialFolder.isEmpty() &&
                        folderCalls[i].allowNewFolder == (filter == QStringLiteral("new folder")));
            else
                QCOMPARE(fileCalls[i].filter, filter);
        }
    }

    void LockedFieldOpensNoPicker()
    {
        fx->Find<QCheckBox>("chkEnable")->click();
        QTest::mouseDClick(fx->Edit("lbePFX"), Qt::LeftButton);
        QCOMPARE(fx->services.files.Calls().size(), 0);
    }

private:
    std::unique_ptr<WindowFixture> fx;
};

QTEST_MAIN(ToolPages)
#include "tst_tool_pages.moc"
