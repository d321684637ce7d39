#include "ProjectSites.h"

#include "projects/ProjectNames.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"

#include <QSet>

TSitesEntry ParseSitesEntry(const QString& entry)
{
    TSitesEntry parsed;
    const qsizetype open = entry.indexOf(QLatin1Char('<'));
    const qsizetype close = entry.indexOf(QLatin1Char('>'));
    if (open < 0 || close < open)
        return parsed;
    parsed.Project = entry.mid(open + 1, close - open - 1);
    parsed.Account = entry.mid(close + 1, MaxAccountNameLength);
    return parsed;
}

QStringList ProjectsUsingAccount(const TAppData& appData, const QString& account)
{
    QStringList users;
    for (const QString& entry : appData.ReadSectionEntries(Schema::SecSites, QString())) {
        const TSitesEntry parsed = ParseSitesEntry(entry);
        if (parsed.Account == account && !users.contains(parsed.Project))
            users << parsed.Project;
    }
    return users;
}

QStringList AddSelectedAccounts(const QStringList& uploadSites, const QStringList& selectedAccounts)
{
    QStringList sites = uploadSites;
    if (sites.isEmpty() && !selectedAccounts.isEmpty())
        sites << selectedAccounts.first();
    for (const QString& candidate : selectedAccounts) {
        bool covered = false;
        for (const QString& listed : sites)
            if (candidate.contains(listed)) {
                covered = true;
                break;
            }
        if (!covered)
            sites << candidate;
    }
    return sites;
}

QStringList RemoveSelectedSites(const QStringList& uploadSites, const QList<int>& selectedRows)
{
    const QSet<int> rows(selectedRows.begin(), selectedRows.end());
    QStringList kept;
    for (int row = 0; row < uploadSites.size(); ++row)
        if (!rows.contains(row))
            kept << uploadSites.at(row);
    return kept;
}
