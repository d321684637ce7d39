#pragma once

#include "ui/ActionContext.h"

#include <QObject>

class AppsPanel;
class QListWidgetItem;

// The application band's handlers: add and remove an application, and the
// check that makes one of them the primary.
class AppListActions : public QObject {
    Q_OBJECT
public:
    AppListActions(const ActionContext& context, AppsPanel* apps, QObject* parent);

    void AddAppClick();
    void btnDeleteAppClick();
    void chkProjectAppsClickCheck(QListWidgetItem* item);
    // Leaves no primary: caption, version and the stored paths cleared.
    void ClearPrimary();

private:
    ActionContext context_;
    AppsPanel* apps_;
};
