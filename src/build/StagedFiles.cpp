#include "StagedFiles.h"

#include "settings/AtomicFile.h"
#include "util/TarnwellError.h"

#include <QFile>
#include <QFileInfo>

namespace {

[[noreturn]] void Fail(const QString& path, const QString& reason)
{
    throw TarnwellError(QStringLiteral("Couldn't write %1: %2").arg(path, reason));
}

// The file the path stands for: a link is followed so that the rename
// replaces the file it points at, not the link.
QString TargetOf(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

void WriteTemporary(const QString& path, const QString& target, const QString& tempPath,
                    const QByteArray& contents)
{
    const QFileInfo info(target);
    // A rename would replace a file the user protected from writing; refuse
    // it as the file system would refuse a write.
    if (info.exists() && !info.permission(QFile::WriteOwner))
        Fail(path, QStringLiteral("the file is read-only"));
    if (info.exists() && !info.isWritable())
        Fail(path, QStringLiteral("no permission to write it"));
    WriteTemporaryFile(path, tempPath, contents,
                       info.exists()
                           ? info.permissions()
                           : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}

} // namespace

StagedFiles::~StagedFiles()
{
    for (const Entry& entry : entries_) {
        if (!entry.committed)
            QFile::remove(entry.temp);
    }
}

int StagedFiles::Stage(const QString& path, const QByteArray& contents)
{
    const QString target = TargetOf(path);
    int index = -1;
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].target == target && !entries_[i].committed)
            index = int(i);
    }
    const QString tempPath = AtomicTempPath(target);
    WriteTemporary(path, target, tempPath, contents);
    if (index >= 0)
        return index;
    entries_.push_back({path, target, tempPath});
    return int(entries_.size()) - 1;
}

void StagedFiles::Commit(int entry)
{
    Entry& staged = entries_.at(size_t(entry));
    if (staged.committed)
        return;
    if (!ReplaceFile(staged.temp, staged.target))
        Fail(staged.path, QStringLiteral("the new file could not replace the old one"));
    staged.committed = true;
}
