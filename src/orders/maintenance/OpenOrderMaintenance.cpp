#include "orders/maintenance/OpenOrderMaintenance.h"

#include "dispatch/DispatchContext.h"
#include "dispatch/DriversOnAir.h"
#include "dispatch/QueueKey.h"
#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "foundation/TextHelpers.h"
#include "foundation/fb/DbError.h"
#include "orders/intake/Money.h"
#include "orders/maintenance/CloseOrderSteps.h"
#include "orders/maintenance/MaintenanceTransaction.h"
#include "orders/maintenance/OpenOrderTexts.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"

namespace T = OpenOrderTexts;

namespace {

const QString kZeroStand = QStringLiteral("[]{}");

bool isGprs(const QVariant& model)
{
    return model.toString().contains(QLatin1String("{GPRS}"));
}

QString nextZeroStandKey(FbQuery& q)
{
    QStringList keys;
    for (const auto& row : q.exec(QStringLiteral("SELECT ZAD_AVTO_CHAS_ZAMOVL FROM ZADIANI_AVTO WHERE "
                                                 "(ZAD_AVTO_VULICA = '[]{}') AND (ZAD_AVTO_ZADIANIST = 0)"))
                               .rows)
        keys << row[0].toString();
    return NextQueueKey(keys);
}

// Tells the driver's GPRS application to reload; the row may be missing for a driver
// who never used it.
void refreshGprs(FbQuery& q, qint64 callsign)
{
    q.exec(QStringLiteral("UPDATE REFLESH_DANI_VODIY_GPRS SET REFLESH_VODIY_ZAMOV  = '+' WHERE "
                          "REFLESH_VODIY_POZ = %1")
               .arg(sql::integer(callsign)));
}

// The same, also telling which order the driver now carries (NULL and 0: none).
void refreshGprsOrder(FbQuery& q, qint64 callsign, const QString& handedAt, qint64 order)
{
    q.exec(QStringLiteral(
               "UPDATE REFLESH_DANI_VODIY_GPRS SET REFLESH_VODIY_ZAMOV  = '+',     "
               "REFLESH_VODIY_DATETIME   = %1,     REFLESH_VODIY_NZ  = %2 WHERE REFLESH_VODIY_POZ = %3")
               .arg(handedAt, sql::integer(order), sql::integer(callsign)));
}

// Closing is refused for a driver of the GPRS application (he closes his orders
// himself) and for a driver who is no longer on air.
void refuseGprsDriver(FbQuery& q, qint64 callsign)
{
    const FbRows& models =
        q.exec(QStringLiteral("SELECT ZAD_AVTO_MARKA_AVTO FROM ZADIANI_AVTO WHERE (ZAD_AVTO_POZIVNIY = %1)")
                   .arg(sql::integer(callsign)));
    if (models.isEmpty() || isGprs(models.rows.back()[0]))
        throw MaintenanceRefusal{T::kGprsDriver};
}

bool isOpen(const std::optional<StoredOrder>& order)
{
    return order && order->statusSet && order->status == 0;
}

} // namespace

OpenOrderMaintenance::OpenOrderMaintenance(DispatchContext& ctx, OrderMaintenanceRequest header)
    : m_ctx(ctx), m_header(std::move(header))
{
}

bool OpenOrderMaintenance::inTransaction(const std::function<void()>& work, const QString& failureMessage)
{
    return RunMaintenanceTransaction(m_ctx.dani, m_ctx.prompts, work, failureMessage);
}

StoredOrder OpenOrderMaintenance::readClosable(const QString& changedMessage)
{
    const std::optional<StoredOrder> order = ReadStoredOrder(m_ctx.dani.RIZNE, m_header.number);
    // An unassigned order has no driver to free: it is not closed here, and its empty
    // callsign never reaches a statement.
    if (!isOpen(order) || order->callsign == 0 || order->callsign != m_header.callsign)
        throw MaintenanceRefusal{changedMessage};
    return *order;
}

void OpenOrderMaintenance::updateMarks(const QList<ClosedFreeRide>& rides)
{
    QList<ClosedFreeRide> done;
    for (const ClosedFreeRide& ride : rides) {
        if (done.contains(ride))
            continue;
        done << ride;
        UpdateDriverMarks(m_ctx, ride.callsign, ride.driverName);
    }
}

MaintenanceOutcome OpenOrderMaintenance::CloseOrder()
{
    return closeOne(CloseKind::Plain);
}

