#pragma once

#include <QPoint>

#include <optional>

class QWidget;

// Finding the control under the mouse for the context help.

// Whether a control takes part: one of the window's own controls (those the
// program named) of a kind the user points at: buttons, check and radio
// boxes, edits, memos, combo and spin boxes, lists, scroll and progress
// bars, labels. Panels, pages and page controls never do, nor the caption
// of a labelled edit, which belongs to its edit.
bool TakesPart(const QWidget* control);

// The control's nearest tab page, if it has one, is currentTabSheet; and
// the control and every parent up to its window are visible.
bool IsOnCurrentTab(const QWidget* control, const QWidget* currentTabSheet);

// The help context of the first control of form, in the order the form
// holds them, that takes part, is on the current tab and whose screen
// rectangle contains globalPos; nothing when there is none.
std::optional<int> FindHelpContext(QWidget* form, QPoint globalPos, const QWidget* currentTabSheet);
