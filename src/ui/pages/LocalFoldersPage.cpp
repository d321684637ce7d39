#include "ui/pages/LocalFoldersPage.h"

#include "ui/Controls.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

LocalFoldersPage::LocalFoldersPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabLocalFolders"));
    lbxLocalFolders = MakeList(this, QStringLiteral("lbxLocalFolders"));
    lblLocalFolders =
        MakeLabel(this, QStringLiteral("lblLocalFolders"),
                  QStringLiteral("These are the folders containg files currently considered for upload"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 2, 4);
    layout->setSpacing(3);
    layout->addWidget(lbxLocalFolders, 1);
    layout->addWidget(lblLocalFolders);
}
