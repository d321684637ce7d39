#include "site/SiteScan.h"

#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "site/FileLookup.h"
#include "site/LinkRules.h"
#include "site/LinkScanner.h"
#include "site/ScanWindow.h"
#include "site/SiteLists.h"
#include "util/MyFileOpsU.h"
#include "util/Prompts.h"

#include <optional>

namespace {

const QString IndexNames[] = {QStringLiteral("index.html"), QStringLiteral("index.htm")};

// Closes the progress window however the scan ends, an error included.
class WindowCloser {
public:
    explicit WindowCloser(ScanWindow& window) : window_(window) {}
    ~WindowCloser()
    {
        if (open_)
            window_.EndScan();
    }
    WindowCloser(const WindowCloser&) = delete;
    WindowCloser& operator=(const WindowCloser&) = delete;
    void Close()
    {
        open_ = false;
        window_.EndScan();
    }
    // Someone else closes the window from here on.
    void Dismiss() { open_ = false; }

private:
    ScanWindow& window_;
    bool open_ = true;
};

QString UnreadableText(const QStringList& files)
{
    if (files.size() == 1)
        return QStringLiteral("The selected file ") + files.first() +
               QStringLiteral(" could not be read, so its links were not followed.");
    constexpr int shown = 10;
    QString text =
        QStringLiteral("These selected files could not be read, so their links were not followed:");
    for (int i = 0; i < files.size() && i < shown; ++i)
        text += QLatin1Char('\r') + files[i];
    if (files.size() > shown)
        text += QStringLiteral("\rand %1 more").arg(files.size() - shown);
    return text;
}

} // namespace

TScanOutcome UpdateFilesAndFolders(const TSiteScanContext& context, bool& selectionChanged)
{
    if (context.LocalRoot.isEmpty())
        return TScanOutcome();
    SaveFileSelection(context.Store, context.Project, context.Lists);
    TScanOutcome outcome = ScanSite(context);
    selectionChanged = false;
    return outcome;
}

TScanOutcome doReScan(const TSiteScanContext& context, bool afterImport, bool& selectionChanged)
{
    if (afterImport)
        UpdateFilesAndFolders(context, selectionChanged);
    SaveFileSelection(context.Store, context.Project, context.Lists);
    TScanOutcome outcome = ScanSite(context);
    outcome.ShowBrokenLinkState = true;
    outcome.BrokenLinks = !context.Lists.BrokenLinks().isEmpty();
    selectionChanged = false;
    return outcome;
}

void SaveFileSelection(TAppData* store, const QString& project, const TSiteLists& lists)
{
    // Without a project the list would land in a section of no name.
    if (!store || project.isEmpty())
        return;
    store->WriteList(project, Schema::KeyFileSelection, lists.CheckedFiles());
}

TScanOutcome ScanSite(const TSiteScanContext& context)
{
    if (context.LocalRoot.isEmpty()) {
        TScanOutcome outcome;
        outcome.MissingFolder = TSiteFolder::LocalRoot;
        return outcome;
    }
    {
        TSiteLists& lists = context.Lists;
        const TSiteLists::UpdateBatch batch(lists);
        ScanWindow& window = context.Window;
        window.StartScan(ScanCaption(context.Project));
        WindowCloser closer(window);
        window.AddLine(QStringLiteral("Loading Local Folders"));
        window.AddLine(QStringLiteral("Searching Local Sub Folders"));
        lists.ClearLocalFolders();
        QStringList saved;
        if (context.Store && !context.Project.isEmpty())
            saved = context.Store->ReadList(context.Project, Schema::KeyFileSelection);
        window.AddLine(QStringLiteral("Checking Local Files"));
        ListLocalFiles(context);
        for (const QString& path : saved)
            lists.SetChecked(lists.FindFile(path), true);
        closer.Dismiss(); // the analysis closes the window
    }
    return AnalyseFiles(context);
}

void ListLocalFiles(const TSiteScanContext& context)
{
    if (context.LocalRoot.isEmpty() || context.LocalHome.isEmpty())
        return;
    TSiteLists& lists = context.Lists;
    const PathStyle& style = lists.Style();
    QStringList files = lists.Files();
    const qsizetype listed = files.size();
    AddFilesRecursively(context.LocalRoot, QStringLiteral("*.*"), true, files, style);
    for (qsizetype i = listed; i < files.size(); ++i)
        lists.AppendFile(files[i], false);

    // A Local Home typed with a trailing separator still finds its index.
    TFileLookup lookup(style);
    for (const QString& name : IndexNames) {
        const QString index = style.Join(context.LocalHome, name);
        if (!lookup.NamesFile(index))
            continue;
        TFileOpsSettings info;
        GetFileInfo(index, info, style);
        const QString stored = info.Name.isEmpty() ? name : info.Name;
        lists.SetChecked(lists.FindFile(style.Join(context.LocalHome, stored)), true);
        break;
    }
}

TScanOutcome AnalyseFiles(const TSiteScanContext& context)
{
    TSiteLists& lists = context.Lists;
    const PathStyle& style = lists.Style();
    std::optional<TSiteLists::UpdateBatch> batch(std::in_place, lists);
    WindowCloser closer(context.Window);

    TFileLookup lookup(style);
    const bool haveRoot = lookup.NamesFolder(context.LocalRoot);
    const bool haveHome = lookup.NamesFolder(context.LocalHome);
    if (!haveHome) {
        context.prompts.ShowInfo(ProductCaption, QStringLiteral("Your local home folder ") +
                                                     context.LocalHome + QStringLiteral(" does not exist"));
    } else if (!lookup.NamesFile(style.Join(context.LocalHome, IndexNames[0])) &&
               !lookup.NamesFile(style.Join(context.LocalHome, IndexNames[1]))) {
        context.prompts.ShowInfo(ProductCaption,
                                 QStringLiteral("There is no index page in your home folder"));
    }

    lists.ClearLocalFiles();
    for (const QString& path : lists.CheckedFiles()) {
        lists.AddLocalFile(path);
        context.Window.AddLine(QStringLiteral("Adding ") + path);
    }
    lists.ClearBrokenLinks();

    // Read here, so that every scan of a project (the window's, the command
    // line's, the one before an upload) resolves its links alike.
    const bool pageRelative = context.Store && !context.Project.isEmpty()
                                  ? context.Store->ReadBool(context.Project, Schema::KeyPageRelative, false)
                                  : context.PageRelative;
    TLinkScanner scanner(lists, TLinkFolders{context.LocalHome, context.LocalRoot, pageRelative},
                         context.Window);
    scanner.ScanLinks(0);

    for (const QString& path : lists.LocalFiles()) {
        lists.AddLocalFolder(FolderOf(path, style));
        const int row = lists.FindFile(path);
        if (row >= 0)
            lists.SetChecked(row, true);
        else
            lists.AppendFile(path, true);
    }
    closer.Close();
    batch.reset(); // the widgets show the result before any box

    TScanOutcome outcome;
    outcome.Scanned = true;
    outcome.ShowBrokenLinkState = true;
    outcome.BrokenLinks = !lists.BrokenLinks().isEmpty();
    outcome.UnreadableFiles = scanner.UnreadableFiles();
    outcome.MissingFolder = !haveRoot   ? TSiteFolder::LocalRoot
                            : !haveHome ? TSiteFolder::LocalHome
                                        : TSiteFolder::None;
    if (!outcome.UnreadableFiles.isEmpty())
        context.prompts.ShowInfo(ProductCaption, UnreadableText(outcome.UnreadableFiles));
    return outcome;
}
