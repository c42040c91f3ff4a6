#include "orders/intake/WebRouteController.h"

#include "dispatch/DispatchContext.h"
#include "foundation/SettingsStore.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"
#include "orders/intake/OnlineMapAddress.h"
#include "orders/intake/OrderIntake.h"
#include "orders/intake/RouteItem.h"
#include "orders/intake/RoutePointEntry.h"
#include "platform/Prompts.h"
#include "platform/ShellOpen.h"

const QString WebRouteController::kCalculateHint = QStringLiteral("Прорахувати відстань (потрібен інтернет)");
const QString WebRouteController::kBrowserHint =
    QStringLiteral("Перейти у браузер з переданими параметрами (при умові данних свого міста)");
const QString WebRouteController::kEmptyValueMessage = QStringLiteral("Значення пусте !!!");
const QString WebRouteController::kEditStartQuestion =
    QStringLiteral("Відредагувати дані початкового пункта на формі замовлення ?");
const QString WebRouteController::kEditDestinationQuestion =
    QStringLiteral("Відредагувати дані кінцевого пункта на формі замовлення ?");
const QString WebRouteController::kNoEndsMessage =
    QStringLiteral("Не задано початковий і/або кінцевий пункт !!!");
const QString WebRouteController::kOffMapMessage =
    QStringLiteral("Немає можливості показати маршрут, так як є точки які не наналежать карті міста !");
const QString WebRouteController::kNoBindingMessage =
    QStringLiteral("Не задана прив'язка карти міста до географічних координат !!!");

using End = RoutePointEntry::End;

namespace {

// What an order keeps of a pick-up or destination text.
constexpr qsizetype kAddressLength = 100;

} // namespace

