#pragma once

#include "FtpTestServer.h"
#include "PublishFixture.h"
#include "RecordingHost.h"
#include "RecordingPrompts.h"
#include "TestFolder.h"
#include "TestStore.h"
#include "projects/AccountStore.h"
#include "projects/OperationContext.h"
#include "projects/ProjectStore.h"
#include "projects/WorkingState.h"
#include "publish/SiteUpload.h"
#include "settings/SettingsSchema.h"
#include "site/ScanWindow.h"
#include "site/SiteLists.h"
#include "site/SiteScan.h"
#include "util/MyFileOpsU.h"

#include <QList>
#include <QMap>
#include <QRegularExpression>
#include <QTest>

#include <memory>
#include <vector>

// A project "Shop" with a small site and its accounts, each on a test FTP
// server of its own. Local Root is <tmp>/site, Local Home <tmp>/site/www:
//   www/index.html  links a.html and ../img/logo.png (the Files list)
//   www/b.html      reached by nothing (only the entire site sends it)
// On the server the home files go under /public_html/, the image to /img/.
class UploadFixture {
public:
    inline static const QString Project = QStringLiteral("Shop");
    // Server path of each file of the site, by its path under site/.
    inline static const QMap<QString, QString> Targets{{"www/index.html", "/public_html/index.html"},
                                                       {"www/a.html", "/public_html/a.html"},
                                                       {"www/b.html", "/public_html/b.html"},
                                                       {"img/logo.png", "/img/logo.png"}};

    // On a test store of its own, or on the given one (the window's, or the
    // program's settings file for the command line), which must outlive it.
    explicit UploadFixture(TAppData* programStore = nullptr)
        : own(programStore ? nullptr : std::make_unique<TestStore>()),
          store(programStore ? programStore : own->store.get())
    {
        WriteSite("www/index.html", "<a href=\"a.html\">A</a>\n<img src=\"../img/logo.png\">\n");
        WriteSite("www/a.html", "page a");
        WriteSite("www/b.html", "page b");
        WriteSite("img/logo.png", QByteArray("\x89PNG\r\n\x1a\n\0binary", 16));
        TProjectFields fields;
        fields.LocalRoot = Local("site");
        fields.LocalHome = Local("site/www");
        SaveProject(*store, Project, fields);
        store->WriteList(Schema::SecProjects, Schema::KeyProjectNames, {Project});
    }

    // A new server and an account on it, selected for the project after
    // those added before.
    FtpTestServer& AddAccount(const QString& name, const FtpTestServer::Options& options = {})
    {
        servers.push_back(std::make_unique<FtpTestServer>(options));
        FtpTestServer& server = *servers.back();
        if (!server.IsRunning())
            qFatal("%s", qPrintable(server.Error()));
        PointAccountAt(name, server);
        accounts.append(name);
        TProjectFields fields = LoadProject(*store, Project);
        fields.Sites = accounts;
        SaveProject(*store, Project, fields);
        return server;
    }
    void PointAccountAt(const QString& name, const FtpTestServer& server, const QString& password = {})
    {
        const TConnectionSettings account = server.Account(name);
        TAccountFields fields{name,
                              account.Host,
                              account.UserName,
                              password.isEmpty() ? account.Password : password,
                              "/",
                              "/",
                              "/",
                              account.HomePath,
                              account.RootPath,
                              TFtpSecurity::Plain,
                              {}};
        fields.Connections = connections;
        SaveAccount(*store, fields);
    }

    // A new SFTP server and an account on it (its host key trusted), selected
    // like AddAccount's. Its site lies below the server's SitePath().
    SshTestServer& AddSftpAccount(const QString& name, bool byPassword = false)
    {
        sshServers.push_back(std::make_unique<SshTestServer>());
        SshTestServer& server = *sshServers.back();
        if (!server.IsRunning())
            qFatal("%s", qPrintable(server.Error()));
        StoreSftpAccount(*store, name, server, byPassword, true);
        TAccountFields fields = LoadAccount(*store, name);
        fields.Connections = connections;
        SaveAccount(*store, fields);
        accounts.append(name);
        TProjectFields project = LoadProject(*store, Project);
        project.Sites = accounts;
        SaveProject(*store, Project, project);
        return server;
    }

