#include "StagedFiles.h"

#include "settings/AtomicFile.h"
#include "util/TarnwellError.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cstdio>
#include <unistd.h>
#endif

namespace {

[[noreturn]] void Fail(const QString& path, const QString& reason)
{
    throw TarnwellError(QStringLiteral("Couldn't write %1: %2").arg(path, reason));
}

bool ReplaceFile(const QString& from, const QString& to)
{
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<const wchar_t*>(from.utf16()),
                       reinterpret_cast<const wchar_t*>(to.utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
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
    QFile temp(tempPath);
    if (!temp.open(QIODevice::WriteOnly | QIODevice::Truncate))
        Fail(path, temp.errorString());
    if (info.exists())
        temp.setPermissions(info.permissions());
    const bool written = temp.write(contents) == contents.size() && temp.flush();
#ifndef Q_OS_WIN
    // The data must be on disk before the rename makes it the file.
    const bool synced = written && ::fsync(temp.handle()) == 0;
#else
    const bool synced = written;
#endif
    const QString reason = temp.errorString();
    temp.close();
    if (!synced || temp.error() != QFileDevice::NoError) {
        QFile::remove(tempPath);
        Fail(path, reason);
    }
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
