#pragma once

#include <QListWidget>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QWidget;

// A list whose items carry a check box: the site's file list and the
// project's application list.
class TCheckListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TCheckListBox(QWidget* parent = nullptr);
    QListWidgetItem* AddItem(const QString& text, bool checked = false);
    bool Checked(int row) const;
    void SetChecked(int row, bool checked);
    QStringList Items() const;
};

// The texts of a list's items in order (only the selected ones when asked).
QStringList ListItems(const QListWidget* list, bool selectedOnly = false);
// Replaces every item of a list.
void ShowItems(QListWidget* list, const QStringList& items);

// Builders for the window's controls: each gets its objectName (the control's
// name everywhere in the program) and its caption in one place.
QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption);
QCheckBox* MakeCheckBox(QWidget* parent, const QString& name, const QString& caption);
QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption);
QListWidget* MakeList(QWidget* parent, const QString& name, bool multiSelect = false);
TCheckListBox* MakeCheckList(QWidget* parent, const QString& name);
// A read-only log view with a vertical scroll bar.
QPlainTextEdit* MakeMemo(QWidget* parent, const QString& name, const QString& initialText);
QProgressBar* MakeProgressBar(QWidget* parent, const QString& name);

// An edit box with its caption in a label; the label's buddy is the edit and
// its objectName is the edit's name + "Label".
struct TLabeledEdit {
    QLabel* label = nullptr;
    QLineEdit* edit = nullptr;
};
TLabeledEdit MakeLabeledEdit(QWidget* parent, const QString& name, const QString& caption);
// The caption label of an edit made by MakeLabeledEdit (null if none).
QLabel* EditLabel(const QLineEdit* edit);
// The edit with its label above it, as one widget for a layout.
QWidget* LabelAbove(QWidget* parent, const TLabeledEdit& field);
// The edit with its label on its left.
QWidget* LabelLeft(QWidget* parent, const TLabeledEdit& field);
