#include "FtpTestServer.h"

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
    AddEach(arguments, QStringLiteral("--drop-on"), options.DropOn);
    AddEach(arguments, QStringLiteral("--fake-entry"), options.FakeEntries);
    if (options.DropAfter > 0)
        arguments << QStringLiteral("--drop-after") << QString::number(options.DropAfter);
    if (options.IdleTimeout > 0)
        arguments << QStringLiteral("--idle-timeout") << QString::number(options.IdleTimeout);
    if (options.IdleSilent)
        arguments << QStringLiteral("--idle-silent");
    if (!options.TlsCertificate.isEmpty())
        arguments << QStringLiteral("--tls-cert") << options.TlsCertificate << QStringLiteral("--tls-key")
                  << options.TlsKey;

    // The server's own messages go to a file, so a full pipe can never stall it.
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

FtpTestServer::~FtpTestServer()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
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
