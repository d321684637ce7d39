#include "app/WindowGeometry.h"

#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

int ClampStart(int start, int screenExtent)
{
    return (start <= 0 || start >= screenExtent) ? screenExtent / 2 : start;
}

QSize ScreenSizeFor(const QWidget& window)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        screen = window.screen();
    return screen != nullptr ? screen->geometry().size() : QSize();
}

} // namespace

WindowGeometryValues DefaultWindowGeometry(QSize window, QSize screen)
{
    WindowGeometryValues values;
    values.top = screen.height() / 2 - window.height() / 2;
    values.left = screen.width() / 2 - window.width() / 2;
    values.height = window.height();
    values.width = window.width();
    return values;
}

WindowGeometryValues ClampWindowGeometry(WindowGeometryValues values, QSize screen)
{
    values.left = ClampStart(values.left, screen.width());
    values.top = ClampStart(values.top, screen.height());
    return values;
}

WindowGeometryValues ReadWindowGeometry(const TAppData& store, const QString& windowName, QSize window,
                                        QSize screen, bool withSize, QSize design)
{
    const QString section = Schema::WindowSection(windowName);
    WindowGeometryValues defaults = DefaultWindowGeometry(window, screen);
    if (design.isValid()) {
        const WindowGeometryValues designed = DefaultWindowGeometry(design, screen);
        defaults.top = designed.top;
        defaults.left = designed.left;
    }
    WindowGeometryValues values = defaults;
    values.top = store.ReadInteger(section, Schema::KeyTop, defaults.top);
    values.left = store.ReadInteger(section, Schema::KeyLeft, defaults.left);
    if (withSize) {
        values.height = store.ReadInteger(section, Schema::KeyHeight, defaults.height);
        values.width = store.ReadInteger(section, Schema::KeyWidth, defaults.width);
    }
    return ClampWindowGeometry(values, screen);
}

void WriteWindowGeometry(TAppData& store, const QString& windowName, const WindowGeometryValues& values,
                         bool withSize)
{
    const QString section = Schema::WindowSection(windowName);
    store.WriteInteger(section, Schema::KeyTop, values.top);
    store.WriteInteger(section, Schema::KeyLeft, values.left);
    if (withSize) {
        store.WriteInteger(section, Schema::KeyHeight, values.height);
        store.WriteInteger(section, Schema::KeyWidth, values.width);
    }
}

void LoadWindowGeometry(TAppData& store, QWidget& window, bool withSize, QSize design)
{
    const WindowGeometryValues values = ReadWindowGeometry(store, window.objectName(), window.size(),
                                                           ScreenSizeFor(window), withSize, design);
    // move() places the frame's corner, which is what x()/y() give back on save.
    window.move(values.left, values.top);
    if (withSize)
        window.resize(values.width, values.height);
}

void SaveWindowGeometry(TAppData& store, const QWidget& window, bool withSize)
{
    WindowGeometryValues values;
    values.top = window.y();
    values.left = window.x();
    values.height = window.height();
    values.width = window.width();
    WriteWindowGeometry(store, window.objectName(), values, withSize);
}
