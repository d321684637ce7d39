#pragma once

#include "ui/ActionContext.h"

#include <QObject>

#include <functional>

class BrokenLinksPage;
class QLabel;
class QWidget;
class TCancelForm;
class TScanner;
class TSiteLists;

// "Check Web Links" on the Broken Links page: one core operation
// (the addresses asked on a worker thread, the records written on the
// window's) with its log and bar in the scan progress window and the cancel
// window over the main window.
class WebLinkActions : public QObject {
    Q_OBJECT
public:
    struct Pages {
        QWidget* mainWindow; // disabled while the check runs
        BrokenLinksPage* brokenLinks;
        QLabel* editingProject;
    };
    struct WindowCommands {
        TCancelForm* cancelForm;
        TScanner* progressWindow;
        // The broken-link panels and, when there are some, the page to the front.
        std::function<void(bool brokenLinks)> showBrokenLinkState;
    };

    WebLinkActions(const ActionContext& context, TSiteLists& lists, const Pages& pages,
                   WindowCommands commands, QObject* parent);

    void btnCheckWebLinksClick();

private:
    ActionContext context_;
    TSiteLists& lists_;
    Pages pages_;
    WindowCommands commands_;
};
