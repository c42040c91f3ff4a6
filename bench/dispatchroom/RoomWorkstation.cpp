#include "RoomWorkstation.h"

#include "dispatch/ListRefresh.h"
#include "dispatch/OrderAssignment.h"
#include "foundation/SqlLiteral.h"
#include "foundation/fb/DbError.h"
#include "foundation/fb/FbQuery.h"
#include "orders/intake/OrderStatements.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

namespace {

const QString kPickupMark = QStringLiteral(" #");
// A dispatcher looks for an order to hand out a little more often than orders come in,
// so the room keeps up; a look that finds nothing due costs nothing.
constexpr double kHandOutSurplus = 1.25;
// How far down the list a dispatcher looks for the next order to hand out.
constexpr std::size_t kFirstFew = 3;

// Our orders' pick-up points read "Стоянка 17 #3.12": the stand, then who recorded it.
QString standOf(const QString& pickup)
{
    const qsizetype mark = pickup.indexOf(kPickupMark);
    return mark < 0 ? QString() : pickup.left(mark);
}

} // namespace

RoomWorkstation::RoomWorkstation(int index, const ServerSettings& server, const RoomSchedule& schedule,
                                 const Pace& pace)
    : m_index(index), m_schedule(schedule), m_pace(pace), m_random(std::mt19937::result_type(1000 + index))
{
    m_log.workstation = index;
    server.storeInto(m_store);
    m_dani = std::make_unique<TDANI>(m_store, m_prompts);
    m_dani->setView(&m_view);
    m_dani->setHotOrdersView(&m_view);
    m_dani->setDriversGroupView(&m_view);
    m_dani->setMessagesView(&m_view);
    m_map = std::make_unique<CityMapData>(*m_dani, m_clock);
    m_ctx = std::make_unique<DispatchContext>(DispatchContext{
        *m_dani, m_store, m_prompts, m_clock, *m_map, QStringLiteral("Диспетчер %1").arg(index + 1), {}});
    m_wiring = std::make_unique<DataModuleWiring>(*m_ctx);
    m_orderTransaction = std::make_unique<FbTransaction>(m_dani->BAZA, QStringLiteral("TRANZ_ZAMOVLENNIA"));
    // As the main window does: whatever the data module closed is read again at once.
    QObject::connect(m_dani.get(), &TDANI::listsClosed, this, &RoomWorkstation::reactToClosedLists);
    m_recordTimer.setSingleShot(true);
    m_handOutTimer.setSingleShot(true);
    QObject::connect(&m_recordTimer, &QTimer::timeout, this, &RoomWorkstation::recordOrder);
    QObject::connect(&m_handOutTimer, &QTimer::timeout, this, &RoomWorkstation::handOutOrder);
}

RoomWorkstation::~RoomWorkstation()
{
    m_orderTransaction.reset();
    m_wiring.reset();
}

bool RoomWorkstation::connect()
{
    if (!m_dani->ConnectDatabase())
        return false;
    QEventLoop loop;
    while (!m_dani->IBEvents1.ready()) // its first call only tells the counts as they stand
        loop.processEvents(QEventLoop::WaitForMoreEvents, 50);
    try {
        // The shift began now: the GPRS list holds only this shift's actions, as after a
        // shift change.
        const FbRows rows = m_dani->RIZNE_EVENTS.exec(
            QStringLiteral("SELECT MAX(DYA_VODIY_GPRS_NP) FROM DYA_VODIY_GPRS"));
        m_dani->TRANZ_FOR_EVENTS.commitIfActive();
        m_dani->gprsLowerBound = rows.isEmpty() ? 0 : rows.rows[0][0].toLongLong() + 1;
        RefreshLists(*m_ctx);
    } catch (const DbError& e) {
        std::fprintf(stderr, "workstation %d: %s\n", m_index, qPrintable(e.message()));
        return false;
    }
    noteShownOrders();
    return true;
}

