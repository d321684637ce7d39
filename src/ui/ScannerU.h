#pragma once

#include "site/ScanWindow.h"

#include <QWidget>

class QPlainTextEdit;
class QProgressBar;

// The scan progress window: a read-only pane that receives one line per
// step of the site scan. It has no logic of its own; the scan drives it.
class TScanner : public QWidget, public ScanWindow {
    Q_OBJECT

public:
    static constexpr int ClientWidth = 701;
    static constexpr int ClientHeight = 240;

    explicit TScanner(QWidget* parent = nullptr);

    // Before a scan: empty the pane, caption "Tarnwell - Scanning Project - "
    // + project, show without making it modal.
    void BeginScan(const QString& projectName);
    void StartScan(const QString& caption) override;
    // One line per step; the newest line is kept in view.
    void AddLine(const QString& line) override;
    void SetCaption(const QString& caption);
    void SetProgress(int percent);
    // After the scan.
    void EndScan() override;

    QStringList Lines() const;

    QPlainTextEdit* memTask = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
};
