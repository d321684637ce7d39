#include "QtPrompts.h"

#include "util/PromptText.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QMessageBox::StandardButton ShowBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                    QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, caption, PromptDisplayText(text), buttons, QApplication::activeWindow());
    // Paths and page lines may hold "<": never read the text as markup.
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    return QMessageBox::StandardButton(box.exec());
}

} // namespace

void QtPrompts::ShowInfo(const QString& caption, const QString& text)
{
    ShowBox(QMessageBox::Information, caption, text, QMessageBox::Ok);
}

int QtPrompts::AskQuestion(const QString& caption, const QString& text, int buttons)
{
    if (buttons == MB_OK) {
        ShowBox(QMessageBox::Question, caption, text, QMessageBox::Ok);
        return IDOK;
    }
    const auto pressed = ShowBox(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No);
    return pressed == QMessageBox::Yes ? IDYES : IDNO;
}
