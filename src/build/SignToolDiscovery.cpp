#include "SignToolDiscovery.h"

#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "util/MyFileOpsU.h"
#include "util/Prompts.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QChar Quote = QLatin1Char('"');

QString ReadStored(const TAppData& store)
{
    return store.ReadString(Schema::SecSignTool, Schema::KeyCommand, QString());
}

void Store(TAppData& store, const QString& value)
{
    store.WriteString(Schema::SecSignTool, Schema::KeyCommand, value);
}

} // namespace

QString SignToolSearchRoot()
{
    const QString programFiles = qEnvironmentVariable("ProgramFiles");
    if (!programFiles.isEmpty())
        return programFiles;
#ifdef Q_OS_WIN
    return QStringLiteral("\\");
#else
    return QStringLiteral("/opt");
#endif
}

QString StoredSignToolPath(const QString& storedValue)
{
    if (storedValue == Schema::SignToolNeedFind)
        return QString();
    QString path = storedValue;
    path.remove(Quote);
    return path;
}

bool SignToolUsable(const QString& storedValue)
{
    const QString path = StoredSignToolPath(storedValue);
    return !path.isEmpty() && QFileInfo(path).isFile();
}

QString OsslsigncodeOnPath()
{
#ifdef Q_OS_WIN
    return QString();
#else
    return QStandardPaths::findExecutable(QStringLiteral("osslsigncode"));
#endif
}

bool LocateSignTool(TAppData& store, bool force, Prompts& prompts, const QString& searchRoot)
{
    bool available = false;
    if (force || ReadStored(store).isEmpty()) {
        QString found = OsslsigncodeOnPath();
        if (found.isEmpty())
            FindFileRecursive(searchRoot, QStringLiteral("signtool"), QStringLiteral(".exe"), found, true);
        if (!found.isEmpty()) {
            Store(store, Quote + found + Quote);
        } else {
            Store(store, Schema::SignToolNeedFind);
            prompts.ShowInfo(
                ProductCaption,
                QStringLiteral("Unable to find SignTool.exe\rTo sign your apps you need to install "
                               "Windows SDK"));
        }
    }
    // Any other value names the tool, quoted as stored or (typed by hand)
    // bare: either way the file must be there for signing to be offered.
    const QString path = StoredSignToolPath(ReadStored(store));
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).isFile()) {
        available = true;
    } else {
        prompts.ShowInfo(ProductCaption, path + QStringLiteral("\rfile not found"));
        Store(store, Schema::SignToolNeedFind);
    }
    return available;
}
