// AddFilesRecursively and FindFileRecursive: depth-first walks of a folder
// tree in name order.
#include "FolderWalk.h"
#include "MyFileOpsU.h"

#include <QSet>

namespace {

void AddFiles(FolderWalk& walk, const QString& folder, const QString& mask, bool recurse, QStringList& list,
              QSet<QString>& held)
{
    const PathStyle& style = walk.Style();
    const QString dir = style.WithTrailingSeparator(folder);
    if (!walk.Enter(dir))
        return;
    for (const QString& name : walk.FileNames(dir, mask)) {
        const QString path = dir + name;
        const QString key = style.LookupKey(path);
        if (held.contains(key))
            continue;
        held.insert(key);
        list.append(path);
    }
    if (recurse)
        for (const QString& name : walk.FolderNames(dir))
            AddFiles(walk, dir + name, mask, true, list, held);
    walk.Leave();
}

void FindFile(FolderWalk& walk, const QString& folder, const QString& baseName, const QString& extension,
              QString& found, bool recurse)
{
    const QString dir = walk.Style().WithTrailingSeparator(folder);
    if (!walk.Enter(dir))
        return;
    for (const QString& name : walk.FileNames(dir, baseName + QLatin1String(".*"))) {
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        // The extension must match exactly, letter case included.
        if (dot >= 0 && name.mid(dot) == extension) {
            found = dir + name;
            break;
        }
    }
    if (recurse)
        for (const QString& name : walk.FolderNames(dir))
            FindFile(walk, dir + name, baseName, extension, found, true);
    walk.Leave();
}

} // namespace

void AddFilesRecursively(const QString& folder, const QString& mask, bool recurse, QStringList& list,
                         const PathStyle& style)
{
    // An empty folder text would become the root of the whole file system.
    if (folder.isEmpty())
        return;
    // A set of the paths already held keeps the look-up cheap on large sites.
    QSet<QString> held;
    held.reserve(list.size());
    for (const QString& path : list)
        held.insert(style.LookupKey(path));
    FolderWalk walk(style);
    AddFiles(walk, folder, mask, recurse, list, held);
}

void FindFileRecursive(const QString& folder, const QString& baseName, const QString& extension,
                       QString& found, bool recurse, const PathStyle& style)
{
    if (folder.isEmpty())
        return;
    FolderWalk walk(style);
    FindFile(walk, folder, baseName, extension, found, recurse);
}