MaintenanceOutcome OpenOrderMaintenance::ForceCloseGprsOrder()
{
    return closeOne(CloseKind::GprsForced);
}

MaintenanceOutcome OpenOrderMaintenance::closeOne(CloseKind kind)
{
    if (!m_ctx.prompts.question(kind == CloseKind::Plain ? T::kCloseQuestion : T::forceCloseWarning()))
        return {};
    QList<ClosedFreeRide> rides;
    const bool done = inTransaction([&] {
        FbQuery& q = m_ctx.dani.RIZNE;
        const StoredOrder order = readClosable(T::kChanged);
        if (kind == CloseKind::Plain)
            refuseGprsDriver(q, order.callsign);
        if (CloseOrderSteps(q, order, m_ctx.settings.value(SettingKeys::kRidesPerFreeRide), m_ctx.clock.now(),
                            T::kChanged))
            rides << ClosedFreeRide{order.callsign, order.driverName};
        if (kind == CloseKind::GprsForced)
            refreshGprsOrder(q, order.callsign, QStringLiteral("null"), 0);
    });
    if (!done)
        return {};
    updateMarks(rides);
    return {true, true};
}

MaintenanceOutcome OpenOrderMaintenance::CloseOrderWithBalance()
{
    if (!m_ctx.prompts.question(T::kCloseQuestion))
        return {};
    const std::optional<Money> typed =
        Money::parse(m_ctx.prompts.inputBox(T::kBalanceTitle, T::kBalancePrompt, QStringLiteral("0")));
    const Money amount = typed.value_or(Money()).cutToCents();
    // A negative amount would move money from the driver to the client.
    if (amount.isZero() || amount.isNegative()) {
        m_ctx.prompts.message(T::kWrongAmount);
        return {};
    }
    const QString sum = sql::decimal(amount.sqlText());
    QList<ClosedFreeRide> rides;
    const bool done = inTransaction([&] {
        FbQuery& q = m_ctx.dani.RIZNE;
        const StoredOrder order = readClosable(T::kChangedOrNoClient);
        if (order.clientCode == 0)
            throw MaintenanceRefusal{T::kChangedOrNoClient};
        refuseGprsDriver(q, order.callsign);
        const QDateTime now = m_ctx.clock.now();
        if (CloseOrderSteps(q, order, m_ctx.settings.value(SettingKeys::kRidesPerFreeRide), now,
                            T::kChangedOrNoClient))
            rides << ClosedFreeRide{order.callsign, order.driverName};
        // The money moves between exactly one driver and one client, or not at all.
        q.exec(QStringLiteral(
                   "UPDATE VODII SET TABL_VODIY_AVANS = TABL_VODIY_AVANS + %1 WHERE (TABL_VODIY_FIO = %2)")
                   .arg(sum, sql::text(order.driverName)));
        ExpectChangedExactlyOne(q, T::kChangedOrNoClient);
        q.exec(
            QStringLiteral("UPDATE KLIENT SET  KLIENT_BALANS = KLIENT_BALANS - %1,     KLIENT_DATA_BALANSA = "
                           "%2 WHERE %3")
                .arg(sum, sql::date(now.date()),
                     sql::clientCodeCondition(QStringLiteral("KLIENT_DODATKOVO"), order.clientCode)));
        ExpectChangedExactlyOne(q, T::kChangedOrNoClient);
        q.exec(QStringLiteral("UPDATE ZAMOVLENNIA SET ZAMOVL_OPLATA_BALANSOM = %1 WHERE (ZAMOVL_NUMBER = %2)")
                   .arg(sum, sql::integer(order.number)));
        ExpectChangedExactlyOne(q, T::kChangedOrNoClient);
    });
    if (!done)
        return {};
    updateMarks(rides);
    return {true, true};
}

