#include "UpdateTestServer.h"

#include "PythonServer.h"

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
    port_ = StartPythonServer(process_, arguments, dir_.filePath(QStringLiteral("server.log")), error_);
}

UpdateTestServer::~UpdateTestServer()
{
    StopPythonServer(process_);
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
