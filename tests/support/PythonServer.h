#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Starts a stand-in server script with Debian's python3 (the script and its
// arguments), its own messages going to logPath. Returns the port it printed
// on its first line, or 0 with `error` saying why.
quint16 StartPythonServer(QProcess& process, const QStringList& arguments, const QString& logPath,
                          QString& error);

// Ends the server: asked first, then killed.
void StopPythonServer(QProcess& process);
