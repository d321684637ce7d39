#pragma once

#include "TestFolder.h"
#include "settings/ApplicationDataAPI.h"

#include <QString>

#include <memory>

// The names every test gives its settings file; each test's own data folder
// keeps the files apart.
inline const QString kTestCompany = QStringLiteral("TestCo");
inline const QString kTestProduct = QStringLiteral("TestProduct");
inline const QString kTestFile = QStringLiteral("settings.dat");
inline const QString kTestPassphrase = QStringLiteral("test passphrase");

// A store on the test settings file under the current data folder. A failed
// set-up ends the run: nothing after it could mean anything.
std::unique_ptr<TAppData> OpenTestStore(const QString& passphrase = kTestPassphrase);

// A store over a data folder of its own, removed with it.
struct TestStore {
    TestFolder folder{true};
    std::unique_ptr<TAppData> store = OpenTestStore();

    TAppData& operator*() const { return *store; }
    TAppData* operator->() const { return store.get(); }
    // Saves, then opens the file again in a new store, as a restart would.
    TAppData& Reload();
};
