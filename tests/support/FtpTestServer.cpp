#include "FtpTestServer.h"

#include "PythonServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The script sits beside this file in the source tree.
QString ScriptPath()
{
    return QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/ftp_server.py");
}

void AddEach(QStringList& arguments, const QString& option, const QStringList& values)
{
    for (const QString& value : values)
        arguments << option << value;
}

} // namespace

FtpTestServer::FtpTestServer() : FtpTestServer(Options()) {}

FtpTestServer::FtpTestServer(const Options& options)
{
    if (!dir_.isValid() || !QDir(dir_.path()).mkpath(QStringLiteral("root"))) {
        error_ = QStringLiteral("no temporary folder");
        return;
    }
    QStringList arguments{ScriptPath(),
                          QStringLiteral("--root"),
                          Root(),
                          QStringLiteral("--user"),
                          User(),
                          QStringLiteral("--password"),
                          Password(),
                          QStringLiteral("--command-log"),
                          dir_.filePath(QStringLiteral("commands.log"))};
    if (!options.Mlsd)
        arguments << QStringLiteral("--no-mlsd");
    AddEach(arguments, QStringLiteral("--refuse"), options.Refuse);
    AddEach(arguments, QStringLiteral("--refuse-once"), options.RefuseOnce);
    AddEach(arguments, QStringLiteral("--mute"), options.Mute);
    AddEach(arguments, QStringLiteral("--delay-once"), options.DelayOnce);
    AddEach(arguments, QStringLiteral("--drop-on"), options.DropOn);
    AddEach(arguments, QStringLiteral("--fake-entry"), options.FakeEntries);
    AddEach(arguments, QStringLiteral("--fault"), options.Faults);
    if (options.NoReplace)
        arguments << QStringLiteral("--no-replace");
    if (options.NoSizeFact)
        arguments << QStringLiteral("--no-size-fact");
    if (options.DropAfter > 0)
        arguments << QStringLiteral("--drop-after") << QString::number(options.DropAfter);
    if (options.IdleTimeout > 0)
        arguments << QStringLiteral("--idle-timeout") << QString::number(options.IdleTimeout);
    if (options.IdleSilent)
        arguments << QStringLiteral("--idle-silent");
    if (!options.TlsCertificate.isEmpty())
        arguments << QStringLiteral("--tls-cert") << options.TlsCertificate << QStringLiteral("--tls-key")
                  << options.TlsKey;
    if (options.Port != 0)
        arguments << QStringLiteral("--port") << QString::number(options.Port);
    if (options.MaxConnections > 0)
        arguments << QStringLiteral("--max-connections") << QString::number(options.MaxConnections);
    if (options.DelayMs > 0)
        arguments << QStringLiteral("--delay-ms") << QString::number(options.DelayMs);
    if (!options.SharedLog.isEmpty())
        arguments << QStringLiteral("--shared-log") << options.SharedLog;

    port_ = StartPythonServer(process_, arguments, dir_.filePath(QStringLiteral("server.log")), error_);
}

FtpTestServer::~FtpTestServer()
{
    StopPythonServer(process_);
}

QString FtpTestServer::HostText() const
{
    return QStringLiteral("127.0.0.1:") + QString::number(port_);
}

TConnectionSettings FtpTestServer::Account(const QString& name) const
{
    TConnectionSettings account;
    account.AccountName = name;
    account.Host = HostText();
    account.UserName = User();
    account.Password = Password();
    account.HomePath = QStringLiteral("/public_html/");
    account.RootPath = QStringLiteral("/");
    account.InstallerDir = QStringLiteral("/public_html/downloads/");
    account.PhpDir = QStringLiteral("/public_html/");
    account.LinkPageDir = QStringLiteral("/public_html/");
    return account;
}

QString FtpTestServer::Root() const
{
    return dir_.filePath(QStringLiteral("root"));
}

QString FtpTestServer::LocalPath(const QString& serverPath) const
{
    return Root() + QLatin1Char('/') + serverPath.mid(serverPath.startsWith(QLatin1Char('/')) ? 1 : 0);
}

void FtpTestServer::PutFile(const QString& serverPath, const QByteArray& bytes) const
{
    const QString path = LocalPath(serverPath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QByteArray FtpTestServer::FileBytes(const QString& serverPath) const
{
    QFile file(LocalPath(serverPath));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool FtpTestServer::Exists(const QString& serverPath) const
{
    return QFileInfo::exists(LocalPath(serverPath));
}

QStringList FtpTestServer::Commands() const
{
    QFile log(dir_.filePath(QStringLiteral("commands.log")));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
