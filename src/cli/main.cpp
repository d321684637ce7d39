// tarnwell-cli: the program's operations without a window, for scripts and
// CI jobs. It works on the same settings file as the window.
#include "Commands.h"

#include "TarnwellVersion.h"
#include "util/TarnwellError.h"

#include <QCoreApplication>

namespace {

void PrintHelp()
{
    PrintOut(QStringLiteral("usage:"));
    for (const CliCommand& command : Commands())
        PrintOut(QStringLiteral("  tarnwell-cli ") + command.Usage);
    PrintOut(QStringLiteral("  tarnwell-cli --help | --version"));
    PrintOut(QString());
    PrintOut(QStringLiteral("Exit codes: 0 done, 1 the operation failed (scan: broken links found),"));
    PrintOut(QStringLiteral("2 wrong usage, an unknown project, or refused."));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    if (arguments.isEmpty()) {
        PrintHelp();
        return ExitUsage;
    }
    const QString first = arguments.takeFirst();
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
    try {
        return command.Run(arguments);
    } catch (const TarnwellError& error) {
        PrintError(QStringLiteral("tarnwell-cli: ") + error.Message());
        return ExitFailed;
    }
}
