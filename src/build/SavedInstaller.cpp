#include "SavedInstaller.h"

#include "BuildSteps.h"
#include "TextLines.h"
#include "VersionStamp.h"
#include "projects/ProjectStore.h"
#include "projects/WorkingState.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The build takes this much of the OutputDir= value.
constexpr qsizetype OutputDirLimit = 200;

} // namespace

QString FindBuiltInstaller(const TAppData& store, const QString& project, WorkingState& state)
{
    state.SetupExePath.clear();
    const TProjectFields fields = LoadProject(store, project);
    SetPrimaryApplication(state, fields.FullVersion, fields.PrimaryPath);
    if (state.PrimaryVersion.isEmpty() || fields.InnoSetupFile.isEmpty())
        return QString();
    QFile script(fields.InnoSetupFile);
    if (!script.open(QIODevice::ReadOnly))
        return QString();
    const QList<QByteArray> lines = SplitTextLines(script.readAll());
    int found = 0;
    const int outputDir = FindLineContaining("OutputDir=", lines, 1, found);
    if (outputDir < 0)
        return QString();
    const QByteArray& line = lines.at(outputDir);
    state.SetupOutputDir = QString::fromLocal8Bit(line.mid(line.indexOf('=') + 1, OutputDirLimit));
    state.SetupExeName =
        fields.BaseFile + QLatin1Char('-') + DashedVersion(state.PrimaryVersion) + QStringLiteral(".exe");
    state.ShortVersion = ShortVersion(state.PrimaryVersion);
    const QString installer = InstallerPath(state.SetupOutputDir, state.SetupExeName, fields.InnoSetupFile);
    if (QFileInfo(installer).isFile())
        state.SetupExePath = installer;
    return state.SetupExePath;
}
