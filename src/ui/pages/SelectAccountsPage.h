#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

// "Select Accounts" (TabInternet): the accounts the loaded project publishes
// to, beside every account.
class SelectAccountsPage : public QWidget {
    Q_OBJECT
public:
    explicit SelectAccountsPage(QWidget* parent = nullptr);

    QLabel* Label6;
    QLabel* lblProjectName;
    QLabel* lblUploadSites;
    QListWidget* lbxUploadSites;
    QLabel* lblAvailable;
    QListWidget* lbxAvailable;
    QPushButton* bbtnRemoveAccount;
    QPushButton* bbtnAddAccount;
    QPushButton* btnAddAll;
};
