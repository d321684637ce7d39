#pragma once

#include "build/BuildRelease.h"
#include "ui/ActionContext.h"

#include <QObject>

#include <functional>

class AppsPanel;
class BuilderPage;
class QLabel;
class SelectAccountsPage;
class SelectFilesPage;
class SiteUploadPage;
class TCancelForm;
class TimeServersPage;
class UploadInstallerPage;
class UtilitiesPage;
class QWidget;

// The Build button and what goes with it: the two build switches, the
// search for the signing tool, and the Upload button the build enables.
// The build itself is one core operation (RunBuild); this class gathers its
// inputs from the pages and shows its outcome.
class BuildActions : public QObject {
    Q_OBJECT
public:
    struct Pages {
        // Disabled while the build runs and brought to the front after it.
        QWidget* mainWindow;
        BuilderPage* builder;
        UploadInstallerPage* upload;
        AppsPanel* apps;
        UtilitiesPage* utilities;
        TimeServersPage* timeServers;
        // What the installer upload reads besides: the project, its site
        // folders and accounts, and the site log's Save button it toggles.
        QLabel* editingProject;
        SelectFilesPage* selectFiles;
        SelectAccountsPage* selectAccounts;
        SiteUploadPage* siteUpload;
    };
    struct WindowCommands {
        // The cancel window.
        TCancelForm* cancelForm;
        // Brings a page of the page control to the front as the current one.
        std::function<void(QWidget*)> showPage;
    };

    BuildActions(const ActionContext& context, const Pages& pages, WindowCommands commands, QObject* parent);

    void btnGetItDoneClick();
    // Each inverts its switch, which stores it as a click on the box would.
    void bbtnTimeStampClick();
    void bbtnAutoUploadClick();
    void btnNoSignToolClick();
    // The installer upload; started by hand or by a build with Auto Upload.
    void bbtnUploadClick();

    // Checks the remembered signing tool (searching when forced or never
    // searched) and shows btnNoSignTool while none is usable.
    void LocateSignTool(bool force);

    BuildInputs GatherInputs() const;

private:
    ActionContext context_;
    Pages pages_;
    WindowCommands commands_;
};
