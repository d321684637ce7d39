#include "ui/SlotGuard.h"

#include "util/TarnwellError.h"

#include <QApplication>
#include <QMessageBox>

namespace {

ErrorReporter& Reporter()
{
    static ErrorReporter reporter = &ShowErrorBox;
    return reporter;
}

} // namespace

void SetErrorReporter(ErrorReporter reporter)
{
    Reporter() = std::move(reporter);
}

void ShowErrorBox(const QString& message)
{
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Tarnwell"), message);
}

bool RunGuarded(const std::function<void()>& handler)
{
    try {
        handler();
        return true;
    } catch (const TarnwellError& error) {
        Reporter()(error.Message());
        return false;
    }
}
