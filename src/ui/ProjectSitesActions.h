#pragma once

#include <QObject>

class TAppData;
class TMainScreen;

// The Select Accounts page's handlers: which accounts the loaded project
// publishes to.
class ProjectSitesActions : public QObject {
    Q_OBJECT
public:
    explicit ProjectSitesActions(TMainScreen& window);

    void TabInternetShow();
    void FillAvailableAccounts();
    void btnAddSiteClick();
    void btnAddAllClick();
    void btnDeleteSiteClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TMainScreen& w;
};
