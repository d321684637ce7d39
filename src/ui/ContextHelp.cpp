#include "ui/ContextHelp.h"

#include "ui/Hints.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextEdit>

namespace {

bool IsPointedKind(const QWidget* w)
{
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QTextEdit*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QScrollBar*>(w) ||
           qobject_cast<const QProgressBar*>(w) || qobject_cast<const QLabel*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QKeySequenceEdit*>(w) ||
           qobject_cast<const QAbstractItemView*>(w);
}

// The caption made beside an edit: named after it, with the edit as buddy.
bool IsEditCaption(const QWidget* w)
{
    const auto* label = qobject_cast<const QLabel*>(w);
    const QWidget* buddy = label ? label->buddy() : nullptr;
    return buddy && qobject_cast<const QLineEdit*>(buddy) &&
           label->objectName() == buddy->objectName() + QStringLiteral("Label");
}

// A page of a tab widget: the child of the tab widget's page stack.
bool IsTabPage(const QWidget* w)
{
    const QWidget* stack = w->parentWidget();
    return stack && qobject_cast<const QStackedWidget*>(stack) && stack->parentWidget() &&
           qobject_cast<const QTabWidget*>(stack->parentWidget());
}

} // namespace

bool TakesPart(const QWidget* control)
{
    // Widgets that Qt makes inside its own (viewports, inner edits, tab
    // bars) carry no name or one beginning with "qt_".
    const QString name = control->objectName();
    if (name.isEmpty() || name.startsWith(QStringLiteral("qt_")))
        return false;
    return IsPointedKind(control) && !IsEditCaption(control);
}

bool IsOnCurrentTab(const QWidget* control, const QWidget* currentTabSheet)
{
    for (const QWidget* w = control->parentWidget(); w && !w->isWindow(); w = w->parentWidget())
        if (IsTabPage(w)) {
            if (w != currentTabSheet)
                return false;
            break;
        }
    return control->isVisible();
}

std::optional<int> FindHelpContext(QWidget* form, QPoint globalPos, const QWidget* currentTabSheet)
{
    for (QWidget* control : form->findChildren<QWidget*>()) {
        if (control->isWindow() || !TakesPart(control) || !IsOnCurrentTab(control, currentTabSheet))
            continue;
        if (QRect(control->mapToGlobal(QPoint(0, 0)), control->size()).contains(globalPos))
            return HelpContext(control);
    }
    return std::nullopt;
}
