#include "PythonServer.h"

#include <QFile>

quint16 StartPythonServer(QProcess& process, const QStringList& arguments, const QString& logPath,
                          QString& error)
{
    // The server's messages go to a file, so a full pipe can never stall it.
    process.setStandardErrorFile(logPath);
    process.start(QStringLiteral("/usr/bin/python3"), arguments);
    if (!process.waitForStarted(10000)) {
        error = QStringLiteral("python3 did not start: ") + process.errorString();
        return 0;
    }
    while (!process.canReadLine() && process.state() == QProcess::Running)
        if (!process.waitForReadyRead(10000))
            break;
    bool ok = false;
    const int port = QString::fromLatin1(process.readLine()).trimmed().toInt(&ok);
    if (!ok || port <= 0 || port > 65535) {
        QFile log(logPath);
        log.open(QIODevice::ReadOnly);
        error = QStringLiteral("the server printed no port: ") + QString::fromUtf8(log.readAll());
        return 0;
    }
    return static_cast<quint16>(port);
}

void StopPythonServer(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}
