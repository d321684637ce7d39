#include "RemotePaths.h"

#include <QDir>

namespace {

// Each run of separators becomes one, except a leading pair when keepLead
// (a Windows network path "\\server\share" must stay one).
QString CollapseSeparators(const QString& path, QChar separator, bool keepLead)
{
    QString result;
    result.reserve(path.size());
    for (const QChar ch : path) {
        if (ch == separator && result.endsWith(separator) && !(keepLead && result.size() == 1))
            continue;
        result += ch;
    }
    return result;
}

bool StartsWithPair(const QString& path, QChar separator)
{
    return path.size() >= 2 && path[0] == separator && path[1] == separator;
}

// "/" separators and no "." or ".." steps, for comparing folders.
QString Cleaned(const QString& path, const PathStyle& style)
{
    return QDir::cleanPath(style.ToFileSystem(path));
}

} // namespace

QString TempUploadRoot(const TConnectionSettings& account)
{
    if (account.Protocol != TRemoteProtocol::Sftp)
        return TempUploadFolder;
    QString root = account.RootPath.trimmed();
    while (root.endsWith(QLatin1Char('/')))
        root.chop(1);
    if (!root.startsWith(QLatin1Char('/')))
        root.prepend(QLatin1Char('/'));
    return CollapseSeparators(root + TempUploadFolder, QLatin1Char('/'), false);
}

UploadPaths UploadPathsOf(const QString& localFile, const QString& localHome, const QString& localRoot,
                          const QString& serverHome, const QString& serverRoot, const PathStyle& style,
                          const QString& tempRoot)
{
    const QChar sep = style.Separator();
    QString path = localFile;
    // Only at the start: with POSIX paths a server path could otherwise
    // match Local Root again after Local Home was replaced. A folder typed
    // with its trailing separator is the same folder.
    const QString home = localHome.isEmpty() ? QString() : style.WithTrailingSeparator(localHome);
    const QString root = localRoot.isEmpty() ? QString() : style.WithTrailingSeparator(localRoot);
    if (!home.isEmpty() && path.startsWith(home, Qt::CaseSensitive))
        path = serverHome + QLatin1Char('/') + path.mid(home.size());
    else if (!root.isEmpty() && path.startsWith(root, Qt::CaseSensitive))
        path = serverRoot + QLatin1Char('/') + path.mid(root.size());
    path.replace(sep, QLatin1Char('/'));
    path = CollapseSeparators(tempRoot + QLatin1Char('/') + path, QLatin1Char('/'), false);

    UploadPaths paths;
    paths.TempPath = path;
    paths.TempFolder = path.left(path.lastIndexOf(QLatin1Char('/')));
    if (paths.TempFolder.isEmpty())
        paths.TempFolder = QStringLiteral("/");
    paths.TargetPath = path.mid(tempRoot.size());
    return paths;
}

QString ImportLocalPath(const QString& remotePath, bool isFolder, const QString& serverHome,
                        const QString& localHome, const QString& localRoot, const PathStyle& style)
{
    const QChar sep = style.Separator();
    QString path = remotePath;
    if (!serverHome.isEmpty() && path.startsWith(serverHome))
        path = style.WithTrailingSeparator(localHome) + path.mid(serverHome.size());
    path.replace(QLatin1Char('/'), sep);
    const bool underHome =
        !localHome.isEmpty() && (isFolder ? path.startsWith(localHome) : path.contains(localHome));
    if (!underHome)
        path = localRoot + sep + path;
    const bool network = StartsWithPair(localRoot, sep) || StartsWithPair(localHome, sep);
    path = CollapseSeparators(path, sep, style.IsWindows() && network);

    const bool inside = (!localRoot.isEmpty() && IsInsideFolder(path, localRoot, style)) ||
                        (!localHome.isEmpty() && IsInsideFolder(path, localHome, style));
    return inside ? path : QString();
}

bool IsPlainEntryName(const QString& name, const PathStyle& style)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar ch : name) {
        if (ch == QLatin1Char('/') || ch == QLatin1Char('\\') || ch.unicode() < 0x20 || ch.unicode() == 0x7f)
            return false;
        if (style.IsWindows() && ch == QLatin1Char(':'))
            return false;
    }
    return true;
}

bool IsInsideFolder(const QString& path, const QString& folder, const PathStyle& style)
{
    const QString p = Cleaned(path, style);
    const QString f = Cleaned(folder, style);
    if (f.isEmpty() || f == QLatin1String("."))
        return false;
    if (p.compare(f, style.CaseRule()) == 0)
        return true;
    const QString prefix = f.endsWith(QLatin1Char('/')) ? f : f + QLatin1Char('/');
    return p.startsWith(prefix, style.CaseRule());
}

bool IsAbsoluteLocalPath(const QString& path, const PathStyle& style)
{
    if (!style.IsWindows())
        return path.startsWith(QLatin1Char('/'));
    if (StartsWithPair(path, QLatin1Char('\\')))
        return path.size() > 2;
    return path.size() >= 3 && path[0].isLetter() && path[1] == QLatin1Char(':') &&
           path[2] == QLatin1Char('\\');
}
