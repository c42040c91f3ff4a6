#pragma once

#include "citymap/CityMapData.h"
#include "foundation/ServerSettings.h"
#include "foundation/SettingsStore.h"
#include "foundation/TDANI.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompts.h"
#include "support/ListReopener.h"
#include "support/RecordingView.h"

#include <memory>
#include <optional>

// One workstation without windows: the settings it read, its data module with a
// recording view, its city map, and the lists reopened as the list refresh would.
class TestWorkstation
{
public:
    explicit TestWorkstation(const ServerSettings& server);
    bool connect();
    // Puts a map without tiles or points in use, at this scale (none: no usable scale).
    void useMap(std::optional<double> metresPerPixel);

    SettingsStore store;
    ScriptedPrompts prompts;
    RecordingView view;
    std::unique_ptr<TDANI> dani;
    std::unique_ptr<ListReopener> reopener;
    SystemClock clock;
    std::unique_ptr<CityMapData> map;
};
