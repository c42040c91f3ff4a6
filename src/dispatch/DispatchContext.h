#pragma once

#include "dispatch/RegionTables.h"

#include <QString>
#include <functional>
#include <optional>

class IClock;
class IPrompts;
class SettingsStore;
class TDANI;

// What every dispatch operation works with: the data module, the settings, the
// dialogs, the clock and the state the log-in sets up.
struct DispatchContext
{
    TDANI& dani;
    SettingsStore& settings;
    IPrompts& prompts;
    IClock& clock;

    QString currentDispatcher; // the dispatcher on shift, set only by the log-in
    // Map mode: the city map is loaded and allowed for this dispatcher.
    bool mapSupported = false;
    std::optional<double> metresPerPixel; // none when the map has no usable scale
    RegionTables regions;                 // the fallback without a map

    // Opens the black list window (putting a banned callsign on air does).
    std::function<void()> openBlackList;
};
