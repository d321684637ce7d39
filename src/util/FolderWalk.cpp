#include "FolderWalk.h"

#include "FileMask.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

bool FolderWalk::Enter(const QString& folder)
{
    const QString real = QFileInfo(style_.ToFileSystem(folder)).canonicalFilePath();
    if (real.isEmpty() || path_.contains(real))
        return false;
    path_.append(real);
    return true;
}

void FolderWalk::Leave()
{
    path_.removeLast();
}

QStringList FolderWalk::FileNames(const QString& folder, const QString& mask) const
{
    // Special files (fifos, sockets, devices) and dangling links are left
    // out: they cannot be read like files.
    const QDir dir(style_.ToFileSystem(folder));
    QStringList names;
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden, QDir::NoSort)) {
        if (MaskMatches(mask, name, style_.CaseRule()))
            names.append(name);
    }
    SortNames(names);
    return names;
}

QStringList FolderWalk::FolderNames(const QString& folder) const
{
    const QDir dir(style_.ToFileSystem(folder));
    QStringList names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
    SortNames(names);
    return names;
}

void FolderWalk::SortNames(QStringList& names) const
{
    // Name order under the style's case rule, exact order among names that
    // differ only in case: the same result on every machine.
    const Qt::CaseSensitivity caseRule = style_.CaseRule();
    std::sort(names.begin(), names.end(), [caseRule](const QString& a, const QString& b) {
        const int order = a.compare(b, caseRule);
        return order != 0 ? order < 0 : a < b;
    });
}