void RoomWorkstation::run(qint64 startNs, qint64 drainNs)
{
    m_schedule.startNs = startNs;
    QEventLoop loop;
    while (RoomNowNs() < m_schedule.startNs)
        loop.processEvents(QEventLoop::AllEvents, 20);
    arm(m_recordTimer, m_pace.ordersPerSimulatedHour);
    arm(m_handOutTimer, m_pace.ordersPerSimulatedHour * kHandOutSurplus);
    while (RoomNowNs() < m_schedule.endNs() + drainNs)
        loop.processEvents(QEventLoop::WaitForMoreEvents, 20);
    m_recordTimer.stop();
    m_handOutTimer.stop();
    m_log.messages = int(m_prompts.messages().size());
}

void RoomWorkstation::reactToClosedLists()
{
    try {
        RefreshLists(*m_ctx);
    } catch (const DbError& e) {
        m_prompts.message(e.message());
    }
    noteShownOrders();
}

void RoomWorkstation::noteShownOrders()
{
    const FbDataSet& list = m_dani->TABL_AKTIV_ZAMOVL;
    if (!list.isOpen() || list.generation() == m_listGeneration)
        return;
    m_listGeneration = list.generation();
    ++m_log.reopens;
    const qint64 now = RoomNowNs();
    const FbRows& rows = list.rows();
    const int number = rows.columnIndex(QStringLiteral("ZAMOVL_NUMBER"));
    const int driver = rows.columnIndex(QStringLiteral("ZAMOVL_POZIVNIY"));
    if (number < 0 || driver < 0)
        return;
    for (const auto& row : rows.rows) {
        const qint64 order = row[std::size_t(number)].toLongLong();
        if (!m_log.firstSeenNs.contains(order))
            m_log.firstSeenNs.insert(order, now);
        if (row[std::size_t(driver)].toLongLong() != 0 && !m_log.carriedSeenNs.contains(order))
            m_log.carriedSeenNs.insert(order, now);
    }
}

qint64 RoomWorkstation::nextIntervalNs(double perSimulatedHour)
{
    // Evenly spread around the mean, so every workstation's share of the hour comes out
    // close to its count while no two desks keep step.
    std::uniform_real_distribution<double> spread(0.5, 1.5);
    return m_schedule.realNsOf(3600.0 / perSimulatedHour * spread(m_random));
}

void RoomWorkstation::arm(QTimer& timer, double perSimulatedHour)
{
    const qint64 next = RoomNowNs() + nextIntervalNs(perSimulatedHour);
    if (next >= m_schedule.endNs())
        return;
    timer.start(int(std::max<qint64>(1, (next - RoomNowNs()) / 1000000)));
}

void RoomWorkstation::recordOrder()
{
    arm(m_recordTimer, m_pace.ordersPerSimulatedHour);
    std::uniform_int_distribution<int> stand(0, 199);
    NewOrder order;
    order.telephone = QStringLiteral("050%1").arg(1000000 + m_index * 10000 + m_recordedHere);
    order.tariffName = QStringLiteral("Місто");
    order.start = QStringLiteral("Стоянка %1%2%3.%4").arg(stand(m_random)).arg(kPickupMark).arg(m_index).arg(
        ++m_recordedHere);
    order.destination = QStringLiteral("[Лесі Українки]{%1}").arg(stand(m_random));
    order.sum = Money::typed(QStringLiteral("85.50"));
    order.dispatcher = m_ctx->currentDispatcher;
    order.acceptance = m_clock.now();
    order.completion = order.acceptance.addSecs(20 * 60);
    const qint64 began = RoomNowNs();
    try {
        m_orderTransaction->commitIfActive();
        FbQuery query(*m_orderTransaction);
        query.exec(OrderStatements::insert(order));
        const FbRows& rows = query.exec(
            QStringLiteral("SELECT ZAMOVL_NUMBER FROM ZAMOVLENNIA WHERE ZAMOVL_POCHAT_PUNKT = %1")
                .arg(sql::text(order.start)));
        const qint64 number = rows.rowCount() == 1 ? rows.rows[0][0].toLongLong() : 0;
        m_orderTransaction->commit();
        const qint64 committed = RoomNowNs();
        m_log.recorded.push_back({number, committed});
        m_log.longestRecordNs = std::max(m_log.longestRecordNs, committed - began);
    } catch (const DbError& e) {
        m_orderTransaction->rollbackQuietly();
        ++m_log.recordFailures;
        m_log.longestRecordNs = std::max(m_log.longestRecordNs, RoomNowNs() - began);
        m_prompts.message(e.message());
    }
}

