#include "dispatch/DataModuleWiring.h"

#include "dispatch/DispatchContext.h"
#include "dispatch/HotOrders.h"
#include "dispatch/ListRefresh.h"
#include "dispatch/NearestStand.h"
#include "dispatch/OrderCounters.h"
#include "foundation/TDANI.h"

void WireDispatchIntoDataModule(DispatchContext& ctx)
{
    ctx.dani.refreshLists = [&ctx] { RefreshLists(ctx); };
    ctx.dani.refreshOrderCounters = [&ctx] { RefreshOrderCounters(ctx); };
    ctx.dani.listHotOrders = [&ctx] { ListHotOrders(ctx); };
    ctx.dani.findNearestStand = [&ctx](const QString& pickup) {
        return FindNearestStand(ctx, pickup, DistributionMode::kNone);
    };
}
