#pragma once

#include "foundation/ServerSettings.h"
#include "foundation/SettingsStore.h"
#include "foundation/TDANI.h"
#include "platform/ScriptedPrompts.h"
#include "support/ListReopener.h"
#include "support/RecordingView.h"

#include <memory>

// One workstation without windows: the settings it read, its data module with a
// recording view, and the lists reopened as the list refresh would.
class TestWorkstation
{
public:
    explicit TestWorkstation(const ServerSettings& server);
    bool connect();

    SettingsStore store;
    ScriptedPrompts prompts;
    RecordingView view;
    std::unique_ptr<TDANI> dani;
    std::unique_ptr<ListReopener> reopener;
};
