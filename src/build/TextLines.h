#pragma once

#include <QByteArray>
#include <QList>

// The text files a build edits are handled as lines of bytes, so that
// nothing is re-encoded on the way through.

// One item per line; a line ends at CR, LF or CR LF. A break at the very end
// opens no further, empty line.
QList<QByteArray> SplitTextLines(const QByteArray& contents);

// The lines with CR LF after every one, the last included.
QByteArray JoinTextLines(const QList<QByteArray>& lines);
