#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Top-left corner that centres a window of size `child` on the window whose
// frame is `owner`: owner's top + half its height - half the child's height,
// likewise for the left. Each half is an integer division rounded toward zero.
QPoint CentredOn(const QRect& owner, const QSize& child);

// Moves `child` (a top-level window) so that it is centred on `owner`'s frame.
// Every long operation places its cancel window through this.
void PlaceCentredOn(QWidget& child, const QWidget& owner);
