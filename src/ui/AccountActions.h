#pragma once

#include "ui/ActionContext.h"

#include <QObject>

class AccountsPage;
class QLabel;
class QListWidget;
class QTabWidget;
struct TAccountFields;

// The Accounts page's handlers: show an account, make one empty or as a
// copy, delete one, and store the shown one.
class AccountActions : public QObject {
    Q_OBJECT
public:
    enum LoadMode { LoadStored = 0, LoadNewEmpty = 1, LoadCopy = 2 };

    struct Pages {
        AccountsPage* accounts;
        // Entering and leaving the Accounts page is seen on the page control.
        QTabWidget* pageControl;
        // The loaded project and its accounts, which a deletion updates.
        QLabel* editingProject;
        QListWidget* uploadSites;
    };

    AccountActions(const ActionContext& context, const Pages& pages, QObject* parent);

    void DoAccountLoad();
    void AccountNewClick(bool copy);
    void btnAccountDeleteClick();
    void AccountChange();
    void TabAccountsEnter();
    void TabAccountsExit();
    void LoadAccount(LoadMode mode);
    // Stores the shown account; nothing when none is shown.
    void SaveAccount();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void KeyFileBrowseClick();
    void ShowFields(const TAccountFields& fields);
    void ForgetCertificateClick();
    void PageControl1Change(int index);

    ActionContext context_;
    Pages pages_;
    // Selections made by the program itself do not load an account.
    bool selecting = false;
    int lastPage = -1;
};
