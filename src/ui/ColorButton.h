#pragma once

#include <QColor>
#include <QPushButton>

// A push button that draws its own face: face colour, caption colour and a
// face colour for while the mouse is over it. The cancel window's big red
// button is one.
class TColorButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(QColor BackColor READ BackColor WRITE SetBackColor)
    Q_PROPERTY(QColor ForeColor READ ForeColor WRITE SetForeColor)
    Q_PROPERTY(QColor HoverColor READ HoverColor WRITE SetHoverColor)

public:
    explicit TColorButton(QWidget* parent = nullptr);
    explicit TColorButton(const QString& caption, QWidget* parent = nullptr);

    QColor BackColor() const { return backColor_; }
    QColor ForeColor() const { return foreColor_; }
    QColor HoverColor() const { return hoverColor_; }
    // Each setter repaints when the colour changes.
    void SetBackColor(const QColor& color);
    void SetForeColor(const QColor& color);
    void SetHoverColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void EndHover();
    // "Active": the button Return would press (the default one, or the one with focus).
    bool IsActive() const;

    QColor backColor_;
    QColor foreColor_;
    QColor hoverColor_;
    QColor rememberedColor_;
    bool hovering_ = false;
};
