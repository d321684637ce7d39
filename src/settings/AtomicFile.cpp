#include "AtomicFile.h"

#include "util/TarnwellError.h"

#include <QFile>

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

} // namespace

QString AtomicTempPath(const QString& path)
{
    return path + QStringLiteral(".saving");
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

void WriteTemporaryFile(const QString& path, const QString& tempPath, const QByteArray& contents,
                        QFileDevice::Permissions permissions)
{
    // A temporary left by a crash would keep its old permissions.
    if (QFile::exists(tempPath))
        QFile::remove(tempPath);
    QFile temp(tempPath);
    if (!temp.open(QIODevice::WriteOnly | QIODevice::NewOnly, permissions))
        Fail(path, temp.errorString());
    // A strict umask may have taken some of the wanted rights away.
    temp.setPermissions(permissions);
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

void WriteFileAtomically(const QString& path, const QByteArray& contents)
{
    // The replacement keeps the old file's permissions; a new file is the
    // owner's alone (the settings hold passwords).
    WriteFileAtomically(path, contents,
                        QFile::exists(path) ? QFile::permissions(path)
                                            : QFile::ReadOwner | QFile::WriteOwner);
}

void WriteFileAtomically(const QString& path, const QByteArray& contents,
                         QFileDevice::Permissions permissions)
{
    const QString tempPath = AtomicTempPath(path);
    WriteTemporaryFile(path, tempPath, contents, permissions);
    if (!ReplaceFile(tempPath, path)) {
        QFile::remove(tempPath);
        Fail(path, QStringLiteral("the new file could not replace the old one"));
    }
}
