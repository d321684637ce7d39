#pragma once

#include "settings/SettingsLock.h"
#include "util/SingleInstance.h"

#include <QString>

#include <memory>

class Prompts;
class TAppData;

// The settings file of the window program, opened for one command. A
// command that writes it first takes the program's single-instance lock
// and keeps it while it runs, so the window cannot start meanwhile (it then
// behaves as a second start), and it refuses while the window runs. It also
// holds the lock beside the settings file, which every writer of that file
// takes whatever its runtime folder: it refuses while another holds it.
struct CliSettings {
    SingleInstanceGuard guard;
    std::unique_ptr<SettingsLock> lock;
    std::unique_ptr<TAppData> store;
};

// ExitOk with `settings.store` open on a file that lists `project`, or the
// exit code after saying why on standard error: ExitUsage for an unknown
// project or while the window program or another writer runs, ExitFailed
// when the file cannot be opened.
int OpenProjectSettings(const QString& project, Prompts& prompts, bool forWriting, CliSettings& settings);

// Where the window keeps its settings file.
QString SettingsFilePath();
