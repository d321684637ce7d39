#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

class TAppData;

// The lists and values the main window loads when it is first shown and
// writes back when it closes.
struct TStoredLists {
    static constexpr int All = 4;

    QStringList ProjectNames;
    QStringList AccountNames;
    QStringList ServerURLs;
    int Attempts = 0;
    // How many of the four, in the order above, hold what was read (or
    // are to be written). A start that stopped half-way must not write
    // back as empty the lists it never read.
    int Count = All;
};

// Four public Authenticode time-stamp services, in the order they are tried.
const QStringList& DefaultTimeServers();

// Projects, accounts, time servers and attempts, in that order, into
// `lists`, counting each as soon as it is read; an empty server list is
// replaced by the defaults. Throws TarnwellError when the stored attempts
// are not a number: the three lists read before it are kept in `lists`.
void ReadStoredLists(const TAppData& store, TStoredLists& lists);
TStoredLists ReadStoredLists(const TAppData& store);

// The date from which the automatic update check runs again, as short date
// text in the user's format; today when none is stored.
QString ReadNextUpdateCheck(const TAppData& store, const QDate& today);

// The shut-down writes, in their order: the first `lists.Count` of the
// three lists and the attempts, and the next update-check date when there
// is one. The window geometry and the file's Save follow.
void WriteStoredLists(TAppData& store, const TStoredLists& lists,
                      const std::optional<QString>& nextUpdateCheck);
