#pragma once

#include <QString>
#include <QStringList>

// Names become section names unescaped, so some would collide with the
// program's own sections or break the "<Section><Key>" line format.

// The refusal text for a new project name, or an empty text when it may be used.
QString NewProjectNameRefusal(const QString& name, const QStringList& existingProjects);

// The refusal text for an account name that the "Sites" entries or the
// line format cannot hold ("<", ">", over 100 characters), or empty.
QString AccountNameFormatRefusal(const QString& name);

// Longest account name the "Sites" entries can carry.
constexpr int MaxAccountNameLength = 100;
