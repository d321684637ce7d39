#include "WebTestServer.h"

#include "PythonServer.h"

#include <QFile>

WebTestServer::WebTestServer(int delayMs)
{
    if (!dir_.isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return;
    }
    const QStringList arguments{QStringLiteral(TARNWELL_WEB_SERVER_SCRIPT), QStringLiteral("--delay-ms"),
                                QString::number(delayMs), QStringLiteral("--request-log"),
                                dir_.filePath(QStringLiteral("requests.log"))};
    port_ = StartPythonServer(process_, arguments, dir_.filePath(QStringLiteral("server.log")), error_);
}

WebTestServer::~WebTestServer()
{
    StopPythonServer(process_);
}

QString WebTestServer::Address(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(port_) + path;
}

QStringList WebTestServer::Requests() const
{
    QFile log(dir_.filePath(QStringLiteral("requests.log")));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
