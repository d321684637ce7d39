#pragma once

#include <QWidget>

#include <atomic>

class TColorButton;

// The small borderless window with one big red button that every long
// operation shows over the main window. A click sets Cancelled; the
// operation reads it at its check points.
class TCancelForm : public QWidget {
    Q_OBJECT

public:
    static constexpr int ClientWidth = 203;
    static constexpr int ClientHeight = 113;

    // Parentless by default: the main window is disabled while an operation
    // runs, and a child window would be disabled with it.
    explicit TCancelForm(QWidget* parent = nullptr);

    // Set by a click; cleared only when the window becomes visible. Hiding
    // the window keeps it, so an operation may read it after closing. The
    // operation reads it from its worker thread.
    bool Cancelled() const { return cancelled_; }

    // What a long operation does to start: centre the window on `owner`,
    // put `caption` ("Cancel Build", ...) on the button and show the window
    // (not modal). Showing it while visible changes nothing.
    void ShowOver(const QWidget& owner, const QString& caption);

    TColorButton* CancelButton = nullptr;

public slots:
    void CancelButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::atomic<bool> cancelled_ = false;
};
