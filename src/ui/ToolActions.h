#pragma once

#include "ui/ActionContext.h"

#include <QList>
#include <QObject>
#include <QString>

class BuilderPage;
class ImportPage;
class QLineEdit;
class SelectFilesPage;
class TimeServersPage;
class UtilitiesPage;

// The outside tools' locations, the time-stamp servers, the password's
// display, and the pickers behind the path fields of every page: a
// double-click on a path field opens its picker.
class ToolActions : public QObject {
    Q_OBJECT
public:
    struct Pages {
        UtilitiesPage* utilities;
        TimeServersPage* timeServers;
        BuilderPage* builder;
        SelectFilesPage* selectFiles;
        ImportPage* import;
    };

    ToolActions(const ActionContext& context, const Pages& pages, QObject* parent);

    // Stores a tool field's text under its entry, on every change.
    void ProgramChange(QLineEdit* field);
    // Stores the signing tool typed or picked, with its own quotes, in place
    // of the one the search found, and shows the signing fields when it is
    // there.
    void SignToolChange();
    void btnAddTimeServerClick();
    void btnDeleteTimeServerClick();
    // 'u' or 'd'.
    void DoMoveServer(QChar direction);
    void pfxShowPassClick();
    // Opens the picker of the path field `sender` and puts the choice there.
    void BrowseClick(QObject* sender);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What a path field's double-click opens.
    struct Browse {
        QLineEdit* target;
        bool folder;
        bool allowNewFolder;
        QString title;
        QString filter;
    };

    ActionContext context_;
    Pages pages_;
    QList<Browse> browses;
};
