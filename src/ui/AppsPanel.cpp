#include "ui/AppsPanel.h"

#include "ui/Controls.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

AppsPanel::AppsPanel(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("pnlApps"));
    setFrameShape(QFrame::StyledPanel);
    setFixedHeight(DesignHeight);

    lblPrimaryApp = MakeLabel(this, QStringLiteral("lblPrimaryApp"), QStringLiteral("No Primary Selected"));
    lblVersion = MakeLabel(this, QStringLiteral("lblVersion"), QString());
    QFont large = lblPrimaryApp->font();
    large.setPixelSize(20);
    large.setBold(true);
    lblPrimaryApp->setFont(large);
    lblVersion->setFont(large);
    lblPrimaryApp->setFixedWidth(240);
    chkProjectApps = MakeCheckList(this, QStringLiteral("chkProjectApps"));
    bbtnAddApp = MakeButton(this, QStringLiteral("bbtnAddApp"), QStringLiteral("App"));
    bbtnAddApp->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    bbtnDeleteApp = MakeButton(this, QStringLiteral("bbtnDeleteApp"), QStringLiteral("App"));
    bbtnDeleteApp->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 2, 4);
    grid->setSpacing(4);
    grid->addWidget(lblPrimaryApp, 0, 0, Qt::AlignBottom);
    grid->addWidget(lblVersion, 1, 0, Qt::AlignTop);
    grid->addWidget(chkProjectApps, 0, 1, 3, 1);
    grid->addWidget(bbtnAddApp, 0, 2, Qt::AlignTop);
    grid->addWidget(bbtnDeleteApp, 1, 2, Qt::AlignTop);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
}
