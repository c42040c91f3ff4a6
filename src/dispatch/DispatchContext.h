#pragma once

#include "dispatch/RegionTables.h"

#include <QString>

class CityMapData;
class IClock;
class IPrompts;
class SettingsStore;
class TDANI;

// What every dispatch operation works with: the data module, the settings, the
// dialogs, the clock, the city map and the state the log-in sets up.
struct DispatchContext
{
    TDANI& dani;
    SettingsStore& settings;
    IPrompts& prompts;
    IClock& clock;
    // Map mode (loaded and allowed for this dispatcher), the scale and the points: read
    // here, owned by the map.
    const CityMapData& map;

    QString currentDispatcher; // the dispatcher on shift, set only by the log-in
    RegionTables regions;      // the fallback without a map
};