MaintenanceOutcome OpenOrderMaintenance::CloseDueOrders()
{
    if (!m_ctx.prompts.question(T::kCloseGroupQuestion))
        return {};
    QList<ClosedFreeRide> rides;
    const bool done = inTransaction([&] {
        const QDateTime now = m_ctx.clock.now();
        const FbRows due = m_ctx.dani.RIZNE.exec(
            QStringLiteral(
                "SELECT * FROM ZAMOVLENNIA WHERE (ZAMOVL_STATUS_ZAMOVL = 0) and ((ZAMOVL_POZIVNIY <> 0) and "
                "(ZAMOVL_POZIVNIY is not NULL))  and (ZAMOVL_POZIVNIY IN (SELECT ZAD_AVTO_POZIVNIY FROM "
                "ZADIANI_AVTO WHERE (ZAD_AVTO_NOMER_ZAMOVL <> 0) AND (ZAD_AVTO_MARKA_AVTO NOT LIKE '%' || "
                "'{GPRS}' || '%') ))  and (((ZAMOVL_DATA_ZAKR_ZAMOVL = %1) and (ZAMOVL_CHAS_ZAKR_ZAMOVL <= "
                "%2)) or (ZAMOVL_DATA_ZAKR_ZAMOVL < %1))")
                .arg(sql::date(now.date()), sql::timeHm(now.time())));
        if (due.isEmpty())
            throw MaintenanceRefusal{T::kNothingToClose};
        const QString every = m_ctx.settings.value(SettingKeys::kRidesPerFreeRide);
        for (int r = 0; r < due.rowCount(); ++r) {
            const StoredOrder order = StoredOrderAt(due, r);
            if (CloseOrderSteps(m_ctx.dani.DODAT_RIZNE, order, every, m_ctx.clock.now(), T::kNothingToClose))
                rides << ClosedFreeRide{order.callsign, order.driverName};
        }
    });
    if (!done)
        return {}; // the window stays open
    updateMarks(rides);
    return {true, true};
}

MaintenanceOutcome OpenOrderMaintenance::ResetGprsMarkers()
{
    if (!m_ctx.prompts.question(T::resetGprsWarning()))
        return {};
    const bool done = inTransaction([&] {
        const FbRows marked = m_ctx.dani.RIZNE.exec(
            QStringLiteral("SELECT ZAD_AVTO_MARKA_AVTO, ZAD_AVTO_POZIVNIY FROM ZADIANI_AVTO WHERE "
                           "(ZAD_AVTO_MARKA_AVTO LIKE '%' "
                           "|| '{GPRS}' || '%') GROUP BY ZAD_AVTO_MARKA_AVTO, ZAD_AVTO_POZIVNIY"));
        FbQuery& q = m_ctx.dani.DODAT_RIZNE;
        for (const auto& row : marked.rows) {
            const QString old = row[0].toString();
            QString model = old;
            model.remove(model.indexOf(QLatin1String("{GPRS}")), 6);
            q.exec(
                QStringLiteral("UPDATE ZADIANI_AVTO SET ZAD_AVTO_MARKA_AVTO = %1 WHERE (ZAD_AVTO_POZIVNIY = "
                               "%2) AND (ZAD_AVTO_MARKA_AVTO = %3)")
                    .arg(sql::text(model), sql::integer(row[1].toLongLong()), sql::text(old)));
            ExpectChanged(q, T::kGprsMarkersChanged);
        }
    });
    return {done, false};
}

MaintenanceOutcome OpenOrderMaintenance::ChangeOpenOrderClient()
{
    // Paid, open and still the header's client: checked before the question and again
    // in the transaction that writes.
    auto check = [this](const std::optional<StoredOrder>& order) {
        if (order && order->freeRide == QLatin1String("TAK"))
            throw MaintenanceRefusal{T::kClientOnlyPaid};
        if (!isOpen(order) || order->clientCode != m_header.clientCode)
            throw MaintenanceRefusal{T::kChanged};
    };
    if (!inTransaction([&] { check(ReadStoredOrder(m_ctx.dani.RIZNE, m_header.number)); },
                       T::kClientChangeFailed))
        return {false, true};

    const QString typed = m_ctx.prompts.inputBox(T::kClientTitle, T::kClientPrompt, T::kClientDefault);
    if (typed == T::kClientDefault)
        return {}; // cancelled
    bool parsed = false;
    const qint64 code = typed.trimmed().toLongLong(&parsed);
    if (!parsed || code <= 0) {
        m_ctx.prompts.message(T::kWrongClientCode);
        return {false, true};
    }
    const bool done = inTransaction(
        [&] {
            FbQuery& q = m_ctx.dani.RIZNE;
            const std::optional<StoredOrder> order = ReadStoredOrder(q, m_header.number);
            check(order);
            if (q.exec(QStringLiteral("SELECT * FROM KLIENT WHERE %1")
                           .arg(sql::clientCodeCondition(QStringLiteral("KLIENT_DODATKOVO"), code)))
                    .isEmpty())
                throw MaintenanceRefusal{T::kClientNotFound};
            q.exec(
                QStringLiteral("UPDATE ZAMOVLENNIA SET ZAMOVL_NOMER_KLIENT = %1 WHERE (ZAMOVL_BEZKOSHTOVN = "
                               "'HI') and (ZAMOVL_NUMBER = %2) and (ZAMOVL_STATUS_ZAMOVL = 0) and "
                               "(COALESCE(ZAMOVL_NOMER_KLIENT, 0) = %3)")
                    .arg(sql::integer(code), sql::integer(order->number), sql::integer(order->clientCode)));
            ExpectChangedExactlyOne(q, T::kChanged);
            if (order->callsign != 0)
                refreshGprs(q, order->callsign);
        },
        T::kClientChangeFailed);
    return {done, true};
}

