// tarnwell-cli scan: the site scan of a saved project, or of any two
// folders, without a window. Prints the site lists; exit 1 on broken links.
#include "CliPrompts.h"
#include "Commands.h"
#include "ProjectSettings.h"

#include "projects/ProjectStore.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "settings/StoreSetup.h"
#include "site/ScanWindow.h"
#include "site/SiteLists.h"
#include "site/SiteScan.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <memory>

namespace {

struct ScanArguments {
    QString Project;
    QString LocalRoot;
    QString LocalHome;
    bool HaveRoot = false;
    bool HaveHome = false;
    bool Json = false;
};

// Empty when the arguments are sound, else what is wrong with them.
QString Parse(const QCommandLineParser& parser, ScanArguments& parsed)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return QStringLiteral("one project only");
    parsed.Project = positional.value(0);
    parsed.Json = parser.isSet(QStringLiteral("json"));
    parsed.HaveRoot = parser.isSet(QStringLiteral("local-root"));
    parsed.HaveHome = parser.isSet(QStringLiteral("local-home"));
    parsed.LocalRoot = parser.value(QStringLiteral("local-root"));
    parsed.LocalHome = parser.value(QStringLiteral("local-home"));
    const bool folders = parsed.HaveRoot || parsed.HaveHome;
    if (folders && !parsed.Project.isEmpty())
        return QStringLiteral("give a project or the two folders, not both");
    if (folders && !(parsed.HaveRoot && parsed.HaveHome))
        return QStringLiteral("--local-root and --local-home go together");
    if (!folders && parsed.Project.isEmpty())
        return QStringLiteral("give a project or the two folders");
    if (folders && parsed.LocalRoot.isEmpty())
        return QStringLiteral("--local-root needs a folder");
    if (folders && parsed.LocalHome.isEmpty())
        return QStringLiteral("--local-home needs a folder");
    return QString();
}

QJsonArray ToJson(const QStringList& items)
{
    QJsonArray array;
    for (const QString& item : items)
        array.append(item);
    return array;
}

void PrintJson(const TSiteLists& lists)
{
    QJsonArray all;
    for (int row = 0; row < lists.FileCount(); ++row)
        all.append(QJsonArray{lists.File(row), lists.Checked(row)});
    QJsonArray broken;
    const QStringList& links = lists.BrokenLinks();
    for (qsizetype i = 0; i + 1 < links.size(); i += 2)
        broken.append(QJsonArray{links[i], links[i + 1]});
    // Written by hand to keep the lists in the order the window shows them.
    const auto text = [](const QJsonArray& array) {
        return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
    };
    PrintOut(QStringLiteral("{\"all\":") + text(all) + QStringLiteral(",\"files\":") +
             text(ToJson(lists.LocalFiles())) + QStringLiteral(",\"folders\":") +
             text(ToJson(lists.LocalFolders())) + QStringLiteral(",\"broken\":") + text(broken) +
             QLatin1Char('}'));
}

void PrintText(const TSiteLists& lists)
{
    PrintOut(QStringLiteral("Files:"));
    for (const QString& file : lists.LocalFiles())
        PrintOut(QStringLiteral("  ") + file);
    PrintOut(QStringLiteral("Folders:"));
    for (const QString& folder : lists.LocalFolders())
        PrintOut(QStringLiteral("  ") + folder);
    const QStringList& links = lists.BrokenLinks();
    if (links.isEmpty()) {
        PrintOut(QStringLiteral("No broken links detected"));
        return;
    }
    PrintOut(QStringLiteral("Broken links:"));
    for (qsizetype i = 0; i + 1 < links.size(); i += 2)
        PrintOut(QStringLiteral("  ") + links[i] + QStringLiteral("\n    ") + links[i + 1]);
}

} // namespace

int RunScan(const QCommandLineParser& parser)
{
    const CliCommand& command = CommandNamed(QStringLiteral("scan"));
    ScanArguments parsed;
    const QString problem = Parse(parser, parsed);
    if (!problem.isEmpty())
        return UsageError(command, problem);

    CliPrompts prompts;
    std::unique_ptr<TAppData> store;
    QString localRoot = parsed.LocalRoot;
    QString localHome = parsed.LocalHome;
    if (!parsed.Project.isEmpty()) {
        const auto unknown = [&]() {
            PrintError(QStringLiteral("tarnwell-cli: unknown project \"") + parsed.Project +
                       QLatin1Char('"'));
            return ExitUsage;
        };
        // Checked first, so that asking on a machine without settings creates no folders.
        if (!QFileInfo(SettingsFilePath()).isFile())
            return unknown();
        store = std::make_unique<TAppData>();
        if (!SetUpStore(*store, prompts))
            return ExitFailed;
        if (!store->ReadList(Schema::SecProjects, Schema::KeyProjectNames).contains(parsed.Project))
            return unknown();
        const TProjectFields fields = LoadProject(*store, parsed.Project);
        localRoot = fields.LocalRoot;
        localHome = fields.LocalHome;
    }

    // The settings are only read: the selection is neither stored before
    // the scan nor after it, and the file is never saved.
    TSiteLists lists;
    SilentScanWindow window;
    const TSiteScanContext context{lists, window, prompts, store.get(), parsed.Project, localRoot, localHome};
    const TScanOutcome outcome = ScanSite(context);
    // The lists of a site without its folders would say "No broken links".
    if (outcome.MissingFolder != TSiteFolder::None)
        return SiteFolderError(outcome.MissingFolder, parsed.Project, localRoot, localHome);
    if (parsed.Json)
        PrintJson(lists);
    else
        PrintText(lists);
    return outcome.BrokenLinks || !outcome.UnreadableFiles.isEmpty() ? ExitFailed : ExitOk;
}
