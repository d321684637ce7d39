#include "Commands.h"

#include "TarnwellVersion.h"
#include "util/TarnwellError.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <cstdio>

namespace {

QCommandLineOption Flag(const QString& name, const QString& description)
{
    return QCommandLineOption(name, description);
}

QCommandLineOption Valued(const QString& name, const QString& description, const QString& value)
{
    return QCommandLineOption(name, description, value);
}

QCommandLineOption JsonOption()
{
    return Flag(QStringLiteral("json"), QStringLiteral("Prints one JSON object at the end on standard output "
                                                       "(the log goes to standard error)."));
}

QCommandLineOption TrustOption()
{
    return Valued(QStringLiteral("trust-fingerprint"),
                  QStringLiteral("Trusts the server certificate with this SHA-256 fingerprint (or the SFTP "
                                 "host key with this SHA256:... fingerprint) and keeps it with the account."),
                  QStringLiteral("HEX"));
}

QCommandLineOption LocalRootOption(const QString& description)
{
    return Valued(QStringLiteral("local-root"), description, QStringLiteral("DIR"));
}

QCommandLineOption LocalHomeOption(const QString& description)
{
    return Valued(QStringLiteral("local-home"), description, QStringLiteral("DIR"));
}

const QPair<QString, QString> ProjectArgument{QStringLiteral("PROJECT"),
                                              QStringLiteral("A project as the window lists it.")};

void PrintHelp()
{
    PrintOut(QStringLiteral("usage:"));
    for (const CliCommand& command : Commands())
        PrintOut(QStringLiteral("  tarnwell-cli ") + command.Usage);
    PrintOut(QStringLiteral("  tarnwell-cli COMMAND --help | --help | --version"));
    PrintOut(QString());
    PrintOut(QStringLiteral("Exit codes: 0 done, 1 the operation failed (scan: broken links found),"));
    PrintOut(QStringLiteral("2 wrong usage, an unknown project, or refused."));
}

// The parser's complaint in the words of the other usage errors.
QString ParseProblem(const QCommandLineParser& parser)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        const QString& name = unknown.first();
        return QStringLiteral("unknown option ") +
               (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    }
    QString text = parser.errorText();
    static const QRegularExpression missing(QStringLiteral("^Missing value after '(.*)'\\.?$"));
    if (const QRegularExpressionMatch match = missing.match(text); match.hasMatch())
        return match.captured(1) + QStringLiteral(" needs a value");
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}

// The parser's help with our usage line in place of its first one.
QString HelpText(const CliCommand& command, const QCommandLineParser& parser)
{
    const QString text = parser.helpText();
    return QStringLiteral("usage: tarnwell-cli ") + command.Usage + QLatin1Char('\n') +
           text.mid(text.indexOf(QLatin1Char('\n')) + 1).trimmed();
}

} // namespace

const QList<CliCommand>& Commands()
{
    static const QList<CliCommand> commands{
        {QStringLiteral("scan"),
         QStringLiteral(
             "scan (PROJECT | --local-root DIR --local-home DIR [--page-relative]) [--json] [--web]"),
         QStringLiteral("Scans the local copy of a project's site, or of two folders, and lists its files, "
                        "folders and broken links. Exit 1 when links are broken."),
         {LocalRootOption(QStringLiteral("The site's root folder, instead of a project's.")),
          LocalHomeOption(QStringLiteral("The folder of the site's home page, instead of a project's.")),
          Flag(QStringLiteral("page-relative"),
               QStringLiteral("Resolves links from their page's folder (with the two folders only).")),
          Flag(QStringLiteral("json"), QStringLiteral("Prints the lists as one JSON object.")),
          Flag(QStringLiteral("web"), QStringLiteral("Also checks the http and https links found."))},
         {ProjectArgument},
         RunScan},
        {QStringLiteral("build"),
         QStringLiteral("build PROJECT [--json]"),
         QStringLiteral("Runs the release build of a saved project."),
         {JsonOption()},
         {ProjectArgument},
         RunBuildCommand},
        {QStringLiteral("upload"),
         QStringLiteral("upload PROJECT --mode updated|all|entire [--yes] [--ignore-broken-links] "
                        "[--delete-orphans] [--trust-fingerprint HEX] [--dry-run] [--json]"),
         QStringLiteral("Publishes a project's site to each of its accounts."),
         {Valued(QStringLiteral("mode"),
                 QStringLiteral("updated: checked files changed since the last upload; all: every checked "
                                "file; entire: every file of the site."),
                 QStringLiteral("MODE")),
          Flag(QStringLiteral("yes"), QStringLiteral("Answers Yes to the questions.")),
          Flag(QStringLiteral("ignore-broken-links"), QStringLiteral("Uploads even when links are broken.")),
          Flag(QStringLiteral("delete-orphans"),
               QStringLiteral("With --mode entire: deletes the server's files no local file maps to.")),
          TrustOption(),
          Flag(QStringLiteral("dry-run"),
               QStringLiteral("Lists what would be sent to each account and its orphans; changes nothing.")),
          JsonOption()},
         {ProjectArgument},
         RunUpload},
        {QStringLiteral("upload-installer"),
         QStringLiteral("upload-installer PROJECT [--trust-fingerprint HEX] [--json]"),
         QStringLiteral("Sends the installer of the last build, its download page and PHP file to each "
                        "account of the project."),
         {TrustOption(), JsonOption()},
         {ProjectArgument},
         RunUploadInstaller},
        {QStringLiteral("import"),
         QStringLiteral("import PROJECT --account NAME --local-root DIR --local-home DIR "
                        "[--overwrite] [--trust-fingerprint HEX] [--json]"),
         QStringLiteral("Downloads an account's site into two folders and makes them the project's."),
         {Valued(QStringLiteral("account"), QStringLiteral("The account to import from."),
                 QStringLiteral("NAME")),
          LocalRootOption(QStringLiteral("The folder the site's root goes into.")),
          LocalHomeOption(QStringLiteral("The folder of the site's home page.")),
          Flag(QStringLiteral("overwrite"), QStringLiteral("Replaces local files that differ.")),
          TrustOption(), JsonOption()},
         {ProjectArgument},
         RunImport},
        {QStringLiteral("projects"),
         QStringLiteral("projects"),
         QStringLiteral("Lists the saved projects, one name a line."),
         {},
         {},
         RunProjects},
    };
    return commands;
}

