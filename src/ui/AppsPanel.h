#pragma once

#include <QFrame>

class QLabel;
class QPushButton;
class TCheckListBox;

// The application band (pnlApps): the project's applications to sign, the
// primary one (checked) and its version. Shown only in software mode.
class AppsPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr int DesignHeight = 125;
    static constexpr int VersionGap = 8;   // primary name to version
    static constexpr int ButtonMargin = 2; // buttons to the right edge
    static constexpr int ListGap = 8;      // list to the buttons

    explicit AppsPanel(QWidget* parent = nullptr);

    QLabel* lblPrimaryApp;
    QLabel* lblVersion;
    TCheckListBox* chkProjectApps;
    QPushButton* bbtnAddApp;
    QPushButton* bbtnDeleteApp;
};
