#pragma once

struct DispatchContext;

// Lets the data module's reactions to database events call the dispatch operations:
// the list refresh, the counters, the hot list and the nearest stand.
void WireDispatchIntoDataModule(DispatchContext& ctx);
