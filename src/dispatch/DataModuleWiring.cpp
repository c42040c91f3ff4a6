#include "dispatch/DataModuleWiring.h"

#include "dispatch/DispatchContext.h"
#include "dispatch/HotOrders.h"
#include "dispatch/OrderCounters.h"
#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"
#include "platform/Prompts.h"

DataModuleWiring::DataModuleWiring(DispatchContext& ctx, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_nearestStand(ctx)
{
    TDANI& dani = ctx.dani;
    // Signals must not carry exceptions back into the data module: each reaction shows
    // its own failure.
    auto guarded = [this](auto reaction) {
        return [this, reaction] {
            try {
                reaction();
            } catch (const DbError& e) {
                m_ctx.dani.TRANZ_FOR_EVENTS.rollbackQuietly();
                m_ctx.prompts.message(e.message());
            }
        };
    };
    connect(&dani, &TDANI::openOrdersChanged, this, guarded([this] { refreshOrders(); }));
    connect(&dani, &TDANI::driversChanged, this, guarded([this] { m_nearestStand.followDriversChange(); }));
    connect(&dani, &TDANI::currentOpenOrderMoved, this,
            guarded([this] { m_nearestStand.followCurrentOrder(); }));
}

void DataModuleWiring::refreshOrders()
{
    RefreshOrderCounters(m_ctx);
    if (m_ctx.dani.view().ordersPage() == DataModuleView::OrdersPage::Hot)
        ListHotOrders(m_ctx);
}
