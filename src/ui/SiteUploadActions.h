#pragma once

#include "publish/SiteUpload.h"
#include "ui/ActionContext.h"
#include "ui/OperationScope.h"

#include <QObject>

#include <functional>
#include <optional>

class BrokenLinksPage;
class QLabel;
class QWidget;
class SelectAccountsPage;
class SelectFilesPage;
class SiteUploadPage;
class TCancelForm;
class TSiteLists;

// The three upload buttons of the Site Upload page ("Updated", "ALL",
// "Entire Site"). The run itself is one core operation (DoUpload); this
// class gathers its inputs from the pages, lends it the window for the
// checks, the cancel window and the log, and shows its end.
class SiteUploadActions : public QObject {
    Q_OBJECT
public:
    struct Pages {
        // Disabled while files are sent.
        QWidget* mainWindow;
        SiteUploadPage* siteUpload;
        SelectFilesPage* selectFiles;
        SelectAccountsPage* selectAccounts;
        BrokenLinksPage* brokenLinks;
        QLabel* editingProject;
    };
    struct WindowCommands {
        // The cancel window.
        TCancelForm* cancelForm;
        // Scan Files, as its button runs it.
        std::function<void()> rescan;
        // Brings a page of Site Maintenance to the front as the current one.
        std::function<void(QWidget*)> showSubPage;
    };

    SiteUploadActions(const ActionContext& context, const TSiteLists& lists, const Pages& pages,
                      WindowCommands commands, QObject* parent);

    // The click of one of the three buttons.
    void DoUpload(UploadMode mode);
    // A choice of the Preview button's menu: the log lists what that mode
    // would send, account by account; nothing is sent or recorded.
    void Preview(UploadMode mode);

    SiteUploadInputs GatherInputs(UploadMode mode) const;

private:
    QWidget* PageOf(UploadPage page) const;
    // The commands that disable the main window and show the cancel window
    // from the worker, kept in scope until the operation ends.
    SiteUploadWindow OperationSpan(std::optional<OperationScope>& scope) const;

    ActionContext context_;
    const TSiteLists& lists;
    Pages pages_;
    WindowCommands commands_;
};
