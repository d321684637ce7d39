#pragma once

#include "ui/QtFilePicker.h"
#include "ui/QtFolderPicker.h"
#include "ui/QtPrompts.h"
#include "ui/QtSaveFilePicker.h"
#include "ui/ShellServices.h"

// The real services: Qt's dialogs and the system clock.
class QtShellServices {
public:
    ShellServices Services() { return {prompts, files, folders, saveFiles, clock}; }

private:
    QtPrompts prompts;
    QtFilePicker files;
    QtFolderPicker folders;
    QtSaveFilePicker saveFiles;
    SystemClock clock;
};
