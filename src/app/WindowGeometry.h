#pragma once

#include <QSize>

class QWidget;
class TAppData;

// A window's place and size as kept in section "Window\" + window name.
struct WindowGeometryValues {
    int top = 0;
    int left = 0;
    int height = 0;
    int width = 0;
};

// Where a window of `window` size starts when nothing is stored: centred on
// a screen of `screen` size (halves rounded toward zero); its size stays.
WindowGeometryValues DefaultWindowGeometry(QSize window, QSize screen);

// Keeps a stored corner on the screen: a left of 0 or less, or at or beyond
// the screen's width, becomes the middle of the screen; the top likewise.
// The window's size is not considered.
WindowGeometryValues ClampWindowGeometry(WindowGeometryValues values, QSize screen);

// Reads the stored values (falling back on DefaultWindowGeometry) and clamps
// them. Without size, the window's own size is returned. Throws
// TarnwellError when a stored value is not an integer; nothing is applied
// then.
// With a valid `design`, a window with no stored corner is centred as a
// window of that size would be, whatever size it has at the moment.
WindowGeometryValues ReadWindowGeometry(const TAppData& store, const QString& windowName, QSize window,
                                        QSize screen, bool withSize, QSize design = QSize());
// Writes "top", "left" and, with size, "height" and "width", in that order.
void WriteWindowGeometry(TAppData& store, const QString& windowName, const WindowGeometryValues& values,
                         bool withSize);

// The window's name (objectName) picks the section; the primary screen's size
// is the screen.
void LoadWindowGeometry(TAppData& store, QWidget& window, bool withSize, QSize design = QSize());
void SaveWindowGeometry(TAppData& store, const QWidget& window, bool withSize);
