#include "ui/AppsPanel.h"

#include "ui/Controls.h"

#include <QGridLayout>
#include <QHBoxLayout>
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
    chkProjectApps = MakeCheckList(this, QStringLiteral("chkProjectApps"));
    bbtnAddApp = MakeButton(this, QStringLiteral("bbtnAddApp"), QStringLiteral("App"));
    bbtnAddApp->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    bbtnDeleteApp = MakeButton(this, QStringLiteral("bbtnDeleteApp"), QStringLiteral("App"));
    bbtnDeleteApp->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    // Both buttons share one width, so they line up at the right edge.
    const int buttonWidth = qMax(bbtnAddApp->sizeHint().width(), bbtnDeleteApp->sizeHint().width());
    bbtnAddApp->setFixedWidth(buttonWidth);
    bbtnDeleteApp->setFixedWidth(buttonWidth);

    // The version follows the primary's name at 8 pixels.
    auto* primary = new QHBoxLayout;
    primary->setSpacing(VersionGap);
    primary->addWidget(lblPrimaryApp);
    primary->addWidget(lblVersion);
    primary->addStretch(1);

    // The buttons sit 2 pixels from the right edge and the list ends 8
    // pixels before them, whatever the width.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 2, ButtonMargin, 4);
    grid->setHorizontalSpacing(ListGap);
    grid->setVerticalSpacing(2);
    grid->addLayout(primary, 0, 0);
    grid->addWidget(chkProjectApps, 1, 0, 3, 1);
    grid->addWidget(bbtnAddApp, 1, 1, Qt::AlignTop);
    grid->addWidget(bbtnDeleteApp, 2, 1, Qt::AlignTop);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(3, 1);
}
