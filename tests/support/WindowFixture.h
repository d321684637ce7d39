#pragma once

// Widgets: for ui tests only, and header-only so the support library stays
// free of them.

#include "TestFolder.h"
#include "TestServices.h"
#include "settings/ApplicationDataAPI.h"
#include "ui/MainscreenU.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <memory>

// The texts of a list's rows, top to bottom.
inline QStringList ListTexts(const QListWidget* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

// One main window over its own settings folder, shown off screen and
// (unless asked not to) unlocked, with its message boxes answered by a
// recorder. Restart closes the window (which writes the settings file) and
// opens a new one.
class WindowFixture {
public:
    explicit WindowFixture(bool unlocked = true)
        : folder(std::make_unique<TestFolder>(true)), unlocked_(unlocked)
    {
        Open();
    }
    ~WindowFixture()
    {
        window.reset();
        folder.reset();
    }

    void Open()
    {
        window = std::make_unique<TMainScreen>(services.Services());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        auto* enable = Find<QCheckBox>("chkEnable");
        if (unlocked_ && !enable->isChecked())
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
    QStringList Items(const char* name) const { return ListTexts(List(name)); }
    QString Caption(const char* label) const { return Find<QLabel>(label)->text(); }
    TAppData& Store() const { return *window->AppData; }
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

    // The user's own steps: type a name and press the button beside it.
    void NewProject(const char* name) const
    {
        Edit("edtNewProject")->setText(QString::fromLatin1(name));
        Button("bbtnNew")->click();
    }
    void NewAccount(const char* name) const
    {
        Edit("edtNewAccount")->setText(QString::fromLatin1(name));
        Button("btnAccountNew")->click();
    }
    void ShowPage(const char* name) const
    {
        Find<QTabWidget>("PageControl1")->setCurrentWidget(Find<QWidget>(name));
    }

    TestServices services;
    RecordingPrompts& prompts = services.prompts;
    std::unique_ptr<TestFolder> folder;
    std::unique_ptr<TMainScreen> window;

private:
    bool unlocked_;
};
