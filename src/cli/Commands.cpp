#include "Commands.h"

#include <cstdio>

const QList<CliCommand>& Commands()
{
    static const QList<CliCommand> commands{
        {QStringLiteral("scan"),
         QStringLiteral(
             "scan (PROJECT | --local-root DIR --local-home DIR [--page-relative]) [--json] [--web]"),
         RunScan},
        {QStringLiteral("build"), QStringLiteral("build PROJECT"), RunBuildCommand},
        {QStringLiteral("upload"),
         QStringLiteral("upload PROJECT --mode updated|all|entire [--yes] [--ignore-broken-links] "
                        "[--delete-orphans] [--trust-fingerprint HEX] [--dry-run]"),
         RunUpload},
        {QStringLiteral("upload-installer"),
         QStringLiteral("upload-installer PROJECT [--trust-fingerprint HEX]"), RunUploadInstaller},
        {QStringLiteral("import"),
         QStringLiteral("import PROJECT --account NAME --local-root DIR --local-home DIR "
                        "[--overwrite] [--trust-fingerprint HEX]"),
         RunImport},
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
    PrintError(QStringLiteral("tarnwell-cli: ") + problem);
    PrintError(QStringLiteral("usage: tarnwell-cli ") + command.Usage);
    return ExitUsage;
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
