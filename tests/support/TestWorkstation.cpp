#include "support/TestWorkstation.h"

#include "support/WaitFor.h"

TestWorkstation::TestWorkstation(const ServerSettings& server)
{
    server.storeInto(store);
    dani = std::make_unique<TDANI>(store, prompts);
    dani->setView(&view);
    dani->setHotOrdersView(&view);
    dani->setDriversGroupView(&view);
    dani->setMessagesView(&view);
    reopener = std::make_unique<ListReopener>(ListReopener{*dani, {}});
    QObject::connect(dani.get(), &TDANI::listsClosed, dani.get(), [this] { (*reopener)(); });
    map = std::make_unique<CityMapData>(*dani, clock);
}

void TestWorkstation::useMap(std::optional<double> metresPerPixel)
{
    MapSettings settings;
    settings.length = metresPerPixel ? QString::number(*metresPerPixel) : QStringLiteral("0");
    settings.pixelsPerCm = QStringLiteral("1");
    map->adopt(settings, {}, {});
}

bool TestWorkstation::connect()
{
    const bool ok = dani->ConnectDatabase();
    if (ok)
        waitFor([this] { return dani->IBEvents1.ready(); }); // its first call only tells the counts
    return ok;
}
