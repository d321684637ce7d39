#include "ui/Hints.h"
#include "ui/MainscreenU.h"
#include "ui/ProjectBar.h"
#include "ui/pages/BuilderPage.h"
#include "ui/pages/MaintenancePage.h"
#include "ui/pages/SelectFilesPage.h"

#include <QCheckBox>
#include <QTabWidget>

void TMainScreen::FormShow()
{
    State.SelectionChanged = false;
    State.TextFileExtensions = DefaultTextFileExtensions;
    SetEditingEnabled(false);
    PageControl1->setCurrentWidget(TabResources);
    MarkActivePage(TabResources);
    TabFolders->setCurrentWidget(TabSelectLocalFiles);
    ShowSoftwareOptions(pnlTop->chkSoftWare->isChecked());
    SetMainScreenHints(this);
    State.CurrentTabSheet = TabSelectLocalFiles;
}

void TMainScreen::FormClose()
{
}
