#include "TarnwellVersion.h"
#include "app/HelpLocation.h"
#include "app/TarnwellApplication.h"
#include "ui/MainscreenU.h"
#include "ui/QtShellServices.h"
#include "util/SingleInstance.h"
#include "util/TarnwellError.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

namespace {

// The main window (which makes its scan and cancel windows) and the
// message loop.
int Run()
{
    QtShellServices services;
    TMainScreen MainScreen(services.Services());
    if (!MainScreen.StoreReady())
        return 1;
    MainScreen.show();
    return TarnwellApplication::exec();
}

// "--help-folder": prints where the program finds its help pages and ends
// (exit 1 when it finds none), touching neither settings nor windows; for
// checking an installation.
int PrintHelpFolder(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString folder = LocateHelpFolder(QCoreApplication::applicationDirPath());
    if (folder.isEmpty()) {
        std::fputs("no help pages found\n", stderr);
        return 1;
    }
    std::printf("%s\n", folder.toLocal8Bit().constData());
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 2 && std::strcmp(argv[1], "--help-folder") == 0)
        return PrintHelpFolder(argc, argv);
    // As tarnwell-cli prints it; touches neither settings nor windows.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("tarnwell %s\n", TARNWELL_VERSION_TEXT);
        return 0;
    }
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
