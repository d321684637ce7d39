#include "ProjectNames.h"

#include "settings/SettingsSchema.h"

namespace {

bool HasAngleBracket(const QString& name)
{
    return name.contains(QLatin1Char('<')) || name.contains(QLatin1Char('>'));
}

bool IsReservedSection(const QString& name)
{
    using namespace Schema;
    const QStringList fixed{SecSettings, SecProjects,  SecAccounts, SecTimeServers, SecInnoCompiler,
                            SecEditor,   SecHelpMaker, SecSignTool, SecSites};
    if (fixed.contains(name))
        return true;
    return name.startsWith(AccountPrefix) || name.startsWith(UploadRecordPrefix) ||
           name.startsWith(WindowSection(QString()));
}

} // namespace

QString NewProjectNameRefusal(const QString& name, const QStringList& existingProjects)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("Please type a name for the new project.");
    if (HasAngleBracket(name))
        return QStringLiteral("A project name can't contain \"<\" or \">\".");
    if (IsReservedSection(name))
        return QStringLiteral("\"%1\" is a name the program uses for its own settings."
                              "\rPlease choose another project name.")
            .arg(name);
    if (existingProjects.contains(name))
        return QStringLiteral("There is already a project called \"%1\".").arg(name);
    return {};
}

QString AccountNameFormatRefusal(const QString& name)
{
    if (HasAngleBracket(name))
        return QStringLiteral("An account name can't contain \"<\" or \">\".");
    if (name.size() > MaxAccountNameLength)
        return QStringLiteral("An account name can't be longer than %1 characters.")
            .arg(MaxAccountNameLength);
    return {};
}
