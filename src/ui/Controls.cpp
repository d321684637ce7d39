#include "ui/Controls.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TCheckListBox::TCheckListBox(QWidget* parent) : QListWidget(parent) {}

QListWidgetItem* TCheckListBox::AddItem(const QString& text, bool checked)
{
    auto* item = new QListWidgetItem(text, this);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    return item;
}

bool TCheckListBox::Checked(int row) const
{
    const QListWidgetItem* it = item(row);
    return it && it->checkState() == Qt::Checked;
}

void TCheckListBox::SetChecked(int row, bool checked)
{
    if (QListWidgetItem* it = item(row))
        it->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

QStringList TCheckListBox::Items() const
{
    return ListItems(this);
}

QStringList ListItems(const QListWidget* list, bool selectedOnly)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        if (!selectedOnly || list->item(i)->isSelected())
            items << list->item(i)->text();
    return items;
}

void ShowItems(QListWidget* list, const QStringList& items)
{
    list->clear();
    list->addItems(items);
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QCheckBox* MakeCheckBox(QWidget* parent, const QString& name, const QString& caption)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    // Captions are shown as typed, never as markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

QListWidget* MakeList(QWidget* parent, const QString& name, bool multiSelect)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    if (multiSelect)
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return list;
}

TCheckListBox* MakeCheckList(QWidget* parent, const QString& name)
{
    auto* list = new TCheckListBox(parent);
    list->setObjectName(name);
    return list;
}

QPlainTextEdit* MakeMemo(QWidget* parent, const QString& name, const QString& initialText)
{
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(name);
    memo->setReadOnly(true);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    if (!initialText.isEmpty())
        memo->setPlainText(initialText);
    return memo;
}

QProgressBar* MakeProgressBar(QWidget* parent, const QString& name)
{
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(name);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->setFixedHeight(14);
    return bar;
}

TLabeledEdit MakeLabeledEdit(QWidget* parent, const QString& name, const QString& caption)
{
    TLabeledEdit field;
    field.edit = new QLineEdit(parent);
    field.edit->setObjectName(name);
    field.label = MakeLabel(parent, name + QStringLiteral("Label"), caption);
    field.label->setBuddy(field.edit);
    return field;
}

QLabel* EditLabel(const QLineEdit* edit)
{
    if (!edit || !edit->parentWidget())
        return nullptr;
    return edit->parentWidget()->findChild<QLabel*>(edit->objectName() + QStringLiteral("Label"));
}

QWidget* LabelAbove(QWidget* parent, const TLabeledEdit& field)
{
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    field.label->setParent(box);
    field.edit->setParent(box);
    layout->addWidget(field.label);
    layout->addWidget(field.edit);
    return box;
}

QWidget* LabelLeft(QWidget* parent, const TLabeledEdit& field)
{
    auto* box = new QWidget(parent);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    field.label->setParent(box);
    field.edit->setParent(box);
    layout->addWidget(field.label);
    layout->addWidget(field.edit, 1);
    return box;
}
