#include "ui/ColorButton.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace {

// Width of the platform's push-button frame that the face sits inside.
constexpr int FrameWidth = 2;
// Inset of the focus rectangle from the button's edge.
constexpr int FocusInset = 4;

} // namespace

TColorButton::TColorButton(QWidget* parent) : TColorButton(QString(), parent) {}

TColorButton::TColorButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    backColor_ = palette().color(QPalette::Button);
    foreColor_ = palette().color(QPalette::ButtonText);
    hoverColor_ = backColor_;
    rememberedColor_ = backColor_;
}

void TColorButton::SetBackColor(const QColor& color)
{
    if (color == backColor_)
        return;
    backColor_ = color;
    update();
}

void TColorButton::SetForeColor(const QColor& color)
{
    if (color == foreColor_)
        return;
    foreColor_ = color;
    update();
}

void TColorButton::SetHoverColor(const QColor& color)
{
    if (color == hoverColor_)
        return;
    hoverColor_ = color;
    update();
}

void TColorButton::enterEvent(QEnterEvent* event)
{
    // A second enter without a leave must not remember the hover colour as
    // the resting one, or the button would keep the hover colour for good.
    if (!hovering_) {
        hovering_ = true;
        rememberedColor_ = backColor_;
        SetBackColor(hoverColor_);
    }
    QPushButton::enterEvent(event);
}

void TColorButton::leaveEvent(QEvent* event)
{
    EndHover();
    QPushButton::leaveEvent(event);
}

void TColorButton::hideEvent(QHideEvent* event)
{
    // A window hidden under the mouse may never see the leave; the next time
    // it shows, the face must have its own colour again.
    EndHover();
    QPushButton::hideEvent(event);
}

void TColorButton::EndHover()
{
    if (!hovering_)
        return;
    hovering_ = false;
    SetBackColor(rememberedColor_);
}

void TColorButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange)
        update();
    QPushButton::changeEvent(event);
}

bool TColorButton::IsActive() const
{
    return isDefault() || hasFocus();
}

void TColorButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.save();

    const bool pressed = isDown();
    const bool focused = hasFocus();
    const bool active = IsActive();
    const bool enabled = isEnabled();
    QRect rect = this->rect();

    // Rectangles are drawn with a one-pixel pen inside the given rect; Qt's
    // drawRect covers width+1 pixels, hence the adjusted(0, 0, -1, -1).
    if (active || focused) {
        painter.setPen(palette().color(QPalette::Shadow));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        rect.adjust(1, 1, -1, -1);
    }

    if (pressed) {
        painter.setPen(palette().color(QPalette::Dark));
        painter.setBrush(palette().color(QPalette::Button));
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        rect.adjust(1, 1, -1, -1);
        rect.translate(1, 1);
    } else {
        QStyleOptionButton frame;
        frame.initFrom(this);
        frame.rect = rect;
        frame.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
        frame.state |= QStyle::State_Raised;
        if (!enabled)
            frame.state &= ~QStyle::State_Enabled;
        style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &frame, &painter, this);
        rect.adjust(FrameWidth, FrameWidth, -FrameWidth, -FrameWidth);
    }

    painter.fillRect(rect, backColor_);

    painter.setBackgroundMode(Qt::TransparentMode);
    const QString caption = text();
    if (enabled) {
        painter.setPen(foreColor_);
        painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, caption);
    } else {
        // Embossed: a light copy one pixel down and right, the shadow on top.
        const QFontMetrics metrics(font());
        const QSize textSize(metrics.horizontalAdvance(caption), metrics.height());
        const QRect textRect(rect.left() + (rect.width() - textSize.width()) / 2,
                             rect.top() + (rect.height() - textSize.height()) / 2, textSize.width(),
                             textSize.height());
        painter.setPen(palette().color(QPalette::Light));
        painter.drawText(textRect.translated(1, 1), Qt::TextSingleLine, caption);
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawText(textRect, Qt::TextSingleLine, caption);
    }

    if (active && focused) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = this->rect().adjusted(FocusInset, FocusInset, -FocusInset, -FocusInset);
        focus.backgroundColor = backColor_;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }

    painter.restore();
}