    // The scan of the loaded project, as the window runs it.
    void Scan()
    {
        lists.Clear();
        SilentScanWindow window;
        RecordingPrompts quiet;
        ScanSite({lists, window, quiet, store, Project, Local("site"), Local("site/www")});
    }

    // One run; the confirmation (and any question before it) answered with answers.
    SiteUploadOutcome Upload(UploadMode mode, RecordingHost& host, const QList<int>& answers = {IDYES},
                             const SiteUploadWindow& window = {})
    {
        prompts.Clear();
        prompts.QueueAnswers(answers);
        SiteUploadInputs inputs{mode, Project, Local("site"), Local("site/www"), accounts};
        inputs.AccountsAtOnce = accountsAtOnce;
        return DoUpload(inputs, lists, {store, state, host, prompts}, window);
    }

    // The Files list of the last scan, by path under site/.
    QStringList SelectedFiles() const
    {
        QStringList files;
        for (const QString& path : lists.LocalFiles())
            files.append(path.mid(Local(QStringLiteral("site/")).size()));
        return files;
    }

    QString Local(const QString& relative) const { return folder.FilePath(relative); }
    // Dated a minute back: a file written just before a run gets no stamp.
    QString WriteSite(const QString& relative, const QByteArray& bytes) const
    {
        const QString path = folder.Write(QStringLiteral("site/") + relative, bytes);
        if (!SetFileModified(path, QDateTime::currentDateTime().addSecs(-60)))
            qFatal("cannot date %s", qPrintable(path));
        return path;
    }
    QByteArray SiteBytes(const QString& relative) const
    {
        return folder.Read(QStringLiteral("site/") + relative);
    }

    // The stamp recorded for a file of the site (0: none).
    int Stamp(const QString& account, const QString& relative) const
    {
        return store->ReadInteger(Schema::UploadRecordSection(Project, account), Local("site/" + relative),
                                  0);
    }
    qint32 Age(const QString& relative) const
    {
        TFileOpsSettings info;
        GetFileInfo(Local("site/" + relative), info);
        return info.Age;
    }

    // The site files (by path under site/) that sit in the live site of a server.
    QStringList LiveFiles(const FtpTestServer& server) const
    {
        QStringList live;
        for (auto it = Targets.begin(); it != Targets.end(); ++it)
            if (server.Exists(it.value()))
                live.append(it.key());
        return live;
    }
    QStringList LiveFiles(const SshTestServer& server) const
    {
        QStringList live;
        for (auto it = Targets.begin(); it != Targets.end(); ++it)
            if (server.Exists(SftpPath(server, it.value())))
                live.append(it.key());
        return live;
    }
    // Where a target path lies on an SFTP account's server.
    static QString SftpPath(const SshTestServer& server, const QString& target)
    {
        return server.SitePath() + target.mid(1);
    }

    // The commands a server received that change what it holds: a preview
    // lists the servers and sends none of them.
    static QStringList ChangingCommands(const FtpTestServer& server)
    {
        static const QRegularExpression changing(QStringLiteral("^(STOR|APPE|DELE|RNFR|RNTO|MKD|RMD) "));
        return server.Commands().filter(changing);
    }
    // Files left inside the temporary folder (folders do not count).
    static QStringList FilesInTemp(const FtpTestServer& server)
    {
        QStringList files;
        AddFilesRecursively(server.LocalPath(QStringLiteral("/BRTempUploadFolder")), QStringLiteral("*.*"),
                            true, files);
        return files;
    }

    std::unique_ptr<TestStore> own;
    TAppData* store;
    TestFolder folder;
    std::vector<std::unique_ptr<FtpTestServer>> servers;
    std::vector<std::unique_ptr<SshTestServer>> sshServers;
    QStringList accounts;
    // Of the accounts added or pointed from now on.
    int connections = DefaultConnections;
    // Of the runs: 1 serves the accounts one after another.
    int accountsAtOnce = 1;
    TSiteLists lists;
    WorkingState state;
    RecordingPrompts prompts;
};
