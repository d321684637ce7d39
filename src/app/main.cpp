#include "app/SingleInstance.h"
#include "app/TarnwellApplication.h"
#include "ui/CancelFormU.h"
#include "ui/MainscreenU.h"
#include "ui/QtPrompts.h"
#include "ui/ScannerU.h"

int main(int argc, char* argv[])
{
    // Before anything else: a second copy ends at once, silently, touching nothing.
    SingleInstanceGuard guard;
    switch (guard.Acquire()) {
    case SingleInstanceGuard::Outcome::Acquired:
        break;
    case SingleInstanceGuard::Outcome::AnotherRuns:
        return 0;
    case SingleInstanceGuard::Outcome::Failed: {
        TarnwellApplication app(argc, argv);
        TarnwellApplication::ShowErrorBox(guard.ErrorText());
        return 1;
    }
    }

    TarnwellApplication app(argc, argv);
    QtPrompts prompts;
    TMainScreen MainScreen(prompts);
    if (!MainScreen.StoreReady())
        return 1;
    TScanner Scanner;
    TCancelForm CancelForm;
    MainScreen.Scanner = &Scanner;
    MainScreen.CancelForm = &CancelForm;
    MainScreen.show();
    const int result = TarnwellApplication::exec();
    guard.Release();
    return result;
}
