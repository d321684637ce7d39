#pragma once

#include "projects/FilePicker.h"
#include "util/Clock.h"
#include "util/FolderPicker.h"
#include "util/Prompts.h"
#include "util/SaveFilePicker.h"

// What the window and its actions use to reach the user and the date:
// message boxes, the three pickers and the clock. Handed to the main window
// once; the program passes the real ones, tests pass recorders.
struct ShellServices {
    Prompts& prompts;
    FilePicker& files;
    FolderPicker& folders;
    SaveFilePicker& saveFiles;
    Clock& clock;
};
