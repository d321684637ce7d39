#include "ui/TabMarker.h"

#include <QTabWidget>

QString MarkedCaption(const QString& caption)
{
    if (caption.contains(PageMarker))
        return caption;
    return PageMarker + caption + PageMarker;
}

QString UnmarkedCaption(const QString& caption)
{
    QString plain = caption;
    // Twice: removing one run can join blanks into a new one.
    plain.remove(PageMarker);
    plain.remove(PageMarker);
    return plain;
}

void MarkPageCaption(QTabWidget* pages, const QWidget* sheet)
{
    for (int i = 0; i < pages->count(); ++i) {
        const QString caption = pages->tabText(i);
        pages->setTabText(i, pages->widget(i) == sheet ? MarkedCaption(caption) : UnmarkedCaption(caption));
    }
}
