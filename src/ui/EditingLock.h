#pragma once

#include <QStringList>

class QWidget;

// The controls that the "Enable Editing" lock switches, in the order it
// switches them. Nothing else is touched by the lock.
const QStringList& EditingControlNames();

// Enables or disables each named control under root; a missing name is a
// fault of the window's build and throws TarnwellError.
void SetControlsEnabled(QWidget* root, const QStringList& names, bool enabled);
