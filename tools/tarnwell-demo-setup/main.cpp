// tarnwell-demo-setup FOLDER HOST:PORT
// Writes a sample web site into FOLDER/site and, through the program's own
// settings code, a project "Demo" that publishes it to two accounts ("Live"
// and "Mirror") of the FTP server at HOST:PORT (user "tester", password
// "secret"; each account in its own server folder). It refuses to run unless
// XDG_DATA_HOME names a folder of its own with no settings file in it yet, so
// a user's real settings are never touched.
#include "projects/AccountStore.h"
#include "projects/ProjectStore.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "settings/StoreSetup.h"
#include "util/Prompts.h"
#include "util/TarnwellError.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

void Print(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

// Boxes go to standard error; every question is answered No.
class StderrPrompts : public Prompts {
public:
    void ShowInfo(const QString& caption, const QString& text) override
    {
        Print(stderr, caption + ": " + text);
    }
    int AskQuestion(const QString& caption, const QString& text, int) override
    {
        ShowInfo(caption, text);
        return IDNO;
    }
};

// Path under the site folder -> content. index.html links a page that is not
// there, so the scan has a dead link to show.
const QList<QPair<QString, QByteArray>> SiteFiles{
    {"www/index.html",
     "<html><head><title>Demo Tools</title><link rel=\"stylesheet\" href=\"css/style.css\"></head>\n"
     "<body><h1>Demo Tools</h1>\n<p><a href=\"about.html\">About us</a> | <a "
     "href=\"products.php\">Products</a>"
     " | <a href=\"news.html\">News</a></p>\n</body></html>\n"},
    {"www/about.html", "<html><head><link rel=\"stylesheet\" href=\"css/style.css\"></head>\n"
                       "<body><p>A small shop. <a href=\"index.html\">Home</a></p></body></html>\n"},
    {"www/products.php",
     "<html><head><link rel=\"stylesheet\" href=\"css/style.css\"></head><body>\n"
     "<?php include 'inc/prices.php'; ?>\n<p><a href=\"index.html\">Home</a></p></body></html>\n"},
    {"www/inc/prices.php", "<?php echo '<p>Demo Tool 1.0: 20 EUR</p>'; ?>\n"},
    {"www/css/style.css", "body { font-family: sans-serif; margin: 2em; }\nh1 { color: #2a6; }\n"},
};

bool WriteSite(const QString& root)
{
    for (const auto& [path, bytes] : SiteFiles) {
        const QString file = root + QLatin1Char('/') + path;
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile out(file);
        // Dated a minute back, like a site edited before it is published: a
        // file written in the same two seconds as its upload gets no stamp.
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush() ||
            !out.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime)) {
            Print(stderr, QStringLiteral("tarnwell-demo-setup: cannot write ") + file);
            return false;
        }
    }
    return true;
}

TAccountFields DemoAccount(const QString& name, const QString& host, const QString& folder)
{
    TAccountFields account;
    account.Name = name;
    account.Host = host;
    account.User = QStringLiteral("tester");
    account.Pass = QStringLiteral("secret");
    account.InstallerPath = folder + QStringLiteral("/public_html/download");
    account.PhpPath = folder + QStringLiteral("/public_html");
    account.LinkUploadPath = folder + QStringLiteral("/public_html");
    account.ServerHome = folder + QStringLiteral("/public_html");
    account.ServerRoot = folder;
    return account;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        Print(stderr, QStringLiteral("usage: tarnwell-demo-setup FOLDER HOST:PORT"));
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("XDG_DATA_HOME")) {
        Print(stderr, QStringLiteral("tarnwell-demo-setup: set XDG_DATA_HOME to a throw-away folder first"));
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString host = QString::fromLocal8Bit(argv[2]);
    const QString site = folder + QStringLiteral("/site");
    try {
        StderrPrompts prompts;
        TAppData store;
        if (!SetUpStore(store, prompts))
            return 1;
        if (!store.ReadList(Schema::SecProjects, Schema::KeyProjectNames).isEmpty()) {
            Print(stderr, QStringLiteral("tarnwell-demo-setup: ") + store.FilePath() +
                              QStringLiteral(" already holds projects; use an empty XDG_DATA_HOME"));
            return 1;
        }
        if (!WriteSite(site))
            return 1;
        SaveAccount(store, DemoAccount(QStringLiteral("Live"), host, QStringLiteral("/live")));
        SaveAccount(store, DemoAccount(QStringLiteral("Mirror"), host, QStringLiteral("/mirror")));
        store.WriteList(Schema::SecAccounts, Schema::KeyAccountNames, {"Live", "Mirror"});
        TProjectFields project;
        project.LocalRoot = QDir::toNativeSeparators(site);
        project.LocalHome = QDir::toNativeSeparators(site + QStringLiteral("/www"));
        project.SoftWareDev = false;
        project.AutoUpload = false;
        project.Sites = {QStringLiteral("Live"), QStringLiteral("Mirror")};
        SaveProject(store, QStringLiteral("Demo"), project);
        store.WriteList(Schema::SecProjects, Schema::KeyProjectNames, {QStringLiteral("Demo")});
        store.Save();
        Print(stdout, QStringLiteral("Project \"Demo\": site in ") + site +
                          QStringLiteral(", accounts Live and Mirror on ") + host);
        Print(stdout, QStringLiteral("Settings file: ") + store.FilePath());
    } catch (const TarnwellError& error) {
        Print(stderr, QStringLiteral("tarnwell-demo-setup: ") + error.Message());
        return 1;
    }
    return 0;
}
