#include "UpdateTestServer.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

UpdateTestServer::UpdateTestServer(const Options& options)
{
    if (!dir_.isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return;
    }
    QFile body(dir_.filePath(QStringLiteral("body")));
    if (!body.open(QIODevice::WriteOnly) || body.write(options.Body) != options.Body.size()) {
        error_ = QStringLiteral("the reply body could not be written");
        return;
    }
    body.close();
    QStringList arguments{QFileInfo(QStringLiteral(__FILE__)).absolutePath() +
                              QStringLiteral("/update_server.py"),
                          QStringLiteral("--status"),
                          QString::number(options.Status),
                          QStringLiteral("--body-file"),
                          body.fileName(),
                          QStringLiteral("--request-log"),
                          dir_.filePath(QStringLiteral("requests.log"))};
    if (options.Mute)
        arguments << QStringLiteral("--mute");
    process_.setStandardErrorFile(dir_.filePath(QStringLiteral("server.log")));
    process_.start(QStringLiteral("/usr/bin/python3"), arguments);
    if (!process_.waitForStarted(10000)) {
        error_ = QStringLiteral("python3 did not start: ") + process_.errorString();
        return;
    }
    while (!process_.canReadLine() && process_.state() == QProcess::Running)
        if (!process_.waitForReadyRead(10000))
            break;
    bool ok = false;
    const int port = QString::fromLatin1(process_.readLine()).trimmed().toInt(&ok);
    if (!ok || port <= 0 || port > 65535) {
        QFile log(dir_.filePath(QStringLiteral("server.log")));
        log.open(QIODevice::ReadOnly);
        error_ = QStringLiteral("the server printed no port: ") + QString::fromUtf8(log.readAll());
        return;
    }
    port_ = static_cast<quint16>(port);
}

UpdateTestServer::~UpdateTestServer()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QString UpdateTestServer::Address() const
{
    return QStringLiteral("http://127.0.0.1:%1/latest").arg(port_);
}

QList<QJsonObject> UpdateTestServer::Requests() const
{
    QList<QJsonObject> requests;
    QFile log(dir_.filePath(QStringLiteral("requests.log")));
    if (!log.open(QIODevice::ReadOnly))
        return requests;
    for (const QByteArray& line : log.readAll().split('\n'))
        if (!line.isEmpty())
            requests << QJsonDocument::fromJson(line).object();
    return requests;
}
