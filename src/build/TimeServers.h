#pragma once

#include <QString>
#include <QStringList>

// How many times the build tries the whole list of time-stamp servers.
constexpr int MinAttempts = 1;
constexpr int MaxAttempts = 300;

// Appends a typed server address to the list, trimmed of surrounding
// blanks. Nothing is added, and false returned, when the address is empty,
// holds a blank (the build's scripts take the list as words), or is listed
// already in any letter case.
bool AddTimeServer(QStringList& servers, const QString& address);
