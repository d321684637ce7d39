#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

// "Utilities" (TabPrograms): where the outside tools are installed, and the
// update check.
class UtilitiesPage : public QWidget {
    Q_OBJECT
public:
    explicit UtilitiesPage(QWidget* parent = nullptr);

    QWidget* pnlInnoSetup;
    QLineEdit* lbeInnoCompiler;
    QWidget* pnlEditor;
    QLineEdit* lbeEditor;
    QLineEdit* lbeHelpMaker;
    // The signing tool, when set by hand rather than found by the search.
    QLineEdit* lbeSignTool;
    QPushButton* bbtnUpdateCheck;
};
