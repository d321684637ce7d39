#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The scripts the build writes to drive its outside tools. Each comes in two
// flavours with the same meaning: Windows batch text for the command
// interpreter, and a POSIX sh script. Both are plain functions of their
// values, so either can be produced and checked on any machine.
enum class ScriptFlavour { Batch, Shell };

// Batch on Windows, Shell elsewhere.
ScriptFlavour NativeScriptFlavour();

// "buildrelease.bat" or "buildrelease.sh".
QString ScriptFileName(ScriptFlavour flavour);

// How the signing tool is to sign.
struct SigningSetup {
    // The tool's path as stored: with or without its own double quotes.
    QString Tool;
    // The certificate file; empty lets the tool choose a certificate itself.
    QString PfxFile;
    // The certificate file's password; empty passes none.
    QString PfxPassword;
    // osslsigncode only: the owner-only file it reads the password from, so
    // that the password stands on no command line. Empty passes none.
    QString PasswordFile = QString();
};

// Which command lines the signing tool takes: SignTool's, or those of
// osslsigncode, known by its file name ("osslsigncode", with or without
// ".exe" or a version after it).
enum class SignToolKind { SignTool, Osslsigncode };
SignToolKind SignToolKindOf(const QString& tool);

// The tool's path as stored, without its own double quotes.
QString UnquotedTool(const QString& tool);

// Lines as a script file of the flavour: CR LF after each batch line; an
// interpreter line first and LF after each line in the sh flavour.
QByteArray ScriptText(ScriptFlavour flavour, const QStringList& lines);

// The batch signing command: tool + " sign /f " + PFX + " " (+ "/p " +
// password + " "), or tool + " sign /a ". Ends with a space.
QString SignCommand(const SigningSetup& setup);
// The batch time-stamp command: tool + " timestamp /t ". Ends with a space.
QString TimestampCommand(const QString& tool);

// HelpMaker compiles the help project.
QByteArray HelpScript(ScriptFlavour flavour, const QString& helpMaker, const QString& helpProject);

// Signs every application in one run of the tool (osslsigncode: one run per
// file, stopping at the first failure); its standard output goes to
// capturePath.
QByteArray SignAppsScript(ScriptFlavour flavour, const SigningSetup& setup, const QStringList& apps,
                          const QString& capturePath);

// Time-stamps one file, trying the servers in order, the whole list
// `attempts` times, until one run succeeds (exit 0); 1 when none did. With
// osslsigncode the servers are RFC 3161 services.
QByteArray TimestampScript(ScriptFlavour flavour, const QString& tool, const QStringList& servers,
                           int attempts, const QString& file);

// The Inno Setup compiler compiles the setup script.
QByteArray InstallerScript(ScriptFlavour flavour, const QString& innoCompiler, const QString& setupScript);

// Signs the installer; the tool's standard output goes to capturePath.
QByteArray SignInstallerScript(ScriptFlavour flavour, const SigningSetup& setup, const QString& setupExePath,
                               const QString& capturePath);

// One value as a single word of each flavour. Batch leaves a plain value
// bare unless alwaysQuote, and otherwise quotes and escapes it for both the
// command interpreter and the program's own argument parsing; Shell always
// single-quotes.
QString BatchWord(const QString& value, bool alwaysQuote);
QString ShellWord(const QString& value);
