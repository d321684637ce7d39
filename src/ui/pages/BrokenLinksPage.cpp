#include "ui/pages/BrokenLinksPage.h"

#include "ui/Controls.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QFrame* ResultPanel(QWidget* parent, const QString& name)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(4, 2, 2, 2);
    layout->setSpacing(6);
    panel->hide();
    return panel;
}

} // namespace

BrokenLinksPage::BrokenLinksPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabBrokenLinks"));
    lbxBrokenLinks = MakeList(this, QStringLiteral("lbxBrokenLinks"));

    pnlBrokenFound = ResultPanel(this, QStringLiteral("pnlBrokenFound"));
    lblFilesNotFound =
        MakeLabel(pnlBrokenFound, QStringLiteral("lblFilesNotFound"),
                  QStringLiteral("These items show references to files or IDs that cannot be found"));
    bbtnEditBroken = MakeButton(pnlBrokenFound, QStringLiteral("bbtnEditBroken"), QStringLiteral("Edit"));
    bbtnEditBroken->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    btnReScan = MakeButton(pnlBrokenFound, QStringLiteral("btnReScan"), QStringLiteral("Re-Scan"));
    pnlBrokenFound->layout()->addWidget(lblFilesNotFound);
    static_cast<QHBoxLayout*>(pnlBrokenFound->layout())->addStretch(1);
    pnlBrokenFound->layout()->addWidget(bbtnEditBroken);
    pnlBrokenFound->layout()->addWidget(btnReScan);

    pnlBrokenNotFound = ResultPanel(this, QStringLiteral("pnlBrokenNotFound"));
    lblNoBroken = MakeLabel(pnlBrokenNotFound, QStringLiteral("lblNoBroken"),
                            QStringLiteral("No broken links detected"));
    bbtnAgain = MakeButton(pnlBrokenNotFound, QStringLiteral("bbtnAgain"), QStringLiteral("Re-Scan"));
    pnlBrokenNotFound->layout()->addWidget(lblNoBroken);
    static_cast<QHBoxLayout*>(pnlBrokenNotFound->layout())->addStretch(1);
    pnlBrokenNotFound->layout()->addWidget(bbtnAgain);

    btnCheckWebLinks =
        MakeButton(this, QStringLiteral("btnCheckWebLinks"), QStringLiteral("Check Web Links"));

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 2);
    grid->setSpacing(2);
    grid->addWidget(lbxBrokenLinks, 0, 0, 1, 2);
    // Same cell: the panels share one place.
    grid->addWidget(pnlBrokenFound, 1, 0);
    grid->addWidget(pnlBrokenNotFound, 1, 0);
    grid->addWidget(btnCheckWebLinks, 1, 1);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(0, 1);
}
