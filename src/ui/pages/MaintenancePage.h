#pragma once

#include <QWidget>

class QTabWidget;
class SelectFilesPage;
class LocalFilesPage;
class LocalFoldersPage;
class BrokenLinksPage;
class SelectAccountsPage;
class SiteUploadPage;

// "Site Maintenance" (TabMaintenance): holds the inner page control TabFolders.
class MaintenancePage : public QWidget {
    Q_OBJECT
public:
    explicit MaintenancePage(QWidget* parent = nullptr);

    QTabWidget* TabFolders;
    SelectFilesPage* TabSelectLocalFiles;
    LocalFilesPage* TabLocalFiles;
    LocalFoldersPage* TabLocalFolders;
    BrokenLinksPage* TabBrokenLinks;
    SelectAccountsPage* TabInternet;
    SiteUploadPage* TabSiteUpload;
};
