#include "ui/HelpActions.h"

#include "ui/ContextHelp.h"
#include "ui/HelpViewer.h"
#include "ui/Hints.h"
#include "ui/SlotGuard.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QWindow>

HelpActions::HelpActions(const ActionContext& context, const Pages& pages, QObject* parent)
    : QObject(parent), context_(context), pages_(pages)
{
    connect(pages_.bbtnHelp, &QPushButton::clicked, this, Guarded(this, &HelpActions::bbtnHelpClick));
    qApp->installEventFilter(this);
}

HelpActions::~HelpActions()
{
    qApp->removeEventFilter(this);
}

void HelpActions::SetHelpFolder(const QString& helpFolder)
{
    folder = helpFolder;
    if (viewer)
        viewer->SetFolder(folder);
}

void HelpActions::ShowHelp(int context)
{
    if (!viewer) {
        viewer = std::make_unique<THelpViewer>();
        viewer->SetFolder(folder);
    }
    viewer->ShowTopic(context);
}

void HelpActions::bbtnHelpClick()
{
    ShowHelp(MainHelpContext);
}

void HelpActions::CloseHelp()
{
    if (viewer)
        viewer->close();
}

QWidget* HelpActions::FormOf(QObject* window) const
{
    if (!qobject_cast<QWindow*>(window))
        return nullptr;
    for (QWidget* form : pages_.forms)
        if (form && form->windowHandle() == window)
            return form;
    return nullptr;
}

bool HelpActions::eventFilter(QObject* watched, QEvent* event)
{
    // The press reaches the window before the control under the mouse: taking
    // it there keeps it, and the context menu it would open, from the control.
    if (event->type() == QEvent::MouseButtonRelease && watched == swallowRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        swallowRelease = nullptr;
        return true;
    }
    if (event->type() != QEvent::MouseButtonPress ||
        static_cast<QMouseEvent*>(event)->button() != Qt::RightButton)
        return false;
    // A window disabled for a long operation takes no clicks at all.
    QWidget* form = FormOf(watched);
    if (!form || !form->isEnabled())
        return false;
    const QPoint where = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
    const std::optional<int> context = FindHelpContext(form, where, pages_.currentTabSheet());
    if (!context)
        return false;
    if (*context == 0) {
        context_.UserPrompts().ShowInfo(ProductCaption,
                                        QStringLiteral("Sorry, there is no specific help for that"));
        return false;
    }
    RunGuarded([&] { ShowHelp(*context); });
    swallowRelease = watched;
    return true;
}
