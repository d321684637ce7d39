#pragma once

#include <QObject>
#include <QString>

class TAppData;
class TMainScreen;
struct TProjectFields;

// The project bar's handlers: new, load, save, reload, delete and the
// software switch. The fields live on several pages; the store's rules live
// in the core (ProjectStore).
class ProjectActions : public QObject {
    Q_OBJECT
public:
    explicit ProjectActions(TMainScreen& window);

    void btnNewClick();
    void btnSelectProjectClick();
    void btnSaveClick();
    void btnAbandonClick();
    void btnDeleteProjectClick();
    void chkSoftWareClick();
    // The two build switches are stored on every click, not by SaveProject.
    void cbxtimeStampClick();
    void cbxAutoUploadClick();

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

    TMainScreen& w;
};
