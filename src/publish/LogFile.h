#pragma once

#include <QString>
#include <QStringList>

// Where a saved log goes: the chosen name with its extension replaced by
// ".txt", or ".txt" appended when it has none.
QString LogFileName(const QString& chosen);

// Writes the log's lines, each ended by CR LF in the local 8-bit encoding,
// to LogFileName(chosen), replacing a file of that name. Returns an error
// text, empty when the log was saved; a failed save leaves any earlier file
// as it was.
QString SaveLogFile(const QString& chosen, const QStringList& lines);
