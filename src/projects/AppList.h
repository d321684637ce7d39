#pragma once

#include <QString>

// Caption of the primary label when no application is the primary.
inline const QString NoPrimarySelected = QStringLiteral("No Primary Selected");

// Longest primary name shown and stored.
constexpr int MaxPrimaryNameLength = 40;

// The file-name part of an application's path, cut to 40 characters.
QString AppDisplayName(const QString& path);

// The application's folder with a trailing separator; empty for a bare name.
QString AppFolder(const QString& path);

// Text of the version label for a version such as "1.2.3.4" (or empty).
QString VersionCaption(const QString& version);

// The question asked before an entry leaves the list. The entry counts as the
// primary when its display name is the primary label's caption.
QString RemoveAppQuestion(const QString& path, const QString& primaryCaption);
bool IsPrimaryEntry(const QString& path, const QString& primaryCaption);
