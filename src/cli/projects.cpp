// tarnwell-cli projects: the saved projects, one name a line, for scripts
// and the shell's completion. The settings are only read; without a
// settings file there are none, and nothing is created.
#include "CliPrompts.h"
#include "Commands.h"
#include "ProjectSettings.h"

#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "settings/StoreSetup.h"

#include <QCommandLineParser>
#include <QFileInfo>

int RunProjects(const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty())
        return UsageError(CommandNamed(QStringLiteral("projects")),
                          QStringLiteral("projects takes no arguments"));
    if (!QFileInfo(SettingsFilePath()).isFile())
        return ExitOk;
    CliPrompts prompts;
    TAppData store;
    if (!SetUpStore(store, prompts))
        return ExitFailed;
    for (const QString& name : store.ReadList(Schema::SecProjects, Schema::KeyProjectNames))
        PrintOut(name);
    return ExitOk;
}
