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

TStoredLists ReadStoredLists(const TAppData& store)
{
    TStoredLists lists;
    lists.ProjectNames = store.ReadList(Schema::SecProjects, Schema::KeyProjectNames);
    lists.AccountNames = store.ReadList(Schema::SecAccounts, Schema::KeyAccountNames);
    lists.ServerURLs = store.ReadList(Schema::SecTimeServers, Schema::KeyServerURLs);
    lists.Attempts = store.ReadInteger(Schema::SecTimeServers, Schema::KeyAttempts, Schema::DefaultAttempts);
    // With no server at all, signing could never be time-stamped.
    if (lists.ServerURLs.isEmpty())
        lists.ServerURLs = DefaultTimeServers();
    return lists;
}

QString ReadNextUpdateCheck(const TAppData& store, const QDate& today)
{
    const QString todayText = QLocale::system().toString(today, QLocale::ShortFormat);
    return store.ReadString(Schema::SecSettings, Schema::KeyUpdateCheck, todayText);
}

void WriteStoredLists(TAppData& store, const TStoredLists& lists, const QString& nextUpdateCheck)
{
    store.WriteList(Schema::SecProjects, Schema::KeyProjectNames, lists.ProjectNames);
    store.WriteList(Schema::SecAccounts, Schema::KeyAccountNames, lists.AccountNames);
    store.WriteList(Schema::SecTimeServers, Schema::KeyServerURLs, lists.ServerURLs);
    store.WriteInteger(Schema::SecTimeServers, Schema::KeyAttempts, lists.Attempts);
    store.WriteString(Schema::SecSettings, Schema::KeyUpdateCheck, nextUpdateCheck);
}