WebRouteController::WebRouteController(DispatchContext& ctx, RoutePointEntry& entry, OrderIntake& order,
                                       IShellOpen& shell, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_entry(entry), m_order(order), m_shell(shell), m_client(ctx.settings)
{
    connect(&m_client, &WebDistanceClient::resultReady, this, &WebRouteController::show);
    connect(&m_client, &WebDistanceClient::failed, this,
            [this](const QString& message) { m_ctx.prompts.message(message); });
}

// ---- web distance --------------------------------------------------------------------------

void WebRouteController::calculate()
{
    const RoutePointEntry::OutsideEnd& start = m_entry.end(End::Start);
    const RoutePointEntry::OutsideEnd& destination = m_entry.end(End::Destination);
    m_client.calculate(
        {start.place, start.house, start.myCity, destination.place, destination.house, destination.myCity});
}

void WebRouteController::show(const WebDistanceResult& result)
{
    m_result = result;
    m_outOfTown = result.outOfTown;
    emit resultShown();
}

// ---- route result window -------------------------------------------------------------------

void WebRouteController::copy(const QString& text, bool start)
{
    if (text.isEmpty()) {
        m_ctx.prompts.message(kEmptyValueMessage);
        return;
    }
    m_entry.setPlace(start ? End::Start : End::Destination, text);
}

void WebRouteController::copyStart()
{
    copy(m_result.originAddress, true);
}

void WebRouteController::copyDestination()
{
    copy(m_result.destinationAddress, false);
}

void WebRouteController::editStart()
{
    if (m_result.originAddress.isEmpty()) {
        m_ctx.prompts.message(kEmptyValueMessage);
        return;
    }
    if (m_ctx.prompts.question(kEditStartQuestion))
        copy(m_result.originAddress, true);
}

void WebRouteController::editDestination()
{
    if (m_result.destinationAddress.isEmpty()) {
        m_ctx.prompts.message(kEmptyValueMessage);
        return;
    }
    if (m_ctx.prompts.question(kEditDestinationQuestion))
        copy(m_result.destinationAddress, false);
}

void WebRouteController::takeToTariffStep()
{
    // Only a measured distance is carried over: the error page has none to give.
    if (!m_result.success)
        return;
    if (m_order.route().isEmpty() && !routeFromResult())
        return;
    const QString distance = cutDistance(m_result.kilometres);
    m_entry.setCalculatedDistance(distance, m_outOfTown);
    emit tariffStepRequested(m_outOfTown ? QStringLiteral("0") : distance,
                             m_outOfTown ? distance : QStringLiteral("0"));
    emit closeRequested();
}

bool WebRouteController::routeFromResult()
{
    const QString house = m_entry.end(End::Destination).house;
    const QString extra = house.isEmpty() ? QString() : QLatin1Char('{') + house + QLatin1Char('}');
    const QString start = m_result.originAddress.left(kAddressLength) + extra;
    const QString destination = m_result.destinationAddress.left(kAddressLength);
    // Without a start the destination would become the pick-up point.
    if (start.trimmed().isEmpty()) {
        m_ctx.prompts.message(kEmptyValueMessage);
        return false;
    }
    QList<RouteItem> items;
    for (const QString& text : {start, destination}) {
        if (text.trimmed().isEmpty())
            continue;
        // The service's text came from the network: a "<" in it would read back as a
        // map point of the internal map.
        const std::optional<RouteItem> item = RouteItem::offMapText(text);
        if (!item) {
            m_ctx.prompts.message(RouteItem::kForbiddenMarksMessage);
            return false;
        }
        items << *item;
    }
    m_order.setRoute(items);
    return true;
}

QString WebRouteController::cutDistance(const QString& distance)
{
    QString cut = distance;
    for (const QChar separator : {QLatin1Char(','), QLatin1Char('.')}) {
        const qsizetype at = cut.indexOf(separator);
        if (at >= 0)
            cut.truncate(at + 3);
    }
    return cut;
}

// ---- browser -------------------------------------------------------------------------------

std::optional<QPoint> WebRouteController::mapCoordinates(qint64 mapPoint)
{
    TDANI& dani = m_ctx.dani;
    dani.TRANZ_RIZNE.commitIfActive();
    const FbRows rows =
        dani.RIZNE.exec(QStringLiteral("SELECT KOORD_KART_MISTA_X, KOORD_KART_MISTA_Y FROM KARTA_MISTA\n"
                                       "WHERE (KOORD_KART_MISTA_NP = ") +
                        sql::integer(mapPoint) + QLatin1Char(')'));
    dani.TRANZ_RIZNE.commit();
    if (rows.isEmpty())
        return std::nullopt;
    return QPoint(rows.rows[0][0].toInt(), rows.rows[0][1].toInt());
}

void WebRouteController::openInBrowser()
{
    const QList<RouteItem>& route = m_order.route();
    if (route.size() < 2) {
        m_ctx.prompts.message(kNoEndsMessage);
        return;
    }
    for (const RouteItem& item : route) {
        if (!item.onMap()) {
            m_ctx.prompts.message(kOffMapMessage);
            return;
        }
    }
    std::optional<QPoint> start;
    std::optional<QPoint> destination;
    try {
        start = mapCoordinates(route.first().mapPoint());
        destination = mapCoordinates(route.last().mapPoint());
    } catch (const DbError& error) {
        m_ctx.dani.TRANZ_RIZNE.rollbackQuietly();
        m_ctx.prompts.message(error.message());
        return;
    }
    // A point not placed on the map has no place on the globe either.
    if (!start || !destination || start->x() == 0 || start->y() == 0 || destination->x() == 0 ||
        destination->y() == 0)
        return;
    const MapBinding binding = MapBinding::fromSettings(m_ctx.settings);
    if (!binding.usable()) {
        m_ctx.prompts.message(kNoBindingMessage);
        return;
    }
    const QUrl address =
        OnlineMapAddress::route(OnlineMapAddress::baseAddress(), binding, *start, *destination);
    if (!m_shell.open(address))
        m_ctx.prompts.message(QStringLiteral("Не вдалося відкрити у браузері сторінку:\r") +
                              address.toString());
}
