#include "dispatch/NearestStandDisplay.h"

#include "dispatch/DispatchContext.h"
#include "dispatch/NearestStand.h"
#include "foundation/DisplayText.h"
#include "foundation/StandQueue.h"
#include "foundation/TDANI.h"

QString NearestStandDisplay::nearestFor(const QString& pickup)
{
    return FindNearestStand(m_ctx, pickup, DistributionMode::kNone);
}

QString NearestStandDisplay::firstDriverText(const QString& stand)
{
    TDANI& dani = m_ctx.dani;
    dani.TRANZ_FOR_EVENTS.commitIfActive();
    const auto callsign = FirstFreeDriverAtStand(dani.RIZNE_EVENTS, stand);
    dani.TRANZ_FOR_EVENTS.commitIfActive();
    return callsign ? QString::number(*callsign) : TDANI::kNotSet;
}

bool NearestStandDisplay::currentOrderWaits() const
{
    const FbDataSet& orders = m_ctx.dani.TABL_AKTIV_ZAMOVL;
    return !orders.isEmpty() && orders.value(QStringLiteral("ZAMOVL_POZIVNIY")).toLongLong() == 0;
}

void NearestStandDisplay::showForCurrentOrder()
{
    TDANI& dani = m_ctx.dani;
    if (!currentOrderWaits()) {
        dani.NearestStand.clear();
        dani.view().showNearestStand(TDANI::kNotSet, TDANI::kNotSet);
        return;
    }
    dani.NearestStand =
        nearestFor(displayText(dani.TABL_AKTIV_ZAMOVL.value(QStringLiteral("ZAMOVL_POCHAT_PUNKT"))));
    if (dani.NearestStand.isEmpty()) {
        dani.view().showNearestStand(TDANI::kNotSet, TDANI::kNotSet);
        return;
    }
    m_shownFirstDriver = firstDriverText(dani.NearestStand);
    dani.view().showNearestStand(dani.NearestStand, m_shownFirstDriver);
}

void NearestStandDisplay::showForHotOrder(const QString& pickup)
{
    TDANI& dani = m_ctx.dani;
    dani.NearestStand = pickup.isEmpty() ? QString() : nearestFor(pickup);
    if (dani.NearestStand.isEmpty())
        dani.hotOrdersView().showHotNearestStand(TDANI::kNotSet, TDANI::kNotSet);
    else if (dani.NearestStand != dani.hotOrdersView().shownHotNearestStand())
        dani.hotOrdersView().showHotNearestStand(dani.NearestStand, firstDriverText(dani.NearestStand));
}

void NearestStandDisplay::followCurrentOrder()
{
    DataModuleView& view = m_ctx.dani.view();
    const auto page = view.ordersPage();
    if (page != DataModuleView::OrdersPage::Panels && page != DataModuleView::OrdersPage::ShortGrid)
        return;
    showForCurrentOrder();
    DriversGroupView& drivers = m_ctx.dani.driversGroupView();
    if (drivers.standGridShown())
        drivers.repaintStandGrid();
}

void NearestStandDisplay::followDriversChange()
{
    TDANI& dani = m_ctx.dani;
    DataModuleView& view = dani.view();
    if (view.ordersPage() == DataModuleView::OrdersPage::Hot) {
        const auto selected = dani.hotOrdersView().selectedHotOrder();
        showForHotOrder(selected ? selected->pickup : QString());
        return;
    }
    if (!currentOrderWaits()) {
        showForCurrentOrder();
        return;
    }
    const QString stand =
        nearestFor(displayText(dani.TABL_AKTIV_ZAMOVL.value(QStringLiteral("ZAMOVL_POCHAT_PUNKT"))));
    // The head of the queue may have changed even when the stand did not.
    const QString driver = stand.isEmpty() ? TDANI::kNotSet : firstDriverText(stand);
    dani.NearestStand = stand;
    if (stand.isEmpty())
        view.showNearestStand(TDANI::kNotSet, TDANI::kNotSet);
    else if (stand != view.shownNearestStand() || driver != m_shownFirstDriver)
        view.showNearestStand(stand, driver);
    m_shownFirstDriver = driver;
}
