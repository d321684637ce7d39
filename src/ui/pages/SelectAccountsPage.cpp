#include "ui/pages/SelectAccountsPage.h"

#include "ui/Controls.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

SelectAccountsPage::SelectAccountsPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabInternet"));
    Label6 = MakeLabel(
        this, QStringLiteral("Label6"),
        QStringLiteral("Choose the sites (accounts) that you want the current project to maintain"));
    lblProjectName = MakeLabel(this, QStringLiteral("lblProjectName"), QString());
    QFont bold = lblProjectName->font();
    bold.setBold(true);
    lblProjectName->setFont(bold);
    lblUploadSites =
        MakeLabel(this, QStringLiteral("lblUploadSites"), QStringLiteral("Upload to these accounts"));
    lbxUploadSites = MakeList(this, QStringLiteral("lbxUploadSites"), true);
    lblAvailable = MakeLabel(this, QStringLiteral("lblAvailable"), QStringLiteral("Available Accounts"));
    lbxAvailable = MakeList(this, QStringLiteral("lbxAvailable"), true);
    bbtnRemoveAccount =
        MakeButton(this, QStringLiteral("bbtnRemoveAccount"), QStringLiteral("Remove Selected"));
    bbtnRemoveAccount->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    bbtnAddAccount = MakeButton(this, QStringLiteral("bbtnAddAccount"), QStringLiteral("Add Selected"));
    bbtnAddAccount->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    btnAddAll = MakeButton(this, QStringLiteral("btnAddAll"), QStringLiteral("Add All"));

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(2);
    Label6->setWordWrap(true);
    grid->addWidget(Label6, 0, 0, 1, 3);
    grid->addWidget(lblProjectName, 1, 0, 1, 3);
    grid->addWidget(lblUploadSites, 2, 0);
    grid->addWidget(lblAvailable, 2, 2);
    grid->addWidget(lbxUploadSites, 3, 0);
    grid->addWidget(lbxAvailable, 3, 2);
    auto* buttons = new QVBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(bbtnAddAccount);
    buttons->addWidget(bbtnRemoveAccount);
    buttons->addWidget(btnAddAll);
    buttons->addStretch(1);
    grid->addLayout(buttons, 3, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(3, 1);
}
