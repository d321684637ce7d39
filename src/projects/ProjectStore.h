#pragma once

#include <QString>
#include <QStringList>

class TAppData;

// Every stored field of one project. Texts default to empty, booleans to true.
struct TProjectFields {
    QString PhpFile;
    QString PhpVar;
    QString DownLoadLink;
    QString DLinkId;
    QString DLinkText;
    QString HelpBatch;
    QString BaseFile;
    QString InnoSetupFile;
    QString PreBuild;
    QString PFX;
    QString PFXPass;
    QStringList Apps;
    QString Primary;     // caption of the primary label as it was shown
    QString FullVersion; // full path of the primary application
    QString PrimaryPath; // its folder with a trailing separator
    QString LocalRoot;
    QString LocalHome;
    bool SoftWareDev = true;
    bool TimeStamp = true;
    bool AutoUpload = true;
    // Off unless set: projects made before the option keep their links.
    bool PageRelative = false;
    QStringList Sites; // accounts the project publishes to, in upload order
};

// Reads the project's section and its "Sites" list; missing keys give the defaults.
TProjectFields LoadProject(const TAppData& appData, const QString& project);

// Writes the project's fields in their fixed order (the order a first save
// leaves in the file). "TimeStamp" and "AutoUpload" are not written here:
// their boxes store them on every click, and so does "PageRelative". Does nothing for an empty name.
void SaveProject(TAppData& appData, const QString& project, const TProjectFields& fields);

// Removes what belongs to a deleted project: its own section and its upload
// records for every account in `accounts` or in the project's "Sites" list. An upload record whose section
// name is also that of another project's record (names with "-" can collide) stays. The project's "Sites"
// list is kept.
void DeleteProjectData(TAppData& appData, const QString& project, const QStringList& accounts,
                       const QStringList& otherProjects);
