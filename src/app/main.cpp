#include "ui/MainscreenU.h"
#include "ui/QtPrompts.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwell"));
    QtPrompts prompts;
    TMainScreen MainScreen(prompts);
    MainScreen.show();
    return app.exec();
}
