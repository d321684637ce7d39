#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;

// "Broken Links" (TabBrokenLinks): the links of the last scan that lead
// nowhere. One of the two panels, which share one place, tells whether any
// were found; both are hidden until the first scan.
class BrokenLinksPage : public QWidget {
    Q_OBJECT
public:
    explicit BrokenLinksPage(QWidget* parent = nullptr);

    QListWidget* lbxBrokenLinks;
    QFrame* pnlBrokenFound;
    QLabel* lblFilesNotFound;
    QPushButton* bbtnEditBroken;
    QPushButton* btnReScan;
    QFrame* pnlBrokenNotFound;
    QLabel* lblNoBroken;
    QPushButton* bbtnAgain;
    // Beside the panels, whichever shows.
    QPushButton* btnCheckWebLinks;
};
