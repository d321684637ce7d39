#pragma once

#include <QString>

// Message texts mark line breaks with a lone carriage return; the boxes show
// each CR (alone or before LF) as one line break.
QString PromptDisplayText(const QString& text);
