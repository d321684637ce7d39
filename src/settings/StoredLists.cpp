#include "settings/StoredLists.h"

#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"

#include <QLocale>

const QStringList& DefaultTimeServers()
{
    static const QStringList servers = {
        QStringLiteral("http://timestamp.digicert.com"),
        QStringLiteral("http://timestamp.sectigo.com"),
        QStringLiteral("http://timestamp.globalsign.com/tsa/r6advanced1"),
        QStringLiteral("http://timestamp.entrust.net/TSS/RFC3161sha2TS"),
    };
    return servers;
}

void ReadStoredLists(const TAppData& store, TStoredLists& lists)
{
    lists.Count = 0;
    lists.ProjectNames = store.ReadList(Schema::SecProjects, Schema::KeyProjectNames);
    lists.Count = 1;
    lists.AccountNames = store.ReadList(Schema::SecAccounts, Schema::KeyAccountNames);
    lists.Count = 2;
    lists.ServerURLs = store.ReadList(Schema::SecTimeServers, Schema::KeyServerURLs);
    // With no server at all, signing could never be time-stamped.
    if (lists.ServerURLs.isEmpty())
        lists.ServerURLs = DefaultTimeServers();
    lists.Count = 3;
    lists.Attempts = store.ReadInteger(Schema::SecTimeServers, Schema::KeyAttempts, Schema::DefaultAttempts);
    lists.Count = TStoredLists::All;
}

TStoredLists ReadStoredLists(const TAppData& store)
{
    TStoredLists lists;
    ReadStoredLists(store, lists);
    return lists;
}

QString ReadNextUpdateCheck(const TAppData& store, const QDate& today)
{
    const QString todayText = QLocale::system().toString(today, QLocale::ShortFormat);
    return store.ReadString(Schema::SecSettings, Schema::KeyUpdateCheck, todayText);
}

void WriteStoredLists(TAppData& store, const TStoredLists& lists,
                      const std::optional<QString>& nextUpdateCheck)
{
    if (lists.Count > 0)
        store.WriteList(Schema::SecProjects, Schema::KeyProjectNames, lists.ProjectNames);
    if (lists.Count > 1)
        store.WriteList(Schema::SecAccounts, Schema::KeyAccountNames, lists.AccountNames);
    if (lists.Count > 2)
        store.WriteList(Schema::SecTimeServers, Schema::KeyServerURLs, lists.ServerURLs);
    if (lists.Count > 3)
        store.WriteInteger(Schema::SecTimeServers, Schema::KeyAttempts, lists.Attempts);
    if (nextUpdateCheck)
        store.WriteString(Schema::SecSettings, Schema::KeyUpdateCheck, *nextUpdateCheck);
}
