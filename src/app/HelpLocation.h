#pragma once

#include <QString>

// The folder of the help pages, one page per help context ("30.html" is the
// main topic). Looked for beside the program (programFolder/help), in the
// data folder of the installation the program belongs to
// (programFolder/../share/tarnwell/help, which is also where the build puts
// a copy for the program it builds), then in the system's data folders
// (XDG_DATA_DIRS). Empty when none holds the main topic.
QString LocateHelpFolder(const QString& programFolder);

// The page of one help context in folder.
QString HelpTopicPath(const QString& folder, int context);
