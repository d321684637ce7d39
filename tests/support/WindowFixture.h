#pragma once

#include "RecordingPrompts.h"
#include "TestFolder.h"
#include "ui/MainscreenU.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <memory>

// One main window over its own settings folder, shown off screen and
// unlocked, with its message boxes answered by a recorder. Restart closes
// the window (which writes the settings file) and opens a new one.
class WindowFixture
{
  public:
    WindowFixture() : folder(std::make_unique<TestFolder>(true)) { Open(); }
    ~WindowFixture()
    {
        window.reset();
        folder.reset();
    }

    void Open()
    {
        window = std::make_unique<TMainScreen>(prompts);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        auto* enable = Find<QCheckBox>("chkEnable");
        if (!enable->isChecked())
            enable->click();
    }
    void Restart()
    {
        window->close();
        window.reset();
        Open();
    }

    template <typename T> T* Find(const char* name) const
    {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    QPushButton* Button(const char* name) const { return Find<QPushButton>(name); }
    QLineEdit* Edit(const char* name) const { return Find<QLineEdit>(name); }
    QListWidget* List(const char* name) const { return Find<QListWidget>(name); }
    QStringList Items(const char* name) const
    {
        QStringList items;
        const QListWidget* list = List(name);
        for (int i = 0; i < list->count(); ++i)
            items << list->item(i)->text();
        return items;
    }
    // Selects exactly the rows with these texts.
    void Select(const char* listName, const QStringList& texts) const
    {
        QListWidget* list = List(listName);
        list->clearSelection();
        for (int i = 0; i < list->count(); ++i)
            if (texts.contains(list->item(i)->text())) {
                list->setCurrentRow(i, QItemSelectionModel::Select);
            }
    }

    RecordingPrompts prompts;
    std::unique_ptr<TestFolder> folder;
    std::unique_ptr<TMainScreen> window;
};
