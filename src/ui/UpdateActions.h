#pragma once

#include "ui/ActionContext.h"

#include <QObject>

class QPushButton;
class QWidget;

// The update check: automatic at start-up once a week, forced by "Check for
// Update"; the update button it shows, which downloads the new release and
// closes the program.
class UpdateActions : public QObject {
    Q_OBJECT
public:
    struct Pages {
        QWidget* window;
        QPushButton* btnUpdate;
        QPushButton* bbtnUpdateCheck;
    };

    UpdateActions(const ActionContext& context, const Pages& pages, QObject* parent);

    void CheckForUpdate(bool forced);
    void bbtnUpdateCheckClick();
    void btnUpdateClick();

private:
    ActionContext context_;
    Pages pages_;
};
