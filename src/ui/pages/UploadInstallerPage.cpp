#include "ui/pages/UploadInstallerPage.h"

#include "ui/Controls.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

UploadInstallerPage::UploadInstallerPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabUpload"));
    ProgressPane = MakeMemo(this, QStringLiteral("ProgressPane"), QStringLiteral("Waiting"));
    pBarInstallerFile = MakeProgressBar(this, QStringLiteral("pBarInstallerFile"));
    pBarInstallerFiles = MakeProgressBar(this, QStringLiteral("pBarInstallerFiles"));
    Label7 = MakeLabel(
        this, QStringLiteral("Label7"),
        QStringLiteral("Click upload when you are ready to upload your software update to site(s)"));
    Label7->setWordWrap(true);
    bbtnUpload = MakeButton(this, QStringLiteral("bbtnUpload"), QStringLiteral("Upload"));
    bbtnUpload->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    bbtnSaveSoftUploadLog =
        MakeButton(this, QStringLiteral("bbtnSaveSoftUploadLog"), QStringLiteral("Save Log"));
    bbtnSaveSoftUploadLog->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->setSpacing(3);
    layout->addWidget(ProgressPane, 1);
    layout->addWidget(pBarInstallerFile);
    layout->addWidget(pBarInstallerFiles);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(6, 0, 2, 0);
    buttons->setSpacing(2);
    buttons->addWidget(Label7, 1);
    buttons->addWidget(bbtnUpload);
    buttons->addWidget(bbtnSaveSoftUploadLog);
    layout->addLayout(buttons);
}
