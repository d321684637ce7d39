#pragma once

#include "ui/ActionContext.h"

#include <QObject>
#include <QString>

#include <functional>

class AppsPanel;
class BuilderPage;
class ProjectBar;
class SelectAccountsPage;
class SelectFilesPage;
class QListWidget;
class TSiteLists;
struct TProjectFields;

// The project bar's handlers: new, load, save, reload, delete and the
// software switch. The fields live on several pages; the store's rules live
// in the core (ProjectStore).
class ProjectActions : public QObject {
    Q_OBJECT
public:
    struct Pages {
        ProjectBar* bar;
        AppsPanel* apps;
        BuilderPage* builder;
        SelectFilesPage* selectFiles;
        SelectAccountsPage* selectAccounts;
        // The account names, for deleting a project's upload records.
        QListWidget* accounts;
        // Emptied when another project is loaded or the loaded one deleted.
        TSiteLists* siteLists;
    };
    // What the window does for the project bar: the editing lock and the
    // software switch.
    struct WindowCommands {
        std::function<void(bool)> setEditingEnabled;
        std::function<void(bool)> showSoftwareOptions;
        // The site scan of the loaded project, and storing its selection.
        std::function<void()> scanSite;
        std::function<void()> saveFileSelection;
        // Refills the Import page's fields from the project's, so that an
        // import never goes into the folders of a project no longer loaded.
        std::function<void()> projectChanged;
    };

    ProjectActions(const ActionContext& context, const Pages& pages, WindowCommands commands,
                   QObject* parent);

    void btnNewClick();
    void btnSelectProjectClick();
    void btnSaveClick();
    void btnAbandonClick();
    void btnDeleteProjectClick();
    void chkSoftWareClick();
    // The two build switches are stored on every click, not by SaveProject.
    void cbxtimeStampClick();
    void cbxAutoUploadClick();
    void chkPageRelativeClick();

    // Fills the fields of the project named by lblEditingProject.
    void LoadProject();
    // Writes the fields of that project; nothing when none is loaded.
    void SaveProject();
    void ClearSiteLists();

    QString EditingProject() const;

private:
    TProjectFields GatherFields() const;
    void ShowFields(const TProjectFields& fields);
    QString SelectedProject() const;

    ActionContext context_;
    Pages pages_;
    WindowCommands commands_;
};
