#include "SshTestServer.h"

#include "TestFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString SshdProgram = QStringLiteral("/usr/sbin/sshd");
const QString KeygenProgram = QStringLiteral("/usr/bin/ssh-keygen");
// Made by scripts/bootstrap, with Password() as its password.
const char* const TestUserName = "tarnwelltest";

// A port nobody listens on right now; sshd takes it a moment later.
quint16 FreePort()
{
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0)
        return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    quint16 port = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    close(s);
    return port;
}

bool RunKeygen(const QStringList& arguments, QString* output = nullptr)
{
    QProcess keygen;
    keygen.start(KeygenProgram, arguments);
    if (!keygen.waitForFinished(30000) || keygen.exitStatus() != QProcess::NormalExit ||
        keygen.exitCode() != 0)
        return false;
    if (output)
        *output = QString::fromLocal8Bit(keygen.readAllStandardOutput());
    return true;
}

bool MakeKey(const QString& path, const QString& passphrase)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral(".pub"));
    return RunKeygen({"-q", "-t", "ed25519", "-N", passphrase, "-C", "tarnwell-test", "-f", path});
}

// OpenSSH locks a session into a folder only when every folder of its path
// belongs to root and no one else may write it.
QString ChrootRefusal(const QString& folder)
{
    QDir dir(folder);
    while (true) {
        struct stat info {};
        if (stat(QFile::encodeName(dir.absolutePath()).constData(), &info) != 0)
            return dir.absolutePath() + QStringLiteral(" cannot be read");
        if (info.st_uid != 0 || (info.st_mode & (S_IWGRP | S_IWOTH)) != 0)
            return dir.absolutePath() + QStringLiteral(" belongs to another user or others may write it "
                                                       "(run the tests through ctest)");
        if (dir.isRoot())
            return {};
        dir.cdUp();
    }
}

// Where the server's folder goes. Run as root, the session is locked into
// it, which OpenSSH allows only under folders that root alone may write; a
// temporary folder under /tmp never qualifies, so such a folder goes under
// /run instead (the tests' own TMPDIR where that is safe).
QString FolderTemplate()
{
    const QString name = QStringLiteral("/tarnwell-sshd-XXXXXX");
    if (geteuid() == 0 && !ChrootRefusal(QDir::tempPath()).isEmpty() &&
        ChrootRefusal(QStringLiteral("/run")).isEmpty())
        return QStringLiteral("/run") + name;
    return QDir::tempPath() + name;
}

} // namespace

