#pragma once

#include <QString>
#include <Qt>

// Windows file-mask matching: "*" any run of characters, "?" one character,
// and a mask ending in ".*" also matches the name without any extension, so
// "*.*" matches every name and "setup.*" matches "setup".
bool MaskMatches(const QString& mask, const QString& name, Qt::CaseSensitivity caseRule);
