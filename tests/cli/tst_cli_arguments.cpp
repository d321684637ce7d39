// tarnwell-cli's command lines: what a wrong one says on its first line and
// exits with, and the projects listing the shell's completion reads.
#include "ProgramRun.h"
#include "RecordingPrompts.h"
#include "TestFolder.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "settings/StoreSetup.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

namespace {

Run RunCli(const QStringList& arguments)
{
    return RunProgram(QStringLiteral(TARNWELL_CLI), arguments);
}

// The program's own first line; Qt's notes about the environment go first.
QString FirstLine(const QString& text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& line : lines)
        if (!line.startsWith(QLatin1String("QStandardPaths:")))
            return line;
    return QString();
}

// Nothing under the data folder: no settings folder was made.
bool NothingMade(const TestFolder& dataHome)
{
    return QDir(dataHome.FilePath(QStringLiteral("data"))).isEmpty();
}

// What bash's completion offers for the words typed so far (the last one
// being completed), one reply a line.
QStringList Completions(const QStringList& words, const QString& workingFolder)
{
    const QString script = QStringLiteral(
        "source /usr/share/bash-completion/bash_completion || exit 3\n"
        "source \"$1\" || exit 3\n"
        "shift\n"
        "COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); COMP_LINE=\"$*\"; COMP_POINT=${#COMP_LINE}\n"
        "_tarnwell_cli\n"
        "printf '%s\\n' \"${COMPREPLY[@]}\"\n");
    QProcess bash;
    bash.setWorkingDirectory(workingFolder);
    bash.start(QStringLiteral("bash"),
               QStringList{QStringLiteral("-c"), script, QStringLiteral("bash"),
                           QStringLiteral(TARNWELL_COMPLETION), QStringLiteral(TARNWELL_CLI)} +
                   words);
    if (!bash.waitForFinished(30000) || bash.exitCode() != 0)
        return {QStringLiteral("bash failed: ") + QString::fromLocal8Bit(bash.readAllStandardError())};
    return QString::fromLocal8Bit(bash.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

class CliArgumentsTest : public QObject {
    Q_OBJECT
private slots:
    // Exit 2 and one line naming the problem and the command's help; no
    // settings are needed to get there.
    void CommandLines_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("firstLine"); // of standard error, or of standard output on exit 0

        const QString hex(64, QLatin1Char('a'));
        const auto help = [](const QString& command) {
            return QStringLiteral("; try \"tarnwell-cli ") + command + QStringLiteral(" --help\"");
        };
        QTest::newRow("unknown option") << QStringList{"upload", "Shop", "--mode", "all", "--bogus"} << 2
                                        << "tarnwell-cli: unknown option --bogus" + help("upload");
        QTest::newRow("unknown short option")
            << QStringList{"scan", "-x", "Shop"} << 2 << "tarnwell-cli: unknown option -x" + help("scan");
        QTest::newRow("missing value") << QStringList{"upload", "Shop", "--mode"} << 2
                                       << "tarnwell-cli: --mode needs a value" + help("upload");
        QTest::newRow("value to a flag") << QStringList{"upload", "Shop", "--mode", "all", "--yes=no"} << 2
                                         << "tarnwell-cli: unexpected value after '--yes'" + help("upload");
        QTest::newRow("no mode") << QStringList{"upload", "Shop"} << 2
                                 << "tarnwell-cli: give --mode updated, all or entire" + help("upload");
        QTest::newRow("no project") << QStringList{"upload", "--mode", "all"} << 2
                                    << "tarnwell-cli: give a project" + help("upload");
        QTest::newRow("two projects")
            << QStringList{"build", "Shop", "Other"} << 2 << "tarnwell-cli: one project only" + help("build");
        QTest::newRow("folder without the other")
            << QStringList{"scan", "--local-root", "site"} << 2
            << "tarnwell-cli: --local-root and --local-home go together" + help("scan");
        QTest::newRow("import without its folders")
            << QStringList{"import", "Shop", "--account", "Live"} << 2
            << "tarnwell-cli: --account, --local-root and --local-home "
               "are all needed" +
                   help("import");
        QTest::newRow("import, empty account")
            << QStringList{"import", "Shop", "--account=", "--local-root", "a", "--local-home", "a/www"} << 2
            << "tarnwell-cli: --account needs a value" + help("import");
        QTest::newRow("fingerprint twice")
            << QStringList{"upload-installer", "Shop", "--trust-fingerprint", hex, "--trust-fingerprint", hex}
            << 2 << "tarnwell-cli: --trust-fingerprint given twice" + help("upload-installer");
        QTest::newRow("projects takes nothing")
            << QStringList{"projects", "Shop"} << 2
            << "tarnwell-cli: projects takes no arguments" + help("projects");
        QTest::newRow("unknown command")
            << QStringList{"publish", "Shop"} << 2 << "tarnwell-cli: unknown command \"publish\"; try --help";
        // A sound command line gets as far as the settings.
        QTest::newRow("option=value, unknown project")
            << QStringList{"upload", "Shop", "--mode=all", "--dry-run", "--json"} << 2
            << "tarnwell-cli: unknown project \"Shop\"";
        QTest::newRow("help of a command") << QStringList{"upload", "--help"} << 0
                                           << "usage: tarnwell-cli upload PROJECT --mode updated|all|entire "
                                              "[--yes] [--ignore-broken-links] [--delete-orphans] "
                                              "[--trust-fingerprint HEX] [--dry-run] [--json]";
        QTest::newRow("help after an unknown option")
            << QStringList{"scan", "--bogus", "--help"} << 2
            << "tarnwell-cli: unknown option --bogus" + help("scan");
    }
    void CommandLines()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, firstLine);

        TestFolder dataHome(true);
        const Run run = RunCli(arguments);
        QVERIFY2(run.exitCode == exitCode, qPrintable(run.out + run.err));
        QCOMPARE(FirstLine(exitCode == 0 ? run.out : run.err), firstLine);
        // Standard output is left to the log and the --json object.
        if (exitCode != 0 && !arguments.contains(QStringLiteral("--json")))
            QVERIFY2(run.out.isEmpty(), qPrintable(run.out));
        // Nothing was made on the way.
        QVERIFY(NothingMade(dataHome));
    }

    // Commands, a command's options, --mode's values and the saved
    // projects, quoted for the shell; a name is never run as a command.
    void Completion_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QStringList>("replies");
        QTest::newRow("command") << QStringList{"up"} << QStringList{"upload", "upload-installer"};
        QTest::newRow("option of the command")
            << QStringList{"upload", "Shop", "--dr"} << QStringList{"--dry-run"};
        QTest::newRow("option of another command") << QStringList{"build", "--d"} << QStringList();
        QTest::newRow("mode") << QStringList{"upload", "Shop", "--mode", "e"} << QStringList{"entire"};
        QTest::newRow("project with a space") << QStringList{"scan", "O"} << QStringList{"Old\\ site"};
        QTest::newRow("typed up to the space") << QStringList{"scan", "Old\\ s"} << QStringList{"Old\\ site"};
        QTest::newRow("project after options") << QStringList{"upload", "--yes", "S"} << QStringList{"Shop"};
        QTest::newRow("name that looks like a command")
            << QStringList{"build", ""} << QStringList{"Shop", "Old\\ site", "\\$\\(touch\\ ran\\)"};
    }
    void Completion()
    {
        QFETCH(QStringList, words);
        QFETCH(QStringList, replies);
        TestFolder dataHome(true);
        RecordingPrompts prompts;
        TAppData store;
        QVERIFY(SetUpStore(store, prompts));
        store.WriteList(Schema::SecProjects, Schema::KeyProjectNames, {"Shop", "Old site", "$(touch ran)"});
        store.Save();

        QCOMPARE(Completions(words, dataHome.Path()), replies);
        QVERIFY(!QFileInfo::exists(dataHome.FilePath(QStringLiteral("ran"))));
    }

    // One name a line, in the order the window lists them; the settings
    // file is neither created nor rewritten.
    void Projects_data()
    {
        QTest::addColumn<QStringList>("projects"); // empty: no settings file at all
        QTest::newRow("no settings file") << QStringList();
        QTest::newRow("three, with spaces") << QStringList{"Shop", "Old site", "Zeta & co"};
    }
    void Projects()
    {
        QFETCH(QStringList, projects);
        TestFolder dataHome(true);
        if (!projects.isEmpty()) {
            RecordingPrompts prompts;
            TAppData store;
            QVERIFY(SetUpStore(store, prompts));
            store.WriteList(Schema::SecProjects, Schema::KeyProjectNames, projects);
            store.Save();
        }
        const QByteArray before = ReadFileBytes(StoreFilePath());

        const Run run = RunCli({QStringLiteral("projects")});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts), projects);
        QCOMPARE(ReadFileBytes(StoreFilePath()), before);
        if (projects.isEmpty())
            QVERIFY(NothingMade(dataHome));
    }
};

QTEST_GUILESS_MAIN(CliArgumentsTest)
#include "tst_cli_arguments.moc"
