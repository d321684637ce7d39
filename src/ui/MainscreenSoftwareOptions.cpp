#include "ui/AppsPanel.h"
#include "ui/MainscreenU.h"
#include "ui/ProjectBar.h"
#include "ui/pages/BuilderPage.h"
#include "ui/pages/TimeServersPage.h"
#include "ui/pages/UploadInstallerPage.h"
#include "ui/pages/UtilitiesPage.h"

#include <QTabWidget>

void TMainScreen::ShowSoftwareOptions(bool visible)
{
    pnlApps->setVisible(visible);
    for (QWidget* sheet : {static_cast<QWidget*>(TabResources), static_cast<QWidget*>(TabUpload),
                           static_cast<QWidget*>(tabTimeServers)})
        PageControl1->setTabVisible(PageControl1->indexOf(sheet), visible);
    TabPrograms->pnlInnoSetup->setVisible(visible);
    FitWindowHeight();
}

void TMainScreen::FitWindowHeight()
{
    // The bands decide the height; the user may change the width only.
    int height = pnlTop->height() + PageControl1->height();
    if (!pnlApps->isHidden())
        height += pnlApps->height();
    setFixedHeight(height);
}
