#include "orders/intake/PreviousAddressesController.h"

#include "dispatch/DispatchContext.h"
#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"
#include "orders/intake/OrderIntake.h"
#include "orders/intake/PreviousAddresses.h"
#include "orders/intake/RoutePointLookup.h"
#include "platform/Prompts.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>

PreviousAddressesController::PreviousAddressesController(DispatchContext& ctx, OrderIntake& intake,
                                                         QObject* parent)
    : QObject(parent), m_ctx(ctx), m_intake(intake)
{
}

void PreviousAddressesController::toggle(qint64 clientCode)
{
    if (m_shown) {
        hide();
        return;
    }
    m_shown = true;
    emit shownChanged(true);
    fill(clientCode);
}

void PreviousAddressesController::hide()
{
    if (!m_shown)
        return;
    m_shown = false;
    emit shownChanged(false);
}

void PreviousAddressesController::clientChanged(qint64 clientCode)
{
    if (m_shown)
        fill(clientCode);
}

void PreviousAddressesController::clear()
{
    if (!m_addresses.isEmpty())
        setAddresses({});
}

void PreviousAddressesController::sortAlphabetically()
{
    // Ukrainian order, not the code points': "Їжакова" belongs before "Київська".
    QCollator collator{QLocale(QLocale::Ukrainian, QLocale::Ukraine)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    QStringList sorted = m_addresses;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&collator](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    setAddresses(sorted);
}

bool PreviousAddressesController::addToRoute(int index, bool onFirstStep)
{
    if (!onFirstStep || index < 0 || index >= m_addresses.size())
        return false;
    std::optional<RouteItem> item;
    try {
        // A stored house may carry a flat after its "}", so the map's label is looked for
        // by the house alone.
        item = RoutePointLookup(m_ctx.dani)
                   .itemFor(m_addresses[index], RoutePointLookup::BuildingMatch::LabelContains);
    } catch (const DbError& e) {
        m_ctx.dani.TRANZ_RIZNE.rollbackQuietly();
        m_ctx.prompts.message(e.message());
        return false;
    }
    if (!item)
        return false;
    m_intake.addRouteItem(*item);
    emit routeItemAdded();
    return true;
}

void PreviousAddressesController::fill(qint64 clientCode)
{
    try {
        setAddresses(PreviousAddresses::forClient(m_ctx.dani, clientCode));
    } catch (const DbError& e) {
        m_ctx.dani.TRANZ_RIZNE.rollbackQuietly();
        setAddresses({});
        m_ctx.prompts.message(e.message());
    }
}

void PreviousAddressesController::setAddresses(const QStringList& addresses)
{
    m_addresses = addresses;
    emit addressesChanged();
}