MaintenanceOutcome OpenOrderMaintenance::ToggleOpenOrderFree()
{
    auto check = [](const std::optional<StoredOrder>& order) {
        if (!order || order->clientCode == 0)
            throw MaintenanceRefusal{T::kNoStatusWithoutClient};
        // A closed order's counters were settled when it was closed.
        if (!isOpen(order))
            throw MaintenanceRefusal{T::kChanged};
    };
    std::optional<StoredOrder> shown;
    if (!inTransaction([&] {
            shown = ReadStoredOrder(m_ctx.dani.RIZNE, m_header.number);
            check(shown);
        }))
        return {false, true};
    const bool wasFree = shown->freeRide == QLatin1String("TAK");
    if (!m_ctx.prompts.question(wasFree ? T::kFreeToPaidQuestion : T::kPaidToFreeQuestion))
        return {};

    bool changed = false;
    const bool done = inTransaction([&] {
        FbQuery& q = m_ctx.dani.RIZNE;
        const std::optional<StoredOrder> order = ReadStoredOrder(q, m_header.number);
        check(order);
        const QString n = sql::integer(order->number);
        if (wasFree) {
            q.exec(
                QStringLiteral("UPDATE ZAMOVLENNIA SET ZAMOVL_BEZKOSHTOVN = 'HI' WHERE (ZAMOVL_BEZKOSHTOVN = "
                               "'TAK') and (ZAMOVL_NUMBER = %1) and (ZAMOVL_STATUS_ZAMOVL = 0)")
                    .arg(n));
            ExpectChangedExactlyOne(q, T::kChanged);
            changed = true;
        } else {
            const FbRows& free = q.exec(
                QStringLiteral("SELECT KLIENT_KIL_FREE_VIKLIK FROM KLIENT WHERE %1")
                    .arg(sql::clientCodeCondition(QStringLiteral("KLIENT_DODATKOVO"), order->clientCode)));
            if (!free.isEmpty() && free.rows.front()[0].toLongLong() > 0) {
                q.exec(QStringLiteral("UPDATE ZAMOVLENNIA SET ZAMOVL_BEZKOSHTOVN = 'TAK' WHERE "
                                      "(ZAMOVL_BEZKOSHTOVN = 'HI') and (ZAMOVL_NUMBER = %1) and "
                                      "(ZAMOVL_STATUS_ZAMOVL = 0)")
                           .arg(n));
                ExpectChangedExactlyOne(q, T::kChanged);
                changed = true;
            }
        }
        if (changed && order->callsign != 0)
            refreshGprs(q, order->callsign);
    });
    return {done && changed, true};
}

