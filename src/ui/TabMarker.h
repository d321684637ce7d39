#pragma once

#include <QString>

class QTabWidget;
class QWidget;

// The front page of a page control carries this run of blanks on both sides
// of its caption, so that it stands out among the tabs.
inline const QString PageMarker = QString(14, QLatin1Char(' '));

// The caption with the marker on both sides (unchanged if it has it already).
QString MarkedCaption(const QString& caption);
// The caption without any marker.
QString UnmarkedCaption(const QString& caption);
// Marks sheet's tab and unmarks every other tab of pages.
void MarkPageCaption(QTabWidget* pages, const QWidget* sheet);
