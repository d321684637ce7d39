#include "ui/pages/MaintenancePage.h"

#include "ui/pages/BrokenLinksPage.h"
#include "ui/pages/LocalFilesPage.h"
#include "ui/pages/LocalFoldersPage.h"
#include "ui/pages/SelectAccountsPage.h"
#include "ui/pages/SelectFilesPage.h"
#include "ui/pages/SiteUploadPage.h"

#include <QTabWidget>
#include <QVBoxLayout>

MaintenancePage::MaintenancePage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabMaintenance"));
    TabFolders = new QTabWidget(this);
    TabFolders->setObjectName(QStringLiteral("TabFolders"));
    TabSelectLocalFiles = new SelectFilesPage(TabFolders);
    TabLocalFiles = new LocalFilesPage(TabFolders);
    TabLocalFolders = new LocalFoldersPage(TabFolders);
    TabBrokenLinks = new BrokenLinksPage(TabFolders);
    TabInternet = new SelectAccountsPage(TabFolders);
    TabSiteUpload = new SiteUploadPage(TabFolders);
    TabFolders->addTab(TabSelectLocalFiles, QStringLiteral("Select Files"));
    TabFolders->addTab(TabLocalFiles, QStringLiteral("Files"));
    TabFolders->addTab(TabLocalFolders, QStringLiteral("Folders"));
    TabFolders->addTab(TabBrokenLinks, QStringLiteral("Broken Links"));
    TabFolders->addTab(TabInternet, QStringLiteral("Select Accounts"));
    TabFolders->addTab(TabSiteUpload, QStringLiteral("Site Upload"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(TabFolders);
}
