#pragma once

#include "ui/ActionContext.h"

#include <QObject>

#include <functional>

class BrokenLinksPage;
class LocalFilesPage;
class LocalFoldersPage;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class ScanWindow;
class SelectFilesPage;
class TSiteLists;
struct TSiteScanContext;
struct TScanOutcome;
struct TEditTarget;

// The site lists' handlers: Scan Files, Re-Scan, the check clicks of
// clbxFiles, the broken-link panels and the Edit buttons. The lists
// themselves are one model (TSiteLists) that the four list widgets follow.
class SiteActions : public QObject {
    Q_OBJECT
public:
    struct Pages {
        SelectFilesPage* selectFiles;
        LocalFilesPage* localFiles;
        LocalFoldersPage* localFolders;
        BrokenLinksPage* brokenLinks;
        QLabel* editingProject;
        QLineEdit* editor;
        QCheckBox* chkEnable;
    };
    struct WindowCommands {
        // The scan progress window (null: none, the scan shows nothing).
        ScanWindow* scanWindow;
        // Brings Site Maintenance, Broken Links to the front.
        std::function<void()> showBrokenLinksPage;
    };

    SiteActions(const ActionContext& context, TSiteLists& lists, const Pages& pages, WindowCommands commands,
                QObject* parent);

    void UpdateFilesAndFolders();
    // afterImport: the end of a site import, which runs Scan Files first.
    void doReScan(bool afterImport = false);
    void ScanSite();
    void SaveFileSelection();
    void ShowBrokenLinkState(bool brokenLinks);

    enum class EditSender { LocalFiles, AllFiles, BrokenLinks };
    void btnEditClick(EditSender sender);

private:
    TSiteScanContext Context(ScanWindow& window) const;
    // Runs scan on the worker thread (see ScanOnWorker).
    TScanOutcome Scan(const std::function<TScanOutcome(const TSiteScanContext&)>& scan);
    void Follow(const TScanOutcome& outcome);
    void clbxFilesClickCheck(QListWidgetItem* item);
    void ShowFiles();
    void ShowCheck(int row, bool checked);
    static int SelectedRow(const QListWidget* list);

    ActionContext context_;
    TSiteLists& lists;
    Pages pages_;
    WindowCommands commands_;
};
