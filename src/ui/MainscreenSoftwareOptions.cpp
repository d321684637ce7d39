#include "ui/AppsPanel.h"
#include "ui/MainscreenU.h"
#include "ui/ProjectBar.h"

#include <QTabWidget>

void TMainScreen::ShowSoftwareOptions(bool visible)
{
    pnlApps->setVisible(visible);
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