const CliCommand& CommandNamed(const QString& name)
{
    for (const CliCommand& command : Commands()) {
        if (command.Name == name)
            return command;
    }
    static const CliCommand none{};
    return none;
}

int RunCommand(const CliCommand& command, const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(command.Summary);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    parser.addOption(help);
    parser.addOptions(command.Options);
    for (const auto& [name, description] : command.Positionals)
        parser.addPositionalArgument(name, description);
    if (!parser.parse(QStringList{QStringLiteral("tarnwell-cli")} + arguments))
        return UsageError(command, ParseProblem(parser));
    if (parser.isSet(help)) {
        PrintOut(HelpText(command, parser));
        return ExitOk;
    }
    try {
        return command.Run(parser);
    } catch (const TarnwellError& error) {
        PrintError(QStringLiteral("tarnwell-cli: ") + error.Message());
        return ExitFailed;
    }
}

int RunCli(const QStringList& arguments)
{
    if (arguments.isEmpty()) {
        PrintHelp();
        return ExitUsage;
    }
    const QString& first = arguments.first();
    if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
        PrintHelp();
        return ExitOk;
    }
    if (first == QLatin1String("--version")) {
        PrintOut(QStringLiteral("tarnwell-cli " TARNWELL_VERSION_TEXT));
        return ExitOk;
    }
    const CliCommand& command = CommandNamed(first);
    if (!command.Run) {
        PrintError(QStringLiteral("tarnwell-cli: unknown command \"") + first +
                   QStringLiteral("\"; try --help"));
        return ExitUsage;
    }
    return RunCommand(command, arguments.mid(1));
}

void PrintError(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

void PrintOut(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
}

int UsageError(const CliCommand& command, const QString& problem)
{
    PrintError(QStringLiteral("tarnwell-cli: ") + problem + QStringLiteral("; try \"tarnwell-cli ") +
               command.Name + QStringLiteral(" --help\""));
    return ExitUsage;
}

QString OneProject(const CliCommand& command, const QCommandLineParser& parsed)
{
    const QStringList positional = parsed.positionalArguments();
    if (positional.size() > 1)
        UsageError(command, QStringLiteral("one project only"));
    else if (positional.isEmpty() || positional.first().isEmpty())
        UsageError(command, QStringLiteral("give a project"));
    else
        return positional.first();
    return QString();
}

int SiteFolderError(TSiteFolder folder, const QString& project, const QString& localRoot,
                    const QString& localHome)
{
    const bool root = folder == TSiteFolder::LocalRoot;
    const QString name = root ? QStringLiteral("Local Root") : QStringLiteral("Local Home");
    const QString& path = root ? localRoot : localHome;
    if (path.isEmpty())
        PrintError(QStringLiteral("tarnwell-cli: the project \"") + project + QStringLiteral("\" has no ") +
                   name + QStringLiteral("; there is nothing to scan"));
    else
        PrintError(QStringLiteral("tarnwell-cli: the ") + name + QStringLiteral(" folder ") + path +
                   QStringLiteral(" does not exist"));
    return ExitUsage;
}
