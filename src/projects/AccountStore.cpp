#include "AccountStore.h"

#include "projects/ProjectNames.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "util/ExtraCode.h"
#include "util/MyFileOpsU.h"

#include <algorithm>

using namespace Schema;

TAccountFields LoadAccount(const TAppData& appData, const QString& accountName)
{
    TAccountFields f;
    const QString none;
    f.Name = appData.ReadString(AccountSection(accountName), KeyFtpAccount, accountName);
    const QString s = AccountSection(f.Name);
    f.InstallerPath = appData.ReadString(s, KeyULInstall, none);
    f.PhpPath = appData.ReadString(s, KeyULPhp, none);
    f.LinkUploadPath = appData.ReadString(s, KeyULLinkUpLoad, none);
    f.Pass = appData.ReadString(s, KeyFtpPass, none);
    f.User = appData.ReadString(s, KeyFtpUser, none);
    f.Host = appData.ReadString(s, KeyFtpHost, none);
    f.ServerHome = appData.ReadString(s, KeyServerHome, none);
    f.ServerRoot = appData.ReadString(s, KeyServerRoot, none);
    f.Security = FtpSecurityFromText(appData.ReadString(s, KeyFtpSecurity, none));
    f.TrustedCertificate = appData.ReadString(s, KeyFtpCertificate, none);
    f.Connections = ConnectionsFromText(appData.ReadString(s, KeyConnections, none));
    f.Protocol = RemoteProtocolFromText(appData.ReadString(s, KeyProtocol, none));
    f.Authentication = SshAuthenticationFromText(appData.ReadString(s, KeySshAuth, none));
    f.KeyFile = appData.ReadString(s, KeySshKeyFile, none);
    f.KeyPass = appData.ReadString(s, KeySshKeyPass, none);
    f.TrustedHostKey = appData.ReadString(s, KeySshHostKey, none);
    return f;
}

void SaveAccount(TAppData& appData, const TAccountFields& f)
{
    if (f.Name.isEmpty())
        return;
    const QString s = AccountSection(f.Name);
    // The trust was given to the certificate of one server, and the files
    // moved aside lie on that server.
    if (appData.ReadString(s, KeyFtpHost, QString()) != f.Host) {
        appData.DeleteKey(s, KeyFtpCertificate);
        appData.DeleteKey(s, KeySshHostKey);
        appData.DeleteKey(s, KeyAsideFiles);
    }
    appData.WriteString(s, KeyULInstall, IncludeTrailingSlash(f.InstallerPath));
    appData.WriteString(s, KeyULPhp, IncludeTrailingSlash(f.PhpPath));
    appData.WriteString(s, KeyULLinkUpLoad, IncludeTrailingSlash(f.LinkUploadPath));
    appData.WriteString(s, KeyFtpPass, f.Pass);
    appData.WriteString(s, KeyFtpUser, f.User);
    appData.WriteString(s, KeyFtpHost, f.Host);
    appData.WriteString(s, KeyFtpAccount, f.Name);
    appData.WriteString(s, KeyServerHome, IncludeTrailingSlash(f.ServerHome));
    appData.WriteString(s, KeyServerRoot, IncludeTrailingSlash(f.ServerRoot));
    appData.WriteString(s, KeyFtpSecurity, FtpSecurityText(f.Security));
    appData.WriteString(s, KeyConnections,
                        QString::number(std::clamp(f.Connections, MinConnections, MaxConnections)));
    appData.WriteString(s, KeyProtocol, RemoteProtocolText(f.Protocol));
    appData.WriteString(s, KeySshAuth, SshAuthenticationText(f.Authentication));
    appData.WriteString(s, KeySshKeyFile, f.KeyFile);
    appData.WriteString(s, KeySshKeyPass, f.KeyPass);
}

void TrustCertificate(TAppData& appData, const QString& accountName, const QString& fingerprint)
{
    appData.WriteString(AccountSection(accountName), KeyFtpCertificate, fingerprint);
}

void ForgetCertificate(TAppData& appData, const QString& accountName)
{
    appData.DeleteKey(AccountSection(accountName), KeyFtpCertificate);
}

void TrustHostKey(TAppData& appData, const QString& accountName, const QString& fingerprint)
{
    appData.WriteString(AccountSection(accountName), KeySshHostKey, fingerprint);
}

void ForgetHostKey(TAppData& appData, const QString& accountName)
{
    appData.DeleteKey(AccountSection(accountName), KeySshHostKey);
}

const QStringList& RemoteProtocolChoices()
{
    static const QStringList choices{ProtocolFtp, ProtocolSftp};
    return choices;
}

QString RemoteProtocolText(TRemoteProtocol protocol)
{
    return protocol == TRemoteProtocol::Sftp ? ProtocolSftp : ProtocolFtp;
}

TRemoteProtocol RemoteProtocolFromText(const QString& text)
{
    if (text.isEmpty() || text == ProtocolFtp)
        return TRemoteProtocol::Ftp;
    return TRemoteProtocol::Sftp;
}

