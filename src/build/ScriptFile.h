#pragma once

#include "BuildScripts.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// How one script run ended.
struct ScriptRunResult {
    // The script's exit code; -1 when it could not be written or started.
    int ExitCode = -1;
    // Why the script could not be written; empty when it was.
    QString Error;
};

// The one file that holds the build's current script, and the capture file
// beside it that receives the signing tool's standard output. The file lives
// in the settings store's Temp folder for the whole run of the program; it
// holds the last script written, which may carry the certificate password,
// so it is readable by its owner only and deleted at the end of every build.
class BuildScriptFile {
public:
    // scriptPath: the Temp folder + "/" + ScriptFileName(flavour). The
    // capture and left-over files are named in the same folder.
    explicit BuildScriptFile(const QString& scriptPath, ScriptFlavour flavour = NativeScriptFlavour());

    // The script path for a Temp folder, with the platform's separator.
    static QString PathIn(const QString& tempFolder, ScriptFlavour flavour = NativeScriptFlavour());

    const QString& Path() const { return path_; }
    ScriptFlavour Flavour() const { return flavour_; }
    // "lessee.txt" beside the script.
    const QString& CapturePath() const { return capturePath_; }
    // "buildhelp" beside the script, with the script's extension: a name of
    // older versions that is cleaned up with the rest.
    const QString& LeftOverPath() const { return leftOverPath_; }
    // "signpass" beside the script: the certificate password for a signing
    // tool that reads it from a file, there only while its script runs.
    const QString& PasswordPath() const { return passwordPath_; }

    // At start: deletes what a previous run may have left there (a script
    // or a password file, say) and leaves an empty script file. Throws
    // TarnwellError when the file cannot be made.
    void Reset() const;

    // Replaces the file's contents with script and runs it, waiting for its
    // end. An old capture is deleted first, so a signing script that cannot
    // run never passes off the previous one's report as its own.
    ScriptRunResult Run(const QByteArray& script) const;
    // Run with the password in PasswordPath(): written, readable by its
    // owner alone, just before the script starts and removed once it ended,
    // whatever the outcome.
    ScriptRunResult RunWithPassword(const QByteArray& script, const QString& password) const;

    // The capture's lines (8-bit text, line ends removed); nothing when the
    // last signing script left no capture.
    std::optional<QStringList> ReadCapture() const;

    // At the end of every build: deletes the script, the left-over name, the
    // capture and the password file, each when it exists.
    void RemoveTemporaryFiles() const;

private:
    // Writes contents through a temporary file beside the script; the
    // temporary file is the owner's alone from the moment it exists.
    QString Write(const QByteArray& contents) const;

    QString path_;
    ScriptFlavour flavour_;
    QString capturePath_;
    QString leftOverPath_;
    QString passwordPath_;
};