MaintenanceOutcome OpenOrderMaintenance::DeleteOpenOrder()
{
    const QString reason = m_ctx.prompts.inputBox(T::kDeleteTitle, T::kDeletePrompt, QString());
    if (reason.isEmpty())
        return {};
    StoredOrder deleted;
    const bool done = inTransaction([&] {
        FbQuery& q = m_ctx.dani.RIZNE;
        const std::optional<StoredOrder> order = ReadStoredOrder(q, m_header.number);
        if (!isOpen(order))
            throw MaintenanceRefusal{T::kDeletedMeanwhile};
        const QDateTime now = m_ctx.clock.now();
        const QString n = sql::integer(order->number);
        const QString callsign = sql::integer(order->callsign);
        // Guarded by the driver too: the driver freed below is the one the order had.
        const QString driverCondition =
            order->callsign == 0 ? QStringLiteral("((ZAMOVL_POZIVNIY IS NULL) OR (ZAMOVL_POZIVNIY = 0))")
                                 : QStringLiteral("(ZAMOVL_POZIVNIY = %1)").arg(callsign);
        q.exec(
            QStringLiteral("UPDATE ZAMOVLENNIA SET ZAMOVL_STATUS_ZAMOVL = -1,     ZAMOVL_DATA_ZAKR_ZAMOVL = "
                           "%1,     ZAMOVL_CHAS_ZAKR_ZAMOVL = %2,     ZAMOVL_PRICHINA_DELETE = %3 WHERE "
                           "(ZAMOVL_NUMBER = %4) AND (ZAMOVL_STATUS_ZAMOVL = 0) AND %5")
                .arg(sql::date(now.date()), sql::timeHm(now.time()),
                     sql::text(QLatin1Char('<') + m_ctx.currentDispatcher + QStringLiteral("> ") + reason +
                               QStringLiteral("    ") + order->additional),
                     n, driverCondition));
        ExpectChangedExactlyOne(q, T::kDeletedMeanwhile);
        if (order->callsign != 0) {
            // The driver keeps his place and queues by the zero stand's keys.
            q.exec(QStringLiteral(
                       "UPDATE ZADIANI_AVTO SET ZAD_AVTO_ZADIANIST = 0,     ZAD_AVTO_CHAS_ZAMOVL = %1, "
                       "    ZAD_AVTO_CHAS_PRIBUTTIA = NULL,     ZAD_AVTO_NOMER_ZAMOVL = 0 WHERE "
                       "(ZAD_AVTO_NOMER_ZAMOVL = %2) and (ZAD_AVTO_POZIVNIY = %3)")
                       .arg(sql::text(nextZeroStandKey(q)), n, callsign));
            refreshGprsOrder(q, order->callsign, QStringLiteral("null"), 0);
        }
        deleted = *order;
    });
    if (!done)
        return {false, true};
    if (deleted.callsign != 0)
        UpdateDriverMarks(m_ctx, deleted.callsign, deleted.driverName);
    return {true, true};
}

QStringList OpenOrderMaintenance::DriverChoices()
{
    QStringList choices;
    if (m_header.callsign == 0)
        return choices;
    inTransaction([&] {
        for (const auto& row :
             m_ctx.dani.RIZNE
                 .exec(QStringLiteral(
                           "SELECT ZAD_AVTO_POZIVNIY, ZAD_AVTO_FIO_VODIY FROM ZADIANI_AVTO WHERE "
                           "(ZAD_AVTO_FIO_VODIY <> %1) GROUP BY ZAD_AVTO_POZIVNIY, ZAD_AVTO_FIO_VODIY")
                           .arg(sql::text(m_header.driverName)))
                 .rows)
            choices << QLatin1Char('[') + QString::number(row[0].toLongLong()) + QStringLiteral("] ") +
                           row[1].toString();
    });
    return choices;
}

