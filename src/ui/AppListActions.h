#pragma once

#include <QObject>

#include <memory>

class FilePicker;
class QListWidgetItem;
class TMainScreen;

// The application band's handlers: add and remove an application, and the
// check that makes one of them the primary.
class AppListActions : public QObject {
    Q_OBJECT
public:
    explicit AppListActions(TMainScreen& window);
    ~AppListActions() override;

    // Tests answer the picker from a script.
    void SetFilePicker(FilePicker& filePicker) { picker = &filePicker; }

    void AddAppClick();
    void btnDeleteAppClick();
    void chkProjectAppsClickCheck(QListWidgetItem* item);
    // Leaves no primary: caption, version and the stored paths cleared.
    void ClearPrimary();

private:
    TMainScreen& w;
    std::unique_ptr<FilePicker> dialogPicker;
    FilePicker* picker;
};
