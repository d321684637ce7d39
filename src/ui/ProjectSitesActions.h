#pragma once

#include "ui/ActionContext.h"

#include <QObject>

class QLabel;
class QListWidget;
class SelectAccountsPage;

// The Select Accounts page's handlers: which accounts the loaded project
// publishes to.
class ProjectSitesActions : public QObject {
    Q_OBJECT
public:
    struct Pages {
        SelectAccountsPage* selectAccounts;
        // Every account, offered to the project.
        QListWidget* accounts;
        QLabel* editingProject;
    };

    ProjectSitesActions(const ActionContext& context, const Pages& pages, QObject* parent);

    void TabInternetShow();
    void FillAvailableAccounts();
    void btnAddSiteClick();
    void btnAddAllClick();
    void btnDeleteSiteClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ActionContext context_;
    Pages pages_;
};
