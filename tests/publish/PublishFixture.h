#pragma once

// A project's site with a built release, and FTP accounts on test servers,
// for the upload and import tests.

#include "FtpTestServer.h"
#include "SshTestServer.h"
#include "TestFolder.h"
#include "projects/AccountStore.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "util/MyFileOpsU.h"

#include <QMap>

// A file written a minute ago: written just before a run, it would get no stamp.
inline QString WriteAged(const TestFolder& folder, const QString& relative, const QByteArray& bytes)
{
    const QString path = folder.Write(relative, bytes);
    if (!SetFileModified(path, QDateTime::currentDateTime().addSecs(-60)))
        qFatal("cannot date %s", qPrintable(path));
    return path;
}

// Local Root "site", Local Home "site/public_html": the installer and the
// download page lie under Local Home, the PHP file under Local Root only.
struct PublishSite {
    TestFolder folder;
    QString Root = folder.MakeFolder("site");
    QString Home = folder.MakeFolder("site/public_html");
    QString Installer =
        WriteAged(folder, "site/public_html/downloads/MyApp-2-1.exe", QByteArray(300 * 1024, 'x'));
    QString LinkPage = WriteAged(folder, "site/public_html/download.html", "<a id=\"dl\">2.1</a>");
    QString Php = WriteAged(folder, "site/inc/version.php", "<?php $v = '2.1'; ?>");
    // Where the three land on a server, in sending order.
    const QStringList Targets{"/public_html/downloads/MyApp-2-1.exe", "/public_html/download.html",
                              "/inc/version.php"};
};

inline void StoreAccount(TAppData& store, const QString& name, const FtpTestServer& server,
                         const QString& password = FtpTestServer::Password())
{
    SaveAccount(store, {name,
                        server.HostText(),
                        FtpTestServer::User(),
                        password,
                        "/public_html/downloads",
                        "/inc",
                        "/public_html",
                        "/public_html",
                        "/",
                        TFtpSecurity::Plain,
                        {}});
    store.WriteList(Schema::SecAccounts, Schema::KeyAccountNames,
                    store.ReadList(Schema::SecAccounts, Schema::KeyAccountNames) << name);
}

// An SFTP account on the test SSH server with the same layout below the
// server's site folder: by key or by password, its host key trusted or not.
inline void StoreSftpAccount(TAppData& store, const QString& name, const SshTestServer& server,
                             bool byPassword, bool trusted)
{
    const TConnectionSettings login = byPassword ? server.PasswordAccount(name) : server.KeyAccount(name);
    const QString site = server.SitePath().chopped(1);
    TAccountFields fields{name,
                          login.Host,
                          login.UserName,
                          login.Password,
                          site + "/public_html/downloads",
                          site + "/inc",
                          site + "/public_html",
                          site + "/public_html",
                          site,
                          TFtpSecurity::Plain,
                          {},
                          TRemoteProtocol::Sftp,
                          login.Authentication};
    fields.KeyFile = login.KeyFile;
    SaveAccount(store, fields);
    if (trusted)
        TrustHostKey(store, name, server.HostKeyFingerprint());
    store.WriteList(Schema::SecAccounts, Schema::KeyAccountNames,
                    store.ReadList(Schema::SecAccounts, Schema::KeyAccountNames) << name);
}

// The upload stamps the store holds for these paths (missing ones left out).
inline QMap<QString, int> Stamps(const TAppData& store, const QString& account, const QStringList& paths)
{
    QMap<QString, int> stamps;
    for (const QString& path : paths)
        if (const int value = store.ReadInteger(Schema::UploadRecordSection("Demo", account), path, 0))
            stamps.insert(path, value);
    return stamps;
}

inline QMap<QString, int> Ages(const QStringList& paths)
{
    QMap<QString, int> ages;
    TFileOpsSettings info;
    for (const QString& path : paths) {
        GetFileInfo(path, info);
        ages.insert(path, info.Age);
    }
    return ages;
}
