#include "TestStore.h"

std::unique_ptr<TAppData> OpenTestStore(const QString& passphrase)
{
    auto store = std::make_unique<TAppData>();
    if (!store->SetConfigFile(kTestCompany, kTestProduct, kTestFile, passphrase))
        qFatal("settings store set-up failed");
    return store;
}

TAppData& TestStore::Reload()
{
    store->Save();
    store.reset();
    store = OpenTestStore();
    return *store;
}
