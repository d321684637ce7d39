#include "HelpBuild.h"

#include "ScriptFile.h"
#include "settings/AtomicFile.h"
#include "util/MyFileOpsU.h"
#include "util/OperationHost.h"
#include "util/TarnwellError.h"

#include <QFile>
#include <QFileInfo>

namespace {

qint32 AgeOf(const QString& path)
{
    TFileOpsSettings info;
    GetFileInfo(path, info);
    return info.Age;
}

// The copy goes through a temporary file beside the target, so a failed
// copy leaves the previous help as it was, and takes the compiled help's
// permissions, as a file copy does: the installer ships it to everyone.
// Empty when it succeeded.
QString CopyHelp(const QString& from, const QString& to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return source.errorString();
    const QByteArray contents = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return source.errorString();
    try {
        WriteFileAtomically(to, contents, source.permissions());
    } catch (const TarnwellError& error) {
        return error.Message();
    }
    return QString();
}

} // namespace

HelpFileNames HelpNames(const QString& helpProject, const QString& primaryAppFolder, const PathStyle& style)
{
    const qsizetype cut = helpProject.lastIndexOf(style.Separator());
    const qsizetype nameStart = cut + 1;
    qsizetype dot = helpProject.lastIndexOf(QLatin1Char('.'));
    // A dot in a folder name is no extension.
    if (dot < nameStart)
        dot = helpProject.size();
    HelpFileNames names;
    names.ChmName = helpProject.mid(nameStart, dot - nameStart) + QStringLiteral(".chm");
    names.TempChm = helpProject.left(dot) + QStringLiteral("_tmphhp") + style.Separator() + names.ChmName;
    names.DestChm = primaryAppFolder + names.ChmName;
    return names;
}

bool BuildHelp(const HelpBuildInput& input, const BuildScriptFile& script, OperationHost& host)
{
    if (input.HelpProject.isEmpty())
        return true;
    const HelpFileNames names = HelpNames(input.HelpProject, input.PrimaryAppFolder);
    const qint32 projectAge = AgeOf(input.HelpProject);
    // Without a primary application there is no folder to hold the help: a
    // bare name would put it in whatever folder the program runs in.
    const bool placed = !input.PrimaryAppFolder.isEmpty();
    const qint32 destAge = placed && QFileInfo::exists(names.DestChm) ? AgeOf(names.DestChm) : 0;
    if (projectAge <= destAge) {
        host.Log(QStringLiteral("Help is up to date"));
        return true;
    }
    if (!placed) {
        host.Log(QStringLiteral("Help not built: there is no primary application to put it beside"));
        return false;
    }
    const QByteArray text = HelpScript(script.Flavour(), input.HelpMaker, input.HelpProject);
    host.Log(QStringLiteral("Building Help"));
    const ScriptRunResult run = script.Run(text);
    if (!run.Error.isEmpty())
        host.Log(run.Error);
    if (run.ExitCode != 0) {
        host.Log(QStringLiteral("There was a problem building the helpfile"));
        return false;
    }
    host.Log(QStringLiteral("Help file built"));
    bool ok = true;
    if (QFileInfo(names.TempChm).isFile()) {
        const QString error = CopyHelp(names.TempChm, names.DestChm);
        if (error.isEmpty()) {
            host.Log(QStringLiteral("Help file copied to ") + names.DestChm);
        } else {
            host.Log(QStringLiteral("Help file NOT copied to ") + names.DestChm + QStringLiteral(": ") +
                     error);
            ok = false;
        }
    } else {
        host.Log(names.TempChm + QStringLiteral(" seems not to have been created"));
        ok = false;
    }
    return ok;
}
