#include "OsslsigncodeScripts.h"

namespace {

const QString Signing = QStringLiteral(".signing");

// sign -pkcs12 PFX [-readpass FILE] -h sha256; each value one word of the
// flavour.
QString SignOptions(const SigningSetup& setup, QString (*word)(const QString&))
{
    QString options = QStringLiteral(" sign -pkcs12 ") + word(setup.PfxFile);
    if (!setup.PasswordFile.isEmpty())
        options += QStringLiteral(" -readpass ") + word(setup.PasswordFile);
    return options + QStringLiteral(" -h sha256");
}

QString BatchQuoted(const QString& value)
{
    return BatchWord(value, true);
}

QStringList ShellSigning(const SigningSetup& setup, const QString& step, const QStringList& files,
                         const QString& capturePath)
{
    QStringList words;
    for (const QString& file : files)
        words << ShellWord(file);
    // The new file takes the old one's permissions before it takes its place.
    return {QStringLiteral("umask 077"),
            QStringLiteral("echo ") + ShellWord(step),
            QStringLiteral("for file in ") + words.join(QLatin1Char(' ')) + QStringLiteral("; do"),
            QStringLiteral("    ") + ShellWord(UnquotedTool(setup.Tool)) + SignOptions(setup, ShellWord) +
                QStringLiteral(" -in \"$file\" -out \"$file.signing\" &&"),
            QStringLiteral("        chmod --reference=\"$file\" \"$file.signing\" && mv -f \"$file.signing\" "
                           "\"$file\" ||"),
            QStringLiteral("        { rm -f \"$file.signing\"; exit 1; }"),
            QStringLiteral("done > ") + ShellWord(capturePath),
            QStringLiteral("exit $?")};
}

QStringList BatchSigning(const SigningSetup& setup, const QString& step, const QStringList& files,
                         const QString& capturePath)
{
    QStringList words;
    for (const QString& file : files)
        words << BatchWord(file, true);
    const QString cleanUp = QStringLiteral(" || (del \"%%~f.signing\" 2>nul & exit 1)");
    return {QStringLiteral("@echo ") + step,
            QStringLiteral("(for %%f in (") + words.join(QLatin1Char(' ')) + QStringLiteral(") do ("),
            BatchWord(UnquotedTool(setup.Tool), true) + SignOptions(setup, BatchQuoted) +
                QStringLiteral(" -in %%f -out \"%%~f.signing\"") + cleanUp,
            QStringLiteral("move /y \"%%~f.signing\" %%f >nul") + cleanUp,
            QStringLiteral(")) > ") + BatchWord(capturePath, false),
            QStringLiteral("exit 0")};
}

} // namespace

QByteArray OsslsigncodeSigningScript(ScriptFlavour flavour, const SigningSetup& setup, const QString& step,
                                     const QStringList& files, const QString& capturePath)
{
    if (flavour == ScriptFlavour::Batch)
        return ScriptText(flavour, BatchSigning(setup, step, files, capturePath));
    return ScriptText(flavour, ShellSigning(setup, step, files, capturePath));
}

QByteArray OsslsigncodeTimestampScript(ScriptFlavour flavour, const QString& tool, const QStringList& servers,
                                       int attempts, const QString& file)
{
    const QString count = QString::number(attempts);
    if (flavour == ScriptFlavour::Batch) {
        const QString in = BatchWord(file, true);
        const QString out = BatchWord(file + Signing, true);
        return ScriptText(
            flavour, {QStringLiteral("@echo off"),
                      QStringLiteral("set SERVERLIST=(") + servers.join(QLatin1Char(' ')) + QLatin1Char(')'),
                      QStringLiteral("for /L %%a in (1,1,") + count + QStringLiteral(") do ("),
                      QStringLiteral("for %%s in %SERVERLIST% do ("),
                      BatchWord(UnquotedTool(tool), true) + QStringLiteral(" add -ts %%s -h sha256 -in ") +
                          in + QStringLiteral(" -out ") + out + QStringLiteral(" && move /y ") + out +
                          QLatin1Char(' ') + in + QStringLiteral(" >nul && GOTO succeeded"),
                      QStringLiteral("del ") + out + QStringLiteral(" 2>nul"), QStringLiteral(")"),
                      QStringLiteral(")"), QStringLiteral("exit /b 1"), QStringLiteral(":succeeded"),
                      QStringLiteral("exit /b 0")});
    }
    QStringList words;
    for (const QString& server : servers)
        words << ShellWord(server);
    return ScriptText(
        flavour,
        {QStringLiteral("umask 077"), QStringLiteral("file=") + ShellWord(file), QStringLiteral("attempt=1"),
         QStringLiteral("while [ \"$attempt\" -le ") + count + QStringLiteral(" ]; do"),
         QStringLiteral("    for server in ") + words.join(QLatin1Char(' ')) + QStringLiteral("; do"),
         QStringLiteral("        ") + ShellWord(UnquotedTool(tool)) +
             QStringLiteral(" add -ts \"$server\" -h sha256 -in \"$file\" -out \"$file.signing\" &&"),
         QStringLiteral(
             "            chmod --reference=\"$file\" \"$file.signing\" && mv -f \"$file.signing\" "
             "\"$file\" && exit 0"),
         QStringLiteral("        rm -f \"$file.signing\""), QStringLiteral("    done"),
         QStringLiteral("    attempt=$((attempt + 1))"), QStringLiteral("done"), QStringLiteral("exit 1")});
}
