#include "BuildScripts.h"

#include "OsslsigncodeScripts.h"

#include <QFileInfo>

namespace {

const QString BatchSpecials = QStringLiteral("^&<>|()");

bool NeedsBatchQuotes(const QString& value)
{
    for (const QChar ch : value) {
        if (ch.isSpace() || ch == QLatin1Char('"') || ch == QLatin1Char('%') || BatchSpecials.contains(ch))
            return true;
    }
    return false;
}

// Quotes a value the way a program's start-up code splits its arguments:
// an inner quote is escaped with a backslash, and backslashes are doubled
// only where they stand before a quote.
QString ArgumentQuoted(const QString& value)
{
    QString quoted = QStringLiteral("\"");
    int backslashes = 0;
    for (const QChar ch : value) {
        if (ch == QLatin1Char('\\')) {
            ++backslashes;
            continue;
        }
        if (ch == QLatin1Char('"'))
            quoted += QString(2 * backslashes + 1, QLatin1Char('\\'));
        else
            quoted += QString(backslashes, QLatin1Char('\\'));
        quoted += ch;
        backslashes = 0;
    }
    quoted += QString(2 * backslashes, QLatin1Char('\\'));
    quoted += QLatin1Char('"');
    return quoted;
}

// The interpreter reads a batch line before the program does: "%" is
// doubled everywhere. A quoted word without inner quotes is one quoted span
// to it, where its operators mean nothing; inner quotes would end that span
// early, so then every quote and operator is escaped with "^" instead.
QString InterpreterEscaped(const QString& word, bool innerQuotes)
{
    QString escaped;
    for (const QChar ch : word) {
        if (ch == QLatin1Char('%'))
            escaped += QLatin1Char('%');
        else if (innerQuotes && (ch == QLatin1Char('"') || BatchSpecials.contains(ch)))
            escaped += QLatin1Char('^');
        escaped += ch;
    }
    return escaped;
}

QByteArray BatchText(const QStringList& lines)
{
    return ScriptText(ScriptFlavour::Batch, lines);
}

QByteArray ShellText(const QStringList& lines)
{
    return ScriptText(ScriptFlavour::Shell, lines);
}

QString BatchFiles(const QStringList& files)
{
    QStringList words;
    for (const QString& file : files)
        words << BatchWord(file, true);
    return words.join(QLatin1Char(' '));
}

QString ShellWords(const QStringList& values)
{
    QStringList words;
    for (const QString& value : values)
        words << ShellWord(value);
    return words.join(QLatin1Char(' '));
}

QString ShellSignCommand(const SigningSetup& setup)
{
    QString command = ShellWord(UnquotedTool(setup.Tool)) + QStringLiteral(" sign ");
    if (setup.PfxFile.isEmpty())
        return command + QStringLiteral("/a ");
    command += QStringLiteral("/f ") + ShellWord(setup.PfxFile) + QLatin1Char(' ');
    if (!setup.PfxPassword.isEmpty())
        command += QStringLiteral("/p ") + ShellWord(setup.PfxPassword) + QLatin1Char(' ');
    return command;
}

// Both signing scripts: an echo line naming the step, one run of the tool
// with its standard output captured, and the tool's exit code as the result.
QByteArray SigningScript(ScriptFlavour flavour, const SigningSetup& setup, const QString& step,
                         const QStringList& files, const QString& capturePath)
{
    if (SignToolKindOf(setup.Tool) == SignToolKind::Osslsigncode)
        return OsslsigncodeSigningScript(flavour, setup, step, files, capturePath);
    if (flavour == ScriptFlavour::Batch) {
        return BatchText(
            {QStringLiteral("@echo ") + step,
             SignCommand(setup) + BatchFiles(files) + QStringLiteral(" > ") + BatchWord(capturePath, false),
             QStringLiteral("exit")});
    }
    // The capture is the owner's alone, like the script.
    return ShellText(
        {QStringLiteral("umask 077"), QStringLiteral("echo ") + ShellWord(step),
         ShellSignCommand(setup) + ShellWords(files) + QStringLiteral(" > ") + ShellWord(capturePath),
         QStringLiteral("exit $?")});
}

} // namespace

ScriptFlavour NativeScriptFlavour()
{
#ifdef Q_OS_WIN
    return ScriptFlavour::Batch;
#else
    return ScriptFlavour::Shell;
#endif
}

QString UnquotedTool(const QString& tool)
{
    QString plain = tool;
    plain.remove(QLatin1Char('"'));
    return plain;
}

