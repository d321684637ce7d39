#include "ui/Placement.h"

#include <QWidget>

namespace {

// C++ division already truncates toward zero; spelt out so nobody "fixes" it
// into a shift or a floor.
int HalfTowardZero(int value)
{
    return value / 2;
}

} // namespace

QPoint CentredOn(const QRect& owner, const QSize& child)
{
    const int left = owner.left() + HalfTowardZero(owner.width()) - HalfTowardZero(child.width());
    const int top = owner.top() + HalfTowardZero(owner.height()) - HalfTowardZero(child.height());
    return QPoint(left, top);
}

void PlaceCentredOn(QWidget& child, const QWidget& owner)
{
    // Frame sizes on both sides: move() places the frame's corner.
    child.move(CentredOn(owner.frameGeometry(), child.frameGeometry().size()));
}
