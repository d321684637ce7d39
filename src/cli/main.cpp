// tarnwell-cli: the program's operations without a window, for scripts and
// CI jobs. It works on the same settings file as the window.
#include "Commands.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    return RunCli(QCoreApplication::arguments().mid(1));
}
