#pragma once

#include "build/ScriptFile.h"
#include "projects/TConnectionSettings.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

// Extensions of the files the text editor may open; each between bars so a
// lookup of "|" + extension + "|" cannot match part of another.
inline const QString DefaultTextFileExtensions =
    QStringLiteral("|.asc|.asp|.bat|.cgi|.cmd|.class|.css|.csv|.htm|.html|.ini|.js|.log|.php|.phtml|.pl|."
                   "shtml|.txt|.xml|.xsl|");

// What the operations share while the program runs. The main window (or the
// command line) owns the one instance and hands it out by reference; the
// settings store is held beside it, and the current project and account are
// the captions of lblEditingProject and lblAccountName. No widget lives here:
// an operation's log and bars are its OperationHost, and the page in front
// belongs to the window.
struct WorkingState {
    // The current project's primary application: full path, its folder with
    // a trailing separator, and its version "a.b.c.d" (empty: none).
    QString PrimaryAppFile;
    QString PrimaryAppFolder;
    QString PrimaryVersion;

    // Lines of the files a build stamps, held as bytes: never re-encoded.
    QList<QByteArray> PhpLines;
    QList<QByteArray> LinkPageLines;
    QList<QByteArray> SetupScriptLines;
    // Local files of an installer upload: installer, link page, PHP file.
    QStringList InstallerUploadFiles;

    // The file that holds the build's generated script, in the store's Temp
    // folder; made when the window is first shown.
    std::unique_ptr<BuildScriptFile> BuildBatch;

    // The last build's installer: its file name, folder and full path
    // (SetupExePath empty: nothing built since the project was loaded).
    QString SetupExeName;
    QString SetupOutputDir;
    QString SetupExePath;
    // Leading part of PrimaryVersion for "AppVerName=" and the link text.
    QString ShortVersion;

    // A server path of the shown account was edited since its page was entered.
    bool AccountChanged = false;

    QString TextFileExtensions = DefaultTextFileExtensions;

    // The account an upload or import is connected to.
    TConnectionSettings CurrentAccount;

    // The user changed the file selection since the last scan.
    bool SelectionChanged = false;

    // Short date text from which the automatic update check runs again.
    QString NextUpdateCheck;
    // Installer file name of the newer release the update service reported.
    QString UpdateFileName;
};

// Makes `file` the primary application: its path, the folder it is kept in
// (with its trailing separator) and the version read from it. An empty file
// leaves no primary and no version.
void SetPrimaryApplication(WorkingState& state, const QString& file, const QString& folder);
