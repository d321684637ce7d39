#include "ProjectSettings.h"

#include "Commands.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "settings/StoreSetup.h"

#include <QFileInfo>

QString SettingsFilePath()
{
    return StoreFilePath();
}

namespace {

// The lock of the settings file's writers; ExitOk once held.
int LockSettingsFile(CliSettings& settings)
{
    settings.lock = std::make_unique<SettingsLock>(SettingsFilePath());
    switch (settings.lock->Acquire()) {
    case SettingsLock::Outcome::Acquired:
        return ExitOk;
    case SettingsLock::Outcome::Held:
        PrintError(QStringLiteral("tarnwell-cli: ") + settings.lock->InUseText());
        return ExitUsage;
    case SettingsLock::Outcome::Failed:
        break;
    }
    PrintError(QStringLiteral("tarnwell-cli: ") + settings.lock->ErrorText());
    return ExitFailed;
}

} // namespace

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
    if (forWriting) {
        // Held before the file is read, so that no other writer's save falls
        // between this command's read and its own.
        if (const int refused = LockSettingsFile(settings); refused != ExitOk)
            return refused;
    }
    settings.store = std::make_unique<TAppData>();
    if (!SetUpStore(*settings.store, prompts))
        return ExitFailed;
    if (!settings.store->ReadList(Schema::SecProjects, Schema::KeyProjectNames).contains(project))
        return unknown();
    return ExitOk;
}