MaintenanceOutcome OpenOrderMaintenance::ChangeOpenOrderDriver(const QString& choice)
{
    bool parsed = false;
    const qint64 newCallsign =
        ExtractBetween(choice, QStringLiteral("["), QStringLiteral("]")).toLongLong(&parsed);
    const qsizetype nameStart = choice.indexOf(QLatin1String("] "));
    if (m_header.callsign == 0 || !parsed || newCallsign <= 0 || nameStart < 0) {
        m_ctx.prompts.message(T::kNoDriver);
        return {};
    }
    const QString newName = choice.mid(nameStart + 2);
    if (!m_ctx.prompts.question(T::kChangeDriverQuestion))
        return {};

    bool orderChanged = false;
    const bool done = inTransaction(
        [&] {
            FbQuery& q = m_ctx.dani.RIZNE;
            const std::optional<StoredOrder> order = ReadStoredOrder(q, m_header.number);
            if (!isOpen(order) || order->callsign != m_header.callsign) {
                orderChanged = true;
                throw MaintenanceRefusal{T::kDriverOrderChanged};
            }
            const QString n = sql::integer(order->number);
            const QString oldCallsign = sql::integer(order->callsign);
            const QString oldName = sql::text(order->driverName);
            const QString next = sql::integer(newCallsign);
            const QString nextName = sql::text(newName);
            const FbRows free =
                q.exec(QStringLiteral("SELECT ZAD_AVTO_POZIVNIY, ZAD_AVTO_FIO_VODIY, ZAD_AVTO_VULICA "
                                      "FROM ZADIANI_AVTO WHERE  (ZAD_AVTO_POZIVNIY = %1) AND "
                                      "(ZAD_AVTO_FIO_VODIY = %2) AND (ZAD_AVTO_NOMER_ZAMOVL = 0)")
                           .arg(next, nextName));
            const FbRows carrying =
                q.exec(QStringLiteral(
                           "SELECT ZAD_AVTO_CHAS_PRIBUTTIA, ZAD_AVTO_CHAS_ZAMOVL, ZAD_AVTO_VULICA FROM "
                           "ZADIANI_AVTO WHERE  (ZAD_AVTO_POZIVNIY = %1) AND (ZAD_AVTO_FIO_VODIY = %2) AND "
                           "(ZAD_AVTO_NOMER_ZAMOVL = %3)")
                           .arg(oldCallsign, oldName, n));
            if (free.isEmpty() || carrying.isEmpty())
                throw MaintenanceRefusal{T::kChanged};
            const QString newPlace = free.rows.back()[2].toString();
            const auto& old = carrying.rows.back();
            try {
                // The new driver keeps one row: a second one at another stand would carry
                // the order too, and closing it would find two drivers.
                q.exec(QStringLiteral("DELETE FROM ZADIANI_AVTO WHERE (ZAD_AVTO_POZIVNIY = %1) AND "
                                      "(ZAD_AVTO_FIO_VODIY = %2) AND (ZAD_AVTO_VULICA <> %3)")
                           .arg(next, nextName, sql::text(newPlace)));
                q.exec(QStringLiteral(
                           "UPDATE ZAMOVLENNIA SET ZAMOVL_POZIVNIY = %1,     ZAMOVL_FIO_TAXI = %2 WHERE "
                           "(ZAMOVL_NUMBER = %3) AND (ZAMOVL_STATUS_ZAMOVL = 0) AND (ZAMOVL_POZIVNIY = "
                           "%4)")
                           .arg(next, nextName, n, oldCallsign));
                ExpectChangedExactlyOne(q, T::kChanged);
                q.exec(QStringLiteral(
                           "UPDATE ZADIANI_AVTO SET ZAD_AVTO_ZADIANIST = 1,     ZAD_AVTO_NOMER_ZAMOVL = "
                           "%1,     ZAD_AVTO_CHAS_PRIBUTTIA = %2,     ZAD_AVTO_CHAS_ZAMOVL = %3,     "
                           "ZAD_AVTO_VULICA = %4 WHERE (ZAD_AVTO_POZIVNIY = %5) AND (ZAD_AVTO_FIO_VODIY "
                           "= %6) AND (ZAD_AVTO_NOMER_ZAMOVL = 0)")
                           .arg(n, old[0].isValid() ? sql::timeHms(old[0].toTime()) : QStringLiteral("NULL"),
                                sql::text(old[1].toString()), sql::text(old[2].toString()), next, nextName));
                ExpectChangedExactlyOne(q, T::kChanged);
                q.exec(QStringLiteral(
                           "UPDATE ZADIANI_AVTO SET ZAD_AVTO_ZADIANIST = 0,     ZAD_AVTO_NOMER_ZAMOVL = "
                           "0,     ZAD_AVTO_CHAS_PRIBUTTIA = null,     ZAD_AVTO_CHAS_ZAMOVL = %1,     "
                           "ZAD_AVTO_VULICA = '[]{}' WHERE (ZAD_AVTO_POZIVNIY = %2) AND "
                           "(ZAD_AVTO_FIO_VODIY = %3) AND (ZAD_AVTO_NOMER_ZAMOVL = %4)")
                           .arg(sql::text(nextZeroStandKey(q)), oldCallsign, oldName, n));
                ExpectChanged(q, T::kChanged);
                refreshGprsOrder(q, newCallsign, sql::timestamp(m_ctx.clock.now()), order->number);
                refreshGprsOrder(q, order->callsign, QStringLiteral("null"), 0);
            } catch (const DbError& e) {
                if (e.lockConflict())
                    throw;
                throw MaintenanceRefusal{T::kDriverChangeWriteFailed};
            }
        },
        T::kDriverChangeFailed);
    return {done, done || orderChanged};
}