void RoomWorkstation::handOutOrder()
{
    arm(m_handOutTimer, m_pace.ordersPerSimulatedHour * kHandOutSurplus);
    // The dispatcher looks down the list as his screen shows it now and takes one of the
    // first few of the room's orders that waited long enough and have no driver yet.
    // Every desk sees the same list, so now and then two desks reach for the same order.
    const qint64 dueBefore = RoomNowNs() - m_schedule.realNsOf(m_pace.handOutDelaySimulatedSeconds);
    const FbDataSet& list = m_dani->TABL_AKTIV_ZAMOVL;
    const FbRows& rows = list.rows();
    if (!list.isOpen())
        return;
    const int numberColumn = rows.columnIndex(QStringLiteral("ZAMOVL_NUMBER"));
    const int driverColumn = rows.columnIndex(QStringLiteral("ZAMOVL_POZIVNIY"));
    const int pickupColumn = rows.columnIndex(QStringLiteral("ZAMOVL_POCHAT_PUNKT"));
    std::vector<std::pair<qint64, QString>> due;
    for (const auto& row : rows.rows) {
        const qint64 number = row[std::size_t(numberColumn)].toLongLong();
        const QString pickup = row[std::size_t(pickupColumn)].toString();
        if (row[std::size_t(driverColumn)].toLongLong() != 0 || !pickup.contains(kPickupMark))
            continue;
        const auto seen = m_log.firstSeenNs.constFind(number);
        if (seen != m_log.firstSeenNs.cend() && *seen <= dueBefore)
            due.emplace_back(number, pickup);
    }
    std::sort(due.begin(), due.end());
    if (due.empty())
        return;
    std::uniform_int_distribution<std::size_t> glance(0, std::min<std::size_t>(due.size(), kFirstFew) - 1);
    const std::size_t first = glance(m_random);
    // Told that another desk was first, the dispatcher takes the next one.
    for (std::size_t i = 0; i < due.size() && i < 2; ++i) {
        const auto& [number, pickup] = due[(first + i) % due.size()];
        if (tryHandOut(number, pickup))
            return;
    }
}

bool RoomWorkstation::tryHandOut(qint64 order, const QString& pickup)
{
    const qint64 callsign = freeDriverFor(pickup);
    if (callsign == 0)
        return false;
    const qint64 began = RoomNowNs();
    const bool handed = AssignOrderToDriver(*m_ctx, callsign, order);
    const qint64 done = RoomNowNs();
    m_log.longestHandOutNs = std::max(m_log.longestHandOutNs, done - began);
    if (handed) {
        m_log.handedOut.push_back({order, callsign, done});
    } else {
        ++m_log.lostRaces;
        m_log.longestLostRaceNs = std::max(m_log.longestLostRaceNs, done - began);
    }
    return handed;
}

qint64 RoomWorkstation::freeDriverFor(const QString& pickup)
{
    // The head of the queue at the order's stand, as the nearest-stand strip offers it;
    // without one there, any free driver the drivers list shows.
    const FbDataSet& drivers = m_dani->TABL_ZADIANI_AVTO;
    if (!drivers.isOpen() || drivers.isEmpty())
        return 0;
    const FbRows& rows = drivers.rows();
    const int callsignColumn = rows.columnIndex(QStringLiteral("ZAD_AVTO_POZIVNIY"));
    const int orderColumn = rows.columnIndex(QStringLiteral("ZAD_AVTO_NOMER_ZAMOVL"));
    const int placeColumn = rows.columnIndex(QStringLiteral("ZAD_AVTO_VULICA"));
    const QString stand = standOf(pickup);
    for (const auto& row : rows.rows)
        if (row[std::size_t(orderColumn)].toLongLong() == 0 && row[std::size_t(placeColumn)].toString() == stand)
            return row[std::size_t(callsignColumn)].toLongLong();
    std::uniform_int_distribution<int> from(0, rows.rowCount() - 1);
    const int first = from(m_random);
    for (int i = 0; i < rows.rowCount(); ++i) {
        const auto& row = rows.rows[std::size_t((first + i) % rows.rowCount())];
        if (row[std::size_t(orderColumn)].toLongLong() == 0)
            return row[std::size_t(callsignColumn)].toLongLong();
    }
    return 0;
}
