#include "app/TarnwellApplication.h"
#include "ui/CancelFormU.h"
#include "ui/MainscreenU.h"
#include "ui/QtShellServices.h"
#include "ui/ScannerU.h"
#include "util/SingleInstance.h"
#include "util/TarnwellError.h"

namespace {

// The three windows, in their order, and the message loop.
int Run()
{
    QtShellServices services;
    TMainScreen MainScreen(services.Services());
    if (!MainScreen.StoreReady())
        return 1;
    TScanner Scanner;
    TCancelForm CancelForm;
    MainScreen.Scanner = &Scanner;
    MainScreen.CancelForm = &CancelForm;
    MainScreen.show();
    return TarnwellApplication::exec();
}

} // namespace

int main(int argc, char* argv[])
{
    // Before anything else: a second copy ends at once, silently, touching nothing.
    SingleInstanceGuard guard;
    const SingleInstanceGuard::Outcome outcome = guard.Acquire();
    if (outcome == SingleInstanceGuard::Outcome::AnotherRuns)
        return 0;

    TarnwellApplication app(argc, argv);
    if (outcome == SingleInstanceGuard::Outcome::Failed) {
        TarnwellApplication::ShowErrorBox(guard.ErrorText());
        return 1;
    }
    int result = 1;
    try {
        result = Run();
    } catch (const TarnwellError& error) {
        // Outside the message loop (the store's set-up), nothing can go on.
        TarnwellApplication::ShowErrorBox(error.Message());
    }
    guard.Release();
    return result;
}
