#include "TimeStampServer.h"

#include "PythonServer.h"
#include "TestFolder.h"

#include <QFileInfo>

TimeStampServer::TimeStampServer(const QString& certificate, const QString& key)
{
    if (!dir_.isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return;
    }
    port_ = StartPythonServer(
        process_,
        {QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/tsa_server.py"), certificate,
         key, dir_.path()},
        dir_.filePath(QStringLiteral("server.log")), error_);
}

TimeStampServer::~TimeStampServer()
{
    Stop();
}

QString TimeStampServer::Url() const
{
    return QStringLiteral("http://127.0.0.1:%1/").arg(port_);
}

void TimeStampServer::Stop()
{
    StopPythonServer(process_);
}

int TimeStampServer::Answered() const
{
    return int(ReadFileBytes(dir_.filePath(QStringLiteral("server.log"))).count("\" 200 "));
}
