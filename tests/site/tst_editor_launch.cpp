// What an Edit click starts or says: the file and line picked from the
// lists, the editor's command line, and the three refusals.
#include "RecordingPrompts.h"
#include "TestFolder.h"
#include "site/EditorLaunch.h"

#include <QTest>

namespace {

const QString kTextFiles = QStringLiteral("|.asc|.asp|.bat|.cgi|.cmd|.class|.css|.csv|.htm|.html|.ini|.js|."
                                          "log|.php|.phtml|.pl|.shtml|.txt|.xml|.xsl|");

} // namespace

class TestEditorLaunch : public QObject {
    Q_OBJECT

private slots:
    void CommandLines_data();
    void CommandLines();
    void BrokenLinkPicksFileAndLine_data();
    void BrokenLinkPicksFileAndLine();
    void Refusals_data();
    void Refusals();
};

void TestEditorLaunch::CommandLines_data()
{
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("parameters");

    const QString file = QStringLiteral("C:\\site\\www\\index.html");
    QTest::newRow("notepad++ at a line") << "C:\\Tools\\Notepad++.EXE"
                                         << "12" << QStringList{"-n12", file} << "-n12 \"" + file + "\"";
    QTest::newRow("notepad++ without a line keeps its option")
        << "C:\\Tools\\notepad++.exe"
        << "" << QStringList{"-n", file} << "-n \"" + file + "\"";
    QTest::newRow("mew32") << "D:\\mew\\MEW32.exe"
                           << "7" << QStringList{"-l7", file} << "-l7 \"" + file + "\"";
    QTest::newRow("any other editor") << "C:\\Windows\\notepad.exe"
                                      << "12" << QStringList{file} << "\"" + file + "\"";
    QTest::newRow("gedit") << "/usr/bin/gedit"
                           << "3" << QStringList{"+3", file} << "+3 \"" + file + "\"";
    QTest::newRow("vim") << "/usr/bin/vim"
                         << "3" << QStringList{"+3", file} << "+3 \"" + file + "\"";
    QTest::newRow("kate") << "/usr/bin/kate"
                          << "3" << QStringList{"-l", "3", file} << "-l 3 \"" + file + "\"";
    QTest::newRow("code") << "/usr/bin/code"
                          << "3" << QStringList{"-g", file + ":3"} << "-g \"" + file + ":3\"";
    QTest::newRow("gedit without a line") << "/usr/bin/gedit"
                                          << "" << QStringList{file} << "\"" + file + "\"";
    QTest::newRow("code without a line") << "/usr/bin/code"
                                         << "" << QStringList{file} << "\"" + file + "\"";
}

void TestEditorLaunch::CommandLines()
{
    QFETCH(QString, editor);
    QFETCH(QString, line);
    QFETCH(QStringList, arguments);
    QFETCH(QString, parameters);
    const TEditorCommand command =
        EditorCommandLine(editor, QStringLiteral("C:\\site\\www\\index.html"), line);
    QCOMPARE(command.Program, editor);
    QCOMPARE(command.Arguments, arguments);
    QCOMPARE(command.Parameters, parameters);
}

void TestEditorLaunch::BrokenLinkPicksFileAndLine_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("chosen");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("line");
    QTest::newRow("detail item") << 1 << true << "/s/a.html"
                                 << "12";
    QTest::newRow("its file item") << 0 << true << "/s/a.html"
                                   << "12";
    QTest::newRow("second pair") << 3 << true << "/s/b.php"
                                 << "140";
    QTest::newRow("nothing selected") << -1 << false << ""
                                      << "";
}

void TestEditorLaunch::BrokenLinkPicksFileAndLine()
{
    QFETCH(int, selected);
    QFETCH(bool, chosen);
    QFETCH(QString, file);
    QFETCH(QString, line);
    const QStringList items{"/s/a.html", "12:file not found:href='x.html'", "/s/b.php",
                            "140:id not found:href=\"#a:b\""};
    const TEditTarget target = EditTargetFromBrokenLinks(items, selected);
    QCOMPARE(target.Chosen, chosen);
    QCOMPARE(target.File, file);
    QCOMPARE(target.LineNumber, line);
}

void TestEditorLaunch::Refusals_data()
{
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("start");

    const QString setIt =
        QStringLiteral("Please set the location of your text editor in the external programs tab");
    const QString notText = QStringLiteral("That doesn't seem to be a text file");
    QTest::newRow("no editor") << ""
                               << "/s/a.html" << setIt << false;
    QTest::newRow("no editor, nothing selected") << ""
                                                 << "" << setIt << false;
    QTest::newRow("editor missing") << "<tmp>/gone.exe"
                                    << "/s/a.html"
                                    << "<tmp>/gone.exe does not exist; " + setIt << false;
    QTest::newRow("nothing selected") << "<editor>"
                                      << ""
                                      << "" << false;
    QTest::newRow("extension in capitals") << "<editor>"
                                           << "/s/PAGE.HTML" << notText << false;
    QTest::newRow("no extension") << "<editor>"
                                  << "/s/README" << notText << false;
    QTest::newRow("dot in a folder only") << "<editor>"
                                          << "/s/v1.0/README" << notText << false;
    QTest::newRow("image") << "<editor>"
                           << "/s/img/a.jpg" << notText << false;
    QTest::newRow("style sheet") << "<editor>"
                                 << "/s/css/a.css"
                                 << "" << true;
}

void TestEditorLaunch::Refusals()
{
    QFETCH(QString, editor);
    QFETCH(QString, file);
    QFETCH(QString, message);
    QFETCH(bool, start);
    TestFolder folder;
    const QString editorPath = folder.Write("editor", "#!/bin/sh\n");
    editor.replace("<editor>", editorPath).replace("<tmp>", folder.Path());
    message.replace("<tmp>", folder.Path());
    const TEditTarget target = EditTargetFromFiles(file.isEmpty() ? QStringList() : QStringList{file}, 0);
    const TEditPlan plan = PlanEdit(editor, target, kTextFiles);
    QCOMPARE(plan.Message, message);
    QCOMPARE(plan.Start, start);
    if (!start)
        return;
    QCOMPARE(plan.Command.Arguments, QStringList{file});
    // The click shows no box when it starts the editor.
    RecordingPrompts prompts;
    btnEditClick(editor, target, kTextFiles, prompts);
    QVERIFY(prompts.Texts().isEmpty());
}

QTEST_GUILESS_MAIN(TestEditorLaunch)
#include "tst_editor_launch.moc"
