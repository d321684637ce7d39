#pragma once

#include <QByteArray>
#include <QString>

// Writes the whole file through "<path>.saving" beside it and renames that
// over the target, so a crash or a full disk never leaves half a file. On
// failure throws TarnwellError and the target is as it was. A new file is
// readable by its owner only; a replaced one keeps its permissions.
void WriteFileAtomically(const QString& path, const QByteArray& contents);

// The temporary name WriteFileAtomically writes first.
QString AtomicTempPath(const QString& path);
