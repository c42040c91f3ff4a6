#include "support/TestWorkstation.h"

#include "support/WaitFor.h"

TestWorkstation::TestWorkstation(const ServerSettings& server)
{
    server.storeInto(store);
    dani = std::make_unique<TDANI>(store, prompts);
    dani->setView(&view);
    reopener = std::make_unique<ListReopener>(ListReopener{*dani, {}});
    QObject::connect(dani.get(), &TDANI::listsClosed, dani.get(), [this] { (*reopener)(); });
}

bool TestWorkstation::connect()
{
    const bool ok = dani->ConnectDatabase();
    if (ok)
        waitFor([this] { return dani->IBEvents1.ready(); }); // its first call only tells the counts
    return ok;
}
