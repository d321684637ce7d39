#include "site/FileLookup.h"

#include <QDir>
#include <QFileInfo>

bool TFileLookup::NamesFile(const QString& path)
{
    return KindOf(path) == Kind::File;
}

bool TFileLookup::NamesFolder(const QString& path)
{
    return KindOf(path) == Kind::Folder;
}

TFileLookup::Kind TFileLookup::KindOf(const QString& path)
{
    if (path.isEmpty())
        return Kind::None;
    const QString key = style_.LookupKey(path);
    const auto known = kinds_.constFind(key);
    if (known != kinds_.constEnd())
        return *known;
    const QString fsPath = style_.ToFileSystem(path);
    const QFileInfo info(fsPath);
    Kind kind = info.isFile() ? Kind::File : info.isDir() ? Kind::Folder : Kind::None;
    if (kind == Kind::None && style_.CaseRule() == Qt::CaseInsensitive)
        kind = CaseBlindKind(fsPath);
    // Paths that name nothing are not remembered: a site can hold a million
    // different dead links, and each is looked up once anyway.
    if (kind != Kind::None)
        kinds_.insert(key, kind);
    return kind;
}

// Walks the path one name at a time, matching each name in its folder
// without regard to case, as a case-blind file system would.
TFileLookup::Kind TFileLookup::CaseBlindKind(const QString& fsPath)
{
    const QStringList names = fsPath.split(QLatin1Char('/'));
    QString walked = names.first(); // "" for an absolute path, else a relative start
    if (walked.isEmpty() && fsPath.startsWith(QLatin1Char('/')))
        walked = QStringLiteral("/");
    for (qsizetype i = 1; i < names.size(); ++i) {
        const QString& name = names[i];
        if (name.isEmpty())
            continue;
        QString stored = name;
        if (name != QLatin1String(".") && name != QLatin1String("..")) {
            const QString folder = walked.isEmpty() ? QStringLiteral(".") : walked;
            stored = Entries(folder).value(name.toCaseFolded());
            if (stored.isEmpty())
                return Kind::None;
        }
        walked = walked.isEmpty() || walked.endsWith(QLatin1Char('/')) ? walked + stored
                                                                       : walked + QLatin1Char('/') + stored;
    }
    const QFileInfo info(walked);
    return info.isFile() ? Kind::File : info.isDir() ? Kind::Folder : Kind::None;
}

const QHash<QString, QString>& TFileLookup::Entries(const QString& folder)
{
    auto found = folders_.find(folder);
    if (found != folders_.end())
        return *found;
    QHash<QString, QString> entries;
    const QStringList names =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : names)
        entries.insert(name.toCaseFolded(), name);
    return *folders_.insert(folder, entries);
}
