#include "ProjectStore.h"

#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"

using namespace Schema;

TProjectFields LoadProject(const TAppData& appData, const QString& project)
{
    TProjectFields f;
    const QString& p = project;
    const QString none;
    f.Sites = appData.ReadList(SecSites, p);
    f.PhpFile = appData.ReadString(p, KeyPhpFile, none);
    f.HelpBatch = appData.ReadString(p, KeyHelpBatch, none);
    f.InnoSetupFile = appData.ReadString(p, KeyInnoSetupFile, none);
    f.PhpVar = appData.ReadString(p, KeyPhpVar, none);
    f.DownLoadLink = appData.ReadString(p, KeyDownLoadLink, none);
    f.Primary = appData.ReadString(p, KeyPrimary, none);
    f.Apps = appData.ReadList(p, KeyApps);
    f.FullVersion = appData.ReadString(p, KeyFullVersion, none);
    f.PrimaryPath = appData.ReadString(p, KeyPrimaryPath, none);
    f.DLinkId = appData.ReadString(p, KeyDLinkId, none);
    f.BaseFile = appData.ReadString(p, KeyBaseFile, none);
    f.DLinkText = appData.ReadString(p, KeyDLinkText, none);
    f.LocalRoot = appData.ReadString(p, KeyLocalRoot, none);
    f.LocalHome = appData.ReadString(p, KeyLocalHome, none);
    f.PFX = appData.ReadString(p, KeyPFX, none);
    f.PFXPass = appData.ReadString(p, KeyPFXPass, none);
    f.PreBuild = appData.ReadString(p, KeyPreBuild, none);
    f.TimeStamp = appData.ReadBool(p, KeyTimeStamp, true);
    f.AutoUpload = appData.ReadBool(p, KeyAutoUpload, true);
    f.SoftWareDev = appData.ReadBool(p, KeySoftWareDev, true);
    f.PageRelative = appData.ReadBool(p, KeyPageRelative, false);
    return f;
}

void SaveProject(TAppData& appData, const QString& project, const TProjectFields& f)
{
    if (project.isEmpty())
        return;
    const QString& p = project;
    appData.WriteString(p, KeyPhpFile, f.PhpFile);
    appData.WriteString(p, KeyHelpBatch, f.HelpBatch);
    appData.WriteString(p, KeyInnoSetupFile, f.InnoSetupFile);
    appData.WriteString(p, KeyPhpVar, f.PhpVar);
    appData.WriteString(p, KeyDownLoadLink, f.DownLoadLink);
    appData.WriteString(p, KeyPrimary, f.Primary);
    appData.WriteList(p, KeyApps, f.Apps);
    appData.WriteString(p, KeyFullVersion, f.FullVersion);
    appData.WriteString(p, KeyPrimaryPath, f.PrimaryPath);
    appData.WriteString(p, KeyDLinkId, f.DLinkId);
    appData.WriteString(p, KeyBaseFile, f.BaseFile);
    appData.WriteString(p, KeyDLinkText, f.DLinkText);
    appData.WriteList(SecSites, p, f.Sites);
    appData.WriteString(p, KeyLocalRoot, f.LocalRoot);
    appData.WriteString(p, KeyLocalHome, f.LocalHome);
    appData.WriteString(p, KeyPreBuild, f.PreBuild);
    appData.WriteBool(p, KeySoftWareDev, f.SoftWareDev);
    appData.WriteString(p, KeyPFX, f.PFX);
    appData.WriteString(p, KeyPFXPass, f.PFXPass);
}

void DeleteProjectData(TAppData& appData, const QString& project, const QStringList& accounts,
                       const QStringList& otherProjects)
{
    // Records may exist for accounts the project publishes to that are no
    // longer in the account list, so both lists are searched.
    QStringList candidates = accounts;
    for (const QString& site : appData.ReadList(SecSites, project))
        if (!candidates.contains(site))
            candidates << site;
    appData.DeleteSection(project);
    for (const QString& account : candidates) {
        const QString section = UploadRecordSection(project, account);
        bool sharedWithOther = false;
        for (const QString& other : otherProjects) {
            if (other == project || !section.startsWith(UploadRecordSection(other, QString())))
                continue;
            // "ULF-P-A-B" is both P's record for "A-B" and "P-A"'s record for "B".
            const QString otherAccount = section.mid(UploadRecordSection(other, QString()).size());
            if (candidates.contains(otherAccount)) {
                sharedWithOther = true;
                break;
            }
        }
        if (!sharedWithOther)
            appData.DeleteSection(section);
    }
}
