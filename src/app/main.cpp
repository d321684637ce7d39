#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwell"));
    QMainWindow window;
    window.setObjectName(QStringLiteral("MainScreen"));
    window.setWindowTitle(QStringLiteral("Tarnwell"));
    window.resize(746, 655);
    window.show();
    return app.exec();
}
