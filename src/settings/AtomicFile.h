#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

// Writes the whole file through "<path>.saving" beside it and renames that
// over the target, so a crash or a full disk never leaves half a file. On
// failure throws TarnwellError and the target is as it was. A new file is
// readable by its owner only; a replaced one keeps its permissions.
void WriteFileAtomically(const QString& path, const QByteArray& contents);
// The same, with the file's permissions given, new or replaced: a copy
// takes its source's.
void WriteFileAtomically(const QString& path, const QByteArray& contents,
                         QFileDevice::Permissions permissions);

// The temporary name WriteFileAtomically writes first.
QString AtomicTempPath(const QString& path);

// The first half of an atomic write, for callers that write several files
// before replacing any: `contents` into `tempPath`, created afresh with
// `permissions` (so nobody else can open it even for a moment) and on disk
// before it returns. Throws TarnwellError naming `path` on failure; the
// temporary is gone then.
void WriteTemporaryFile(const QString& path, const QString& tempPath, const QByteArray& contents,
                        QFileDevice::Permissions permissions);

// The second half: renames `from` over `to` in one step. False when it
// could not; `to` is as it was then.
bool ReplaceFile(const QString& from, const QString& to);
