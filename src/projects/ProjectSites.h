#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class TAppData;

// One entry of the "Sites" section as ReadSectionEntries returns it:
// "<project>account".
struct TSitesEntry {
    QString Project;
    QString Account;
};

// Splits a "Sites" entry: the project between the first "<" and the first
// ">", the account after that ">" (at most 100 characters).
TSitesEntry ParseSitesEntry(const QString& entry);

// Projects whose stored list holds exactly `account`, each once, in file order.
QStringList ProjectsUsingAccount(const TAppData& appData, const QString& account);

// "Add Selected": the project's list with the chosen accounts appended in
// order. An account is skipped when some name already listed occurs inside
// it (so an account already listed is never added twice).
QStringList AddSelectedAccounts(const QStringList& uploadSites, const QStringList& selectedAccounts);

// "Remove Selected": the list without the entries at the given rows.
QStringList RemoveSelectedSites(const QStringList& uploadSites, const QList<int>& selectedRows);
