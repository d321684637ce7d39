#include "ProjectSettings.h"

#include "Commands.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "settings/StoreSetup.h"

#include <QFileInfo>
#include <QStandardPaths>

QString SettingsFilePath()
{
    const TStoreNames names = StoreNames();
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1Char('/') +
           names.Company + QLatin1Char('/') + names.Product + QLatin1Char('/') + names.FileName;
}

int OpenProjectSettings(const QString& project, Prompts& prompts, bool forWriting, CliSettings& settings)
{
    if (forWriting) {
        switch (settings.guard.Acquire()) {
        case SingleInstanceGuard::Outcome::Acquired:
            break;
        case SingleInstanceGuard::Outcome::AnotherRuns:
            PrintError(
                QStringLiteral("tarnwell-cli: Tarnwell is running; close it first, since both would write "
                               "the same settings file"));
            return ExitUsage;
        case SingleInstanceGuard::Outcome::Failed:
            PrintError(QStringLiteral("tarnwell-cli: ") + settings.guard.ErrorText());
            return ExitFailed;
        }
    }
    const auto unknown = [&project] {
        PrintError(QStringLiteral("tarnwell-cli: unknown project \"") + project + QLatin1Char('"'));
        return ExitUsage;
    };
    // Checked first, so that asking on a machine without settings creates no folders.
    if (!QFileInfo(SettingsFilePath()).isFile())
        return unknown();
    settings.store = std::make_unique<TAppData>();
    if (!SetUpStore(*settings.store, prompts))
        return ExitFailed;
    if (!settings.store->ReadList(Schema::SecProjects, Schema::KeyProjectNames).contains(project))
        return unknown();
    return ExitOk;
}
