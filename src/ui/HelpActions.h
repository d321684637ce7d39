#pragma once

#include "ui/ActionContext.h"

#include <QList>
#include <QObject>

#include <functional>
#include <memory>

class QPushButton;
class THelpViewer;

// The help: the help button, the right click that opens a control's topic,
// and the help window, closed when the program closes.
class HelpActions : public QObject {
    Q_OBJECT
public:
    struct Pages {
        QPushButton* bbtnHelp;
        // The program's windows whose controls take part in the right click.
        QList<QWidget*> forms;
        std::function<QWidget*()> currentTabSheet;
    };

    HelpActions(const ActionContext& context, const Pages& pages, QObject* parent);
    ~HelpActions() override;

    // Where the pages are; set once at start-up.
    void SetHelpFolder(const QString& folder);
    // Opens the help window at a context's topic.
    void ShowHelp(int context);
    void bbtnHelpClick();
    void CloseHelp();
    // Null until the help was first opened.
    THelpViewer* Viewer() const { return viewer.get(); }

protected:
    // Sees every mouse press of the program's windows before any control
    // does: a right click over a control with a help context opens its topic
    // and goes no further; over one without, the user hears so and the
    // control gets the click.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* FormOf(QObject* window) const;

    ActionContext context_;
    Pages pages_;
    QString folder;
    std::unique_ptr<THelpViewer> viewer;
    // The window whose right-button press was taken: its release is taken too.
    QObject* swallowRelease = nullptr;
};
