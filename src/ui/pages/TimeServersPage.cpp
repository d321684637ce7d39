#include "ui/pages/TimeServersPage.h"

#include "build/TimeServers.h"
#include "ui/Controls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

TimeServersPage::TimeServersPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tabTimeServers"));
    lblTimeServers =
        MakeLabel(this, QStringLiteral("lblTimeServers"),
                  QStringLiteral("Time stamping servers will be tried in the order listed here"));
    lbxTimeServers = MakeList(this, QStringLiteral("lbxTimeServers"));
    const TLabeledEdit newServer =
        MakeLabeledEdit(this, QStringLiteral("lbeNewTimeServer"), QStringLiteral("New Time Stamp Server"));
    lbeNewTimeServer = newServer.edit;
    bbtnAddTimeServer = MakeButton(this, QStringLiteral("bbtnAddTimeServer"), QStringLiteral("Add"));
    bbtnAddTimeServer->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    bbtnDeleteTimeServer = MakeButton(this, QStringLiteral("bbtnDeleteTimeServer"), QStringLiteral("Delete"));
    bbtnDeleteTimeServer->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    bbtnUp = MakeButton(this, QStringLiteral("bbtnUp"), QStringLiteral("Move"));
    bbtnUp->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    bbtnDown = MakeButton(this, QStringLiteral("bbtnDown"), QStringLiteral("Move"));
    bbtnDown->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    lblAttempts =
        MakeLabel(this, QStringLiteral("lblAttempts"), QStringLiteral("Number of attempts per server"));
    speAttempts = new QSpinBox(this);
    speAttempts->setObjectName(QStringLiteral("speAttempts"));
    speAttempts->setRange(MinAttempts, MaxAttempts);
    lblAttempts->setBuddy(speAttempts);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(3);
    grid->addWidget(lblTimeServers, 0, 0, 1, 2);
    grid->addWidget(lbxTimeServers, 1, 0, 3, 1);
    auto* moves = new QVBoxLayout;
    moves->addWidget(bbtnUp);
    moves->addWidget(bbtnDown);
    moves->addWidget(bbtnDeleteTimeServer);
    moves->addStretch(1);
    grid->addLayout(moves, 1, 1);
    auto* attempts = new QHBoxLayout;
    attempts->addWidget(lblAttempts);
    attempts->addWidget(speAttempts);
    attempts->addStretch(1);
    grid->addLayout(attempts, 2, 1);
    auto* add = new QHBoxLayout;
    add->addWidget(LabelAbove(this, newServer), 1);
    add->addWidget(bbtnAddTimeServer, 0, Qt::AlignBottom);
    grid->addLayout(add, 4, 0, 1, 2);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setRowStretch(3, 1);
}
