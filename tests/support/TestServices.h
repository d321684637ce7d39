#pragma once

// For ui tests only (header-only): the window's services answered by
// recorders and scripts, with the date fixed.

#include "FixedClock.h"
#include "RecordingPrompts.h"
#include "ScriptedFilePicker.h"
#include "ScriptedFolderPicker.h"
#include "ScriptedSaveFilePicker.h"
#include "ui/ShellServices.h"

struct TestServices {
    RecordingPrompts prompts;
    ScriptedFilePicker files;
    ScriptedFolderPicker folders;
    ScriptedSaveFilePicker saveFiles;
    FixedClock clock{QDate(2026, 12, 9)};

    ShellServices Services() { return {prompts, files, folders, saveFiles, clock}; }
};
