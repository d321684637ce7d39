#pragma once

#include <QString>

// What the site scan needs from its progress window: a pane of lines, a
// caption, shown while the scan runs and closed when it ends. The window
// implements it with its pane; the command line and the tests with their own.
class ScanWindow {
public:
    virtual ~ScanWindow() = default;
    // Empties the pane, sets the caption and shows the window (not modal).
    virtual void StartScan(const QString& caption) = 0;
    // One line per step of the scan.
    virtual void AddLine(const QString& line) = 0;
    // Closes (hides) the window.
    virtual void EndScan() = 0;
};

// The caption of the progress window while the project is scanned.
inline QString ScanCaption(const QString& project)
{
    return QStringLiteral("Tarnwell - Scanning Project - ") + project;
}

// A scan window that shows nothing, for scans without a window.
class SilentScanWindow : public ScanWindow {
public:
    void StartScan(const QString&) override {}
    void AddLine(const QString&) override {}
    void EndScan() override {}
};
