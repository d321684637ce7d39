#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

class TAppData;

// The lists and values the main window loads when it is first shown and
// writes back when it closes.
struct TStoredLists {
    QStringList ProjectNames;
    QStringList AccountNames;
    QStringList ServerURLs;
    int Attempts = 0;
};

// Four public Authenticode time-stamp services, in the order they are tried.
const QStringList& DefaultTimeServers();

// Projects, accounts, time servers and attempts; an empty server list is
// replaced by the defaults. Throws TarnwellError when the stored attempts
// are not a number.
TStoredLists ReadStoredLists(const TAppData& store);

// The date from which the automatic update check runs again, as short date
// text in the user's format; today when none is stored.
QString ReadNextUpdateCheck(const TAppData& store, const QDate& today);

// The shut-down writes, in their order: the three lists, the attempts and
// the next update-check date. The window geometry and the file's Save follow.
void WriteStoredLists(TAppData& store, const TStoredLists& lists, const QString& nextUpdateCheck);
