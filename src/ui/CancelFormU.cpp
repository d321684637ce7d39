#include "ui/CancelFormU.h"

#include "ui/ColorButton.h"
#include "ui/Placement.h"
#include "ui/SlotGuard.h"

#include <QFont>
#include <QShowEvent>
#include <QVBoxLayout>

TCancelForm::TCancelForm(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("CancelForm"));
    setFixedSize(ClientWidth, ClientHeight);
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(16);
    setFont(arial);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);

    CancelButton = new TColorButton(QStringLiteral("Cancel Operation"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->SetBackColor(Qt::red);
    // The layout keeps the button filling the window on every side.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(CancelButton);
    CancelButton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    connect(CancelButton, &QPushButton::clicked, this, Guarded(this, &TCancelForm::CancelButtonClick));
}

void TCancelForm::CancelButtonClick()
{
    cancelled_ = true;
}

void TCancelForm::ShowOver(const QWidget& owner, const QString& caption)
{
    PlaceCentredOn(*this, owner);
    CancelButton->setText(caption);
    show();
    raise();
    activateWindow();
}

void TCancelForm::showEvent(QShowEvent* event)
{
    // Only a real change from hidden to visible starts a fresh operation; a
    // window-system re-expose is not one.
    if (!event->spontaneous())
        cancelled_ = false;
    QWidget::showEvent(event);
}