SignToolKind SignToolKindOf(const QString& tool)
{
    QString name = QFileInfo(UnquotedTool(tool).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName();
    if (name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        name.chop(4);
    return name.startsWith(QLatin1String("osslsigncode"), Qt::CaseInsensitive) ? SignToolKind::Osslsigncode
                                                                               : SignToolKind::SignTool;
}

QByteArray ScriptText(ScriptFlavour flavour, const QStringList& lines)
{
    const bool batch = flavour == ScriptFlavour::Batch;
    QByteArray text = batch ? QByteArray() : QByteArray("#!/bin/sh\n");
    for (const QString& line : lines)
        text += line.toLocal8Bit() + (batch ? "\r\n" : "\n");
    return text;
}

QString ScriptFileName(ScriptFlavour flavour)
{
    return flavour == ScriptFlavour::Batch ? QStringLiteral("buildrelease.bat")
                                           : QStringLiteral("buildrelease.sh");
}

QString BatchWord(const QString& value, bool alwaysQuote)
{
    if (!alwaysQuote && !NeedsBatchQuotes(value))
        return value;
    return InterpreterEscaped(ArgumentQuoted(value), value.contains(QLatin1Char('"')));
}

QString ShellWord(const QString& value)
{
    QString inner = value;
    inner.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + inner + QLatin1Char('\'');
}

QString SignCommand(const SigningSetup& setup)
{
    QString command = BatchWord(UnquotedTool(setup.Tool), true) + QStringLiteral(" sign ");
    if (setup.PfxFile.isEmpty())
        return command + QStringLiteral("/a ");
    command += QStringLiteral("/f ") + BatchWord(setup.PfxFile, false) + QLatin1Char(' ');
    if (!setup.PfxPassword.isEmpty())
        command += QStringLiteral("/p ") + BatchWord(setup.PfxPassword, false) + QLatin1Char(' ');
    return command;
}

QString TimestampCommand(const QString& tool)
{
    return BatchWord(UnquotedTool(tool), true) + QStringLiteral(" timestamp /t ");
}

QByteArray HelpScript(ScriptFlavour flavour, const QString& helpMaker, const QString& helpProject)
{
    if (flavour == ScriptFlavour::Batch) {
        return BatchText({QStringLiteral("@echo off"), QStringLiteral("@echo Building Help"),
                          BatchWord(helpMaker, true) + QStringLiteral(" /ch ") + BatchWord(helpProject, true),
                          QStringLiteral("exit")});
    }
    return ShellText({QStringLiteral("echo 'Building Help'"),
                      ShellWord(helpMaker) + QStringLiteral(" /ch ") + ShellWord(helpProject),
                      QStringLiteral("exit $?")});
}

QByteArray SignAppsScript(ScriptFlavour flavour, const SigningSetup& setup, const QStringList& apps,
                          const QString& capturePath)
{
    return SigningScript(flavour, setup, QStringLiteral("signing apps"), apps, capturePath);
}

QByteArray SignInstallerScript(ScriptFlavour flavour, const SigningSetup& setup, const QString& setupExePath,
                               const QString& capturePath)
{
    return SigningScript(flavour, setup, QStringLiteral("signing Installer"), {setupExePath}, capturePath);
}

QByteArray TimestampScript(ScriptFlavour flavour, const QString& tool, const QStringList& servers,
                           int attempts, const QString& file)
{
    if (SignToolKindOf(tool) == SignToolKind::Osslsigncode)
        return OsslsigncodeTimestampScript(flavour, tool, servers, attempts, file);
    const QString count = QString::number(attempts);
    if (flavour == ScriptFlavour::Batch) {
        return BatchText(
            {QStringLiteral("@echo off"),
             QStringLiteral("set SERVERLIST=(") + servers.join(QLatin1Char(' ')) + QLatin1Char(')'),
             QStringLiteral("for /L %%a in (1,1,") + count + QStringLiteral(") do ("),
             QStringLiteral("for %%s in %SERVERLIST% do ("),
             TimestampCommand(tool) + QStringLiteral(" %%s  ") + BatchWord(file, true),
             QStringLiteral("if not ERRORLEVEL 1 GOTO succeeded"), QStringLiteral(")"), QStringLiteral(")"),
             QStringLiteral("exit /b 1"), QStringLiteral(":succeeded"), QStringLiteral("exit /b 0")});
    }
    return ShellText({QStringLiteral("attempt=1"),
                      QStringLiteral("while [ \"$attempt\" -le ") + count + QStringLiteral(" ]; do"),
                      QStringLiteral("    for server in ") + ShellWords(servers) + QStringLiteral("; do"),
                      QStringLiteral("        ") + ShellWord(UnquotedTool(tool)) +
                          QStringLiteral(" timestamp /t \"$server\" ") + ShellWord(file) +
                          QStringLiteral(" && exit 0"),
                      QStringLiteral("    done"), QStringLiteral("    attempt=$((attempt + 1))"),
                      QStringLiteral("done"), QStringLiteral("exit 1")});
}

QByteArray InstallerScript(ScriptFlavour flavour, const QString& innoCompiler, const QString& setupScript)
{
    if (flavour == ScriptFlavour::Batch)
        return BatchText(
            {BatchWord(innoCompiler, true) + QStringLiteral(" /cc ") + BatchWord(setupScript, true)});
    return ShellText({ShellWord(innoCompiler) + QStringLiteral(" /cc ") + ShellWord(setupScript)});
}
