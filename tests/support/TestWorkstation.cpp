#include "support/TestWorkstation.h"

#include "support/WaitFor.h"

TestWorkstation::TestWorkstation(const ServerSettings& server)
{
    const QString& group = SettingsStore::kServerGroup;
    store.setValue(group, SettingsStore::kServer, server.server);
    store.setValue(group, SettingsStore::kPathBaza, server.pathBaza);
    store.setValue(group, SettingsStore::kNameBaza, server.nameBaza);
    store.setValue(group, SettingsStore::kLogin, server.login);
    store.setValue(group, SettingsStore::kPass, server.pass);
    dani = std::make_unique<TDANI>(store, prompts);
    dani->setView(&view);
    reopener = std::make_unique<ListReopener>(ListReopener{*dani, {}});
    dani->refreshLists = [this] { (*reopener)(); };
}

bool TestWorkstation::connect()
{
    const bool ok = dani->ConnectDatabase();
    if (ok)
        settle(150); // the listener's first call only tells the counts
    return ok;
}
