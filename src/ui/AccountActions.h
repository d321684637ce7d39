#pragma once

#include <QObject>

class TAppData;
class TMainScreen;
struct TAccountFields;

// The Accounts page's handlers: show an account, make one empty or as a
// copy, delete one, and store the shown one.
class AccountActions : public QObject {
    Q_OBJECT
public:
    enum LoadMode { LoadStored = 0, LoadNewEmpty = 1, LoadCopy = 2 };

    explicit AccountActions(TMainScreen& window);

    void DoAccountLoad();
    void AccountNewClick(bool copy);
    void btnAccountDeleteClick();
    void AccountChange();
    void TabAccountsEnter();
    void TabAccountsExit();
    void LoadAccount(LoadMode mode);
    // Stores the shown account; nothing when none is shown.
    void SaveAccount();

private:
    void ShowFields(const TAccountFields& fields);
    void PageControl1Change(int index);

    TMainScreen& w;
    // Selections made by the program itself do not load an account.
    bool selecting = false;
    int lastPage = -1;
};