SshTestServer::SshTestServer() : dir_(FolderTemplate())
{
    if (!QFileInfo(SshdProgram).isExecutable()) {
        error_ = SshdProgram + QStringLiteral(" is missing: run scripts/bootstrap");
        return;
    }
    if (!dir_.isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return;
    }
    asRoot_ = geteuid() == 0;
    if (asRoot_) {
        testUser_ = getpwnam(TestUserName) != nullptr;
        user_ = testUser_ ? QString::fromLatin1(TestUserName) : QStringLiteral("root");
    } else if (const passwd* self = getpwuid(geteuid())) {
        user_ = QString::fromLocal8Bit(self->pw_name);
    }

    QDir dir(dir_.path());
    if (!dir.mkpath(QStringLiteral("jail/site")) || !MakeKey(dir.filePath("client"), QString()) ||
        !MakeKey(dir.filePath("client_pp"), KeyPassphrase()) || !MakeHostKey()) {
        error_ = QStringLiteral("could not make the server's folders and keys with ") + KeygenProgram;
        return;
    }
    QFile::setPermissions(Jail(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                      QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    QFile keys(dir.filePath("authorized_keys"));
    if (!keys.open(QIODevice::WriteOnly) || keys.write(ReadFileBytes(dir.filePath("client.pub")) +
                                                       ReadFileBytes(dir.filePath("client_pp.pub"))) < 0) {
        error_ = QStringLiteral("could not write the authorized keys");
        return;
    }
    keys.close();
    if (asRoot_) {
        const QString refusal = ChrootRefusal(Jail());
        if (!refusal.isEmpty()) {
            error_ =
                QStringLiteral("cannot lock the SFTP user into ") + Jail() + QStringLiteral(": ") + refusal;
            return;
        }
        // Where the session may write; made the user's own.
        if (const passwd* user = getpwnam(user_.toLocal8Bit().constData()))
            if (chown(QFile::encodeName(LocalPath(SitePath())).constData(), user->pw_uid, user->pw_gid) !=
                0) {
                error_ = QStringLiteral("could not hand the site folder to ") + user_;
                return;
            }
        // sshd run by root wants its privilege separation folder.
        QDir().mkpath(QStringLiteral("/run/sshd"));
    }
    for (int attempt = 0; attempt < 5 && port_ == 0; ++attempt)
        Start(FreePort());
}

SshTestServer::~SshTestServer()
{
    Stop();
}

QString SshTestServer::Jail() const
{
    return dir_.filePath(QStringLiteral("jail"));
}

bool SshTestServer::MakeHostKey()
{
    return MakeKey(dir_.filePath(QStringLiteral("host_key")), QString());
}

bool SshTestServer::Start(quint16 port)
{
    if (port == 0) {
        error_ = QStringLiteral("no free port");
        return false;
    }
    QStringList config{
        QStringLiteral("ListenAddress 127.0.0.1:%1").arg(port),
        QStringLiteral("HostKey ") + dir_.filePath(QStringLiteral("host_key")),
        QStringLiteral("PidFile none"),
        QStringLiteral("UsePAM no"),
        QStringLiteral("StrictModes no"),
        QStringLiteral("PubkeyAuthentication yes"),
        QStringLiteral("PasswordAuthentication yes"),
        QStringLiteral("KbdInteractiveAuthentication no"),
        QStringLiteral("PermitRootLogin prohibit-password"),
        QStringLiteral("AllowUsers ") + user_,
        QStringLiteral("ForceCommand internal-sftp"),
        QStringLiteral("Subsystem sftp internal-sftp"),
        QStringLiteral("AllowTcpForwarding no"),
        QStringLiteral("X11Forwarding no"),
        QStringLiteral("LogLevel VERBOSE"),
    };
    const QString keys = dir_.filePath(QStringLiteral("authorized_keys"));
    if (asRoot_) {
        // sshd reads a key file as the user logging in, who may not reach
        // the temporary folder; a command run as root reads it instead.
        config << QStringLiteral("AuthorizedKeysFile none")
               << QStringLiteral("AuthorizedKeysCommand /bin/cat ") + keys
               << QStringLiteral("AuthorizedKeysCommandUser root")
               << QStringLiteral("ChrootDirectory ") + Jail();
    } else {
        config << QStringLiteral("AuthorizedKeysFile ") + keys;
    }
    const QString configPath = dir_.filePath(QStringLiteral("sshd_config"));
    QFile file(configPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(config.join(QLatin1Char('\n')).toUtf8() + '\n') < 0) {
        error_ = QStringLiteral("could not write ") + configPath;
        return false;
    }
    file.close();

    const QString log = dir_.filePath(QStringLiteral("sshd.log"));
    const qint64 logStart = QFileInfo(log).size();
    // The log goes to a file, so a full pipe can never stall the server.
    process_.setStandardOutputFile(QProcess::nullDevice());
    process_.setStandardErrorFile(log, QIODevice::Append);
    process_.start(SshdProgram,
                   {QStringLiteral("-D"), QStringLiteral("-e"), QStringLiteral("-f"), configPath});
    if (!process_.waitForStarted(10000)) {
        error_ = QStringLiteral("sshd did not start: ") + process_.errorString();
        return false;
    }
    const QByteArray ready = QStringLiteral("Server listening on 127.0.0.1 port %1").arg(port).toLatin1();
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 10000 && process_.state() == QProcess::Running) {
        if (ReadFileBytes(log).mid(logStart).contains(ready)) {
            port_ = port;
            error_.clear();
            return true;
        }
        QThread::msleep(20);
    }
    error_ = QStringLiteral("sshd did not listen: ") + QString::fromUtf8(ReadFileBytes(log).mid(logStart));
    Stop();
    return false;
}

void SshTestServer::Stop()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

bool SshTestServer::Restart(bool newHostKey)
{
    const quint16 port = port_;
    Stop();
    port_ = 0;
    if (newHostKey && !MakeHostKey()) {
        error_ = QStringLiteral("could not make a new host key");
        return false;
    }
    // The port was just given up; it may take a moment to be free again.
    for (int attempt = 0; attempt < 5 && port_ == 0; ++attempt) {
        if (attempt > 0)
            QThread::msleep(200);
        Start(port);
    }
    return port_ != 0;
}

QString SshTestServer::HostText() const
{
    return QStringLiteral("127.0.0.1:") + QString::number(port_);
}

QString SshTestServer::PasswordSkipReason() const
{
    if (!asRoot_)
        return QStringLiteral("a password log-in needs the test server to run as root");
    if (!testUser_)
        return QStringLiteral("the test user \"%1\" is missing: run scripts/bootstrap as root")
            .arg(QString::fromLatin1(TestUserName));
    return {};
}

QString SshTestServer::KeyFile() const
{
    return dir_.filePath(QStringLiteral("client"));
}

QString SshTestServer::PassphraseKeyFile() const
{
    return dir_.filePath(QStringLiteral("client_pp"));
}

QString SshTestServer::HostKeyFingerprint() const
{
    QString output;
    if (!RunKeygen({"-l", "-E", "sha256", "-f", dir_.filePath(QStringLiteral("host_key.pub"))}, &output))
        return {};
    return output.section(QLatin1Char(' '), 1, 1);
}

TConnectionSettings SshTestServer::KeyAccount(const QString& name) const
{
    TConnectionSettings account = PasswordAccount(name);
    account.Authentication = TSshAuthentication::KeyFile;
    account.Password.clear();
    account.KeyFile = KeyFile();
    return account;
}

TConnectionSettings SshTestServer::PasswordAccount(const QString& name) const
{
    TConnectionSettings account;
    account.AccountName = name;
    account.Host = HostText();
    account.UserName = user_;
    account.Password = Password();
    account.Protocol = TRemoteProtocol::Sftp;
    account.RootPath = SitePath();
    account.HomePath = SitePath();
    return account;
}

QString SshTestServer::SitePath() const
{
    return asRoot_ ? QStringLiteral("/site/") : Jail() + QStringLiteral("/site/");
}

QString SshTestServer::LocalPath(const QString& serverPath) const
{
    return asRoot_ ? Jail() + serverPath : serverPath;
}

void SshTestServer::PutFile(const QString& serverPath, const QByteArray& bytes) const
{
    const QString path = LocalPath(serverPath);
    const QFileInfo info(path);
    QDir().mkpath(info.absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    file.close();
    // The user must be able to replace and remove what a test put there.
    if (asRoot_)
        if (const passwd* user = getpwnam(user_.toLocal8Bit().constData())) {
            QDir folder(info.absolutePath());
            const QString site = QDir(LocalPath(SitePath())).absolutePath();
            (void)!chown(QFile::encodeName(path).constData(), user->pw_uid, user->pw_gid);
            while (folder.absolutePath().startsWith(site) && folder.absolutePath() != site) {
                (void)!chown(QFile::encodeName(folder.absolutePath()).constData(), user->pw_uid,
                             user->pw_gid);
                folder.cdUp();
            }
        }
}

QByteArray SshTestServer::FileBytes(const QString& serverPath) const
{
    return ReadFileBytes(LocalPath(serverPath));
}

bool SshTestServer::Exists(const QString& serverPath) const
{
    return QFileInfo::exists(LocalPath(serverPath));
}

QStringList SshTestServer::SiteEntries() const
{
    const QDir site(LocalPath(SitePath()));
    QStringList entries;
    QDirIterator it(site.absolutePath(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << site.relativeFilePath(it.next());
    entries.sort();
    return entries;
}

QString SshTestServer::ReadLog() const
{
    return QString::fromUtf8(ReadFileBytes(dir_.filePath(QStringLiteral("sshd.log"))));
}

QStringList SshTestServer::LoginLines() const
{
    QStringList lines;
    for (const QString& line : ReadLog().split(QLatin1Char('\n')))
        if ((line.startsWith(QLatin1String("Accepted ")) && line.contains(QLatin1String(" for "))) ||
            line.startsWith(QLatin1String("Failed ")))
            lines << line;
    return lines;
}
