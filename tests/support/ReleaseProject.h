#pragma once

#include "StandInTools.h"
#include "TestFolder.h"
#include "build/BuildRelease.h"

#include <QString>
#include <QStringList>

class TAppData;
struct WorkingState;

// A project that builds with the stand-in tools, in a temporary folder:
// the PHP file, download page and setup script to stamp, three
// applications (the first the primary, version 2.1.0.7), a help project
// never compiled, a certificate with a password, a pre-build script that
// succeeds, and the build's Temp folder. The stand-ins log their calls into
// the folder while it lives.
class ReleaseProject {
public:
    ReleaseProject();

    // Absolute path of a name inside the project folder.
    QString Path(const QString& relative) const { return folder.FilePath(relative); }
    // Each "{root}" in the texts replaced by the project folder.
    QStringList Expand(const QStringList& texts) const;

    // Inputs of a build that signs with the certificate, time-stamps
    // through two servers (two attempts each) and uploads automatically.
    BuildInputs Inputs() const;
    // The primary application and the script file, as the window has them
    // once the project is loaded.
    void Prepare(WorkingState& state) const;

    // Stores the project under `name` with the tools, time servers and one
    // attempt, as the window would have left them; the primary application
    // is the first of Apps.
    void SaveTo(TAppData& store, const QString& name) const;

    // The stand-ins' calls so far, each as "tool arg arg ...", paths in full.
    QStringList Calls() const;

    // A pre-build script with this shell text (exit code, commands).
    QString WritePreBuild(const QByteArray& shellText) const;

    static const QByteArray Php;
    static const QByteArray Page;
    static const QByteArray Script;

    TestFolder folder;
    StandInSession tools{folder.Path()};
    QStringList Apps;
    QString Pfx;
    QString Password = QStringLiteral("s3cret");
    QString PreBuild;
    QString HelpProject;
    QString TempFolder;
    // Where the compiler writes the stamped installer.
    QString Installer;
    QStringList Servers{QStringLiteral("http://127.0.0.1:9/ts-one"),
                        QStringLiteral("http://127.0.0.1:9/ts-two")};
};