const QStringList& SshAuthenticationChoices()
{
    static const QStringList choices{QStringLiteral("Password"), QStringLiteral("Private key file")};
    return choices;
}

QString SshAuthenticationText(TSshAuthentication authentication)
{
    return authentication == TSshAuthentication::KeyFile ? SshAuthKeyFile : SshAuthPassword;
}

TSshAuthentication SshAuthenticationFromText(const QString& text)
{
    return text == SshAuthKeyFile ? TSshAuthentication::KeyFile : TSshAuthentication::Password;
}

const QStringList& FtpSecurityChoices()
{
    static const QStringList choices{QStringLiteral("Plain FTP"),
                                     QStringLiteral("TLS when the server offers it"),
                                     QStringLiteral("TLS required")};
    return choices;
}

QString FtpSecurityText(TFtpSecurity security)
{
    switch (security) {
    case TFtpSecurity::TlsIfOffered:
        return FtpSecurityTlsIfOffered;
    case TFtpSecurity::TlsRequired:
        return FtpSecurityTlsRequired;
    case TFtpSecurity::Plain:
        break;
    }
    return FtpSecurityPlain;
}

TFtpSecurity FtpSecurityFromText(const QString& text)
{
    if (text.isEmpty() || text == FtpSecurityPlain)
        return TFtpSecurity::Plain;
    if (text == FtpSecurityTlsIfOffered)
        return TFtpSecurity::TlsIfOffered;
    return TFtpSecurity::TlsRequired;
}

int ConnectionsFromText(const QString& text)
{
    bool number = false;
    const int count = text.trimmed().toInt(&number);
    return number ? std::clamp(count, MinConnections, MaxConnections) : DefaultConnections;
}

void ReadAccountSettings(const TAppData& appData, const QString& accountName, TConnectionSettings& settings)
{
    const QString s = AccountSection(accountName);
    const QString none;
    settings.InstallerDir = appData.ReadString(s, KeyULInstall, none);
    settings.PhpDir = appData.ReadString(s, KeyULPhp, none);
    settings.LinkPageDir = appData.ReadString(s, KeyULLinkUpLoad, none);
    settings.UserName = appData.ReadString(s, KeyFtpUser, none);
    settings.Password = appData.ReadString(s, KeyFtpPass, none);
    settings.Host = appData.ReadString(s, KeyFtpHost, none);
    settings.HomePath = appData.ReadString(s, KeyServerHome, none);
    settings.RootPath = appData.ReadString(s, KeyServerRoot, none);
    settings.HttpHost = appData.ReadString(s, KeyHTTPHost, none);
    settings.Security = FtpSecurityFromText(appData.ReadString(s, KeyFtpSecurity, none));
    settings.TrustedCertificate = appData.ReadString(s, KeyFtpCertificate, none);
    settings.Connections = ConnectionsFromText(appData.ReadString(s, KeyConnections, none));
    settings.Protocol = RemoteProtocolFromText(appData.ReadString(s, KeyProtocol, none));
    settings.Authentication = SshAuthenticationFromText(appData.ReadString(s, KeySshAuth, none));
    settings.KeyFile = appData.ReadString(s, KeySshKeyFile, none);
    settings.KeyPassphrase = appData.ReadString(s, KeySshKeyPass, none);
    settings.TrustedHostKey = appData.ReadString(s, KeySshHostKey, none);
    settings.AccountName = accountName;
}

TConnectionSettings ReadAccountSettings(const TAppData& appData, const QString& accountName)
{
    TConnectionSettings settings;
    ReadAccountSettings(appData, accountName, settings);
    return settings;
}

QString CopyAccountRefusal(const QString& shownAccount)
{
    if (shownAccount.isEmpty())
        return QStringLiteral("There's no current account loaded to copy!");
    return {};
}

QString NewAccountNameRefusal(const QString& newName, const QStringList& existingAccounts)
{
    if (newName.isEmpty())
        return QStringLiteral("You haven't provided a new account name!");
    // A part of an existing name is refused; a name that merely contains one is not.
    const QString folded = LowerAscii(newName);
    for (const QString& existing : existingAccounts)
        if (LowerAscii(existing).contains(folded))
            return QStringLiteral("That's not a new account");
    return AccountNameFormatRefusal(newName);
}

QString DeleteAccountQuestion(const QString& account, const QStringList& userProjects)
{
    QString text = QStringLiteral("Delete account ") + account + QStringLiteral("\rwhich is used by-\r");
    for (const QString& project : userProjects)
        text += project + QLatin1Char('\r');
    return text;
}

void DeleteAccount(TAppData& appData, const QString& account, const QStringList& userProjects)
{
    appData.DeleteSection(AccountSection(account));
    for (const QString& project : userProjects) {
        QStringList sites = appData.ReadList(SecSites, project);
        // Every exact occurrence goes: a case-blind match could take another
        // account ("ftp1" for "FTP1") and leave the deleted one listed.
        if (sites.removeAll(account) > 0)
            appData.WriteList(SecSites, project, sites);
    }
}
