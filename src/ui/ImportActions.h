#pragma once

#include "ui/ActionContext.h"

#include <QObject>

#include <functional>

class ImportPage;
class QLabel;
class QListWidget;
class QWidget;
class SelectFilesPage;
class TCancelForm;
class TSiteLists;

// The Import page: its fields filled when it is shown or the project
// changes, the import folders tied to the project's folders, and "Import
// Site", one core operation (ImportSite) after which the site is scanned
// again.
class ImportActions : public QObject {
    Q_OBJECT
public:
    struct Pages {
        // Disabled while the import runs.
        QWidget* mainWindow;
        ImportPage* import;
        SelectFilesPage* selectFiles;
        QListWidget* accounts; // lbxAccount
        QLabel* editingProject;
    };
    struct WindowCommands {
        TCancelForm* cancelForm;
        // Re-Scan as at the end of an import.
        std::function<void()> reScanAfterImport;
    };

    ImportActions(const ActionContext& context, TSiteLists& lists, const Pages& pages,
                  WindowCommands commands, QObject* parent);

    void TabImportShow();
    // What showing the page fills: the account names and the import
    // folders from the project's. Also run whenever a project is loaded,
    // created or unloaded, since the page may be in front then.
    void FillFields();
    void lbeImportLocalHomeChange(const QString& text);
    void lbeImportLocalRootChange(const QString& text);
    void btnImportSiteClick();

private:
    ActionContext context_;
    TSiteLists& lists;
    Pages pages_;
    WindowCommands commands_;
};
