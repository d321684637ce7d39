// tarnwell-cli scan: the site scan of a saved project, or of any two
// folders, without a window. Prints the site lists; exit 1 on broken links.
// --web checks the site's web links as well.
#include "CliPrompts.h"
#include "Commands.h"
#include "ConsoleHost.h"
#include "ProjectSettings.h"

#include "projects/ProjectStore.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "settings/StoreSetup.h"
#include "site/ScanWindow.h"
#include "site/SiteLists.h"
#include "site/SiteScan.h"
#include "site/WebLinkCheck.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>
#include <memory>

namespace {

struct ScanArguments {
    QString Project;
    QString LocalRoot;
    QString LocalHome;
    bool HaveRoot = false;
    bool HaveHome = false;
    bool Json = false;
    bool PageRelative = false;
    bool Web = false;
};

// Empty when the arguments are sound, else what is wrong with them.
QString Parse(const QCommandLineParser& parser, ScanArguments& parsed)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return QStringLiteral("one project only");
    parsed.Project = positional.value(0);
    parsed.Json = parser.isSet(QStringLiteral("json"));
    parsed.PageRelative = parser.isSet(QStringLiteral("page-relative"));
    parsed.Web = parser.isSet(QStringLiteral("web"));
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
    if (parsed.PageRelative && !folders)
        return QStringLiteral("--page-relative goes with the two folders; a project follows its own option");
    if (folders && parsed.LocalRoot.isEmpty())
        return QStringLiteral("--local-root needs a folder");
    if (folders && parsed.LocalHome.isEmpty())
        return QStringLiteral("--local-home needs a folder");
    return QString();
}

// The JSON is written as it is made: the lists of a big site do not fit
// in memory twice.
class JsonOut {
public:
    ~JsonOut() { Flush(); }
    void Raw(const char* text) { buffer_.append(text); }
    void String(const QString& text)
    {
        buffer_.append('"');
        for (const char c : text.toUtf8()) {
            const auto u = static_cast<unsigned char>(c);
            if (c == '"' || c == '\\') {
                buffer_.append('\\');
                buffer_.append(c);
            } else if (u < 0x20) {
                static const char hex[] = "0123456789abcdef";
                buffer_.append("\\u00");
                buffer_.append(hex[u >> 4]);
                buffer_.append(hex[u & 15]);
            } else {
                buffer_.append(c);
            }
        }
        buffer_.append('"');
        if (buffer_.size() > 1 << 16)
            Flush();
    }
    void Flush()
    {
        std::fwrite(buffer_.constData(), 1, size_t(buffer_.size()), stdout);
        buffer_.clear();
    }

private:
    QByteArray buffer_;
};

void PrintStrings(JsonOut& out, const QStringList& items)
{
    out.Raw("[");
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (i > 0)
            out.Raw(",");
        out.String(items[i]);
    }
    out.Raw("]");
}

// Keys in the order the window shows the lists.
void PrintJson(const TSiteLists& lists)
{
    JsonOut out;
    out.Raw("{\"all\":[");
    for (int row = 0; row < lists.FileCount(); ++row) {
        out.Raw(row > 0 ? ",[" : "[");
        out.String(lists.File(row));
        out.Raw(lists.Checked(row) ? ",true]" : ",false]");
    }
    out.Raw("],\"files\":");
    PrintStrings(out, lists.LocalFiles());
    out.Raw(",\"folders\":");
    PrintStrings(out, lists.LocalFolders());
    out.Raw(",\"broken\":[");
    const TBrokenLinkList& links = lists.BrokenLinks();
    for (qsizetype link = 0; link < links.Count(); ++link) {
        out.Raw(link > 0 ? ",[" : "[");
        out.String(links.FileOf(link));
        out.Raw(",");
        out.String(links.DetailOf(link));
        out.Raw("]");
    }
    out.Raw("]}\n");
}

void PrintText(const TSiteLists& lists)
{
    PrintOut(QStringLiteral("Files:"));
    for (const QString& file : lists.LocalFiles())
        PrintOut(QStringLiteral("  ") + file);
    PrintOut(QStringLiteral("Folders:"));
    for (const QString& folder : lists.LocalFolders())
        PrintOut(QStringLiteral("  ") + folder);
    const TBrokenLinkList& links = lists.BrokenLinks();
    if (links.isEmpty()) {
        PrintOut(QStringLiteral("No broken links detected"));
        return;
    }
    PrintOut(QStringLiteral("Broken links:"));
    for (qsizetype link = 0; link < links.Count(); ++link)
        PrintOut(QStringLiteral("  ") + links.FileOf(link) + QStringLiteral("\n    ") + links.DetailOf(link));
}

class QuietConsoleHost : public ConsoleHost {
public:
    void Log(const QString&) override {}
    void AppendToLastLine(const QString&) override {}
};

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
    TSiteScanContext context{lists, window, prompts, store.get(), parsed.Project, localRoot, localHome};
    context.PageRelative = parsed.PageRelative;
    const TScanOutcome outcome = ScanSite(context);
    // The lists of a site without its folders would say "No broken links".
    if (outcome.MissingFolder != TSiteFolder::None)
        return SiteFolderError(outcome.MissingFolder, parsed.Project, localRoot, localHome);
    TWebCheckOutcome web;
    if (parsed.Web) {
        // Standard output is the lists' alone; the terminal shows progress.
        QuietConsoleHost host;
        web = CheckWebLinks(lists, host);
        host.Finish();
        if (web.Cancelled)
            PrintError(QStringLiteral("tarnwell-cli: the web link check was cancelled"));
    }
    if (parsed.Json)
        PrintJson(lists);
    else
        PrintText(lists);
    const bool failed = !lists.BrokenLinks().isEmpty() || !outcome.UnreadableFiles.isEmpty() ||
                        !web.UnreadableFiles.isEmpty() || web.Cancelled;
    return failed ? ExitFailed : ExitOk;
}
