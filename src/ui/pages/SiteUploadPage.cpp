#include "ui/pages/SiteUploadPage.h"

#include "ui/Controls.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

SiteUploadPage::SiteUploadPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSiteUpload"));
    SiteUploadProgress = MakeMemo(this, QStringLiteral("SiteUploadProgress"), QStringLiteral("Waiting"));
    pBarSiteFile = MakeProgressBar(this, QStringLiteral("pBarSiteFile"));
    pBarSiteFiles = MakeProgressBar(this, QStringLiteral("pBarSiteFiles"));
    bbtnUploadSite = MakeButton(this, QStringLiteral("bbtnUploadSite"), QStringLiteral("Updated"));
    bbtnUploadAll = MakeButton(this, QStringLiteral("bbtnUploadAll"), QStringLiteral("ALL"));
    bbtnEntire = MakeButton(this, QStringLiteral("bbtnEntire"), QStringLiteral("Entire Site"));
    chkDeleteOrphans =
        MakeCheckBox(this, QStringLiteral("chkDeleteOrphans"), QStringLiteral("Delete orphans"));
    bbtnPreview = MakeButton(this, QStringLiteral("bbtnPreview"), QStringLiteral("Preview"));
    auto* previewMenu = new QMenu(bbtnPreview);
    actPreviewUpdated = previewMenu->addAction(QStringLiteral("Updated"));
    actPreviewUpdated->setObjectName(QStringLiteral("actPreviewUpdated"));
    actPreviewAll = previewMenu->addAction(QStringLiteral("ALL"));
    actPreviewAll->setObjectName(QStringLiteral("actPreviewAll"));
    actPreviewEntire = previewMenu->addAction(QStringLiteral("Entire Site"));
    actPreviewEntire->setObjectName(QStringLiteral("actPreviewEntire"));
    bbtnPreview->setMenu(previewMenu);
    bbtnSaveUploadLog = MakeButton(this, QStringLiteral("bbtnSaveUploadLog"), QStringLiteral("Save Log"));
    bbtnSaveUploadLog->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    // Nothing to save until a run has written its summary.
    bbtnSaveUploadLog->setEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->setSpacing(3);
    layout->addWidget(SiteUploadProgress, 1);
    layout->addWidget(pBarSiteFile);
    layout->addWidget(pBarSiteFiles);
    // The buttons spread evenly over the width, the check box beside the
    // button it goes with.
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : {bbtnUploadSite, bbtnUploadAll, bbtnEntire, bbtnPreview, bbtnSaveUploadLog}) {
        button->setMinimumWidth(110);
        buttons->addWidget(button);
        if (button == bbtnEntire)
            buttons->addWidget(chkDeleteOrphans);
        buttons->addStretch(1);
    }
    layout->addLayout(buttons);
}
