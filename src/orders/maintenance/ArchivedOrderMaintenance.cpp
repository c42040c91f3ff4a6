#include "orders/maintenance/ArchivedOrderMaintenance.h"

#include "dispatch/DispatchContext.h"
#include "dispatch/DriversOnAir.h"
#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "foundation/TextHelpers.h"
#include "orders/intake/Money.h"
#include "orders/maintenance/ArchivedOrderTexts.h"
#include "orders/maintenance/CloseOrderSteps.h"
#include "orders/maintenance/MaintenanceTransaction.h"
#include "orders/maintenance/OpenOrderTexts.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"

#include <optional>

namespace A = ArchivedOrderTexts;
namespace O = OpenOrderTexts;

namespace {

// An archived order as the database holds it now.
struct ArchivedOrder
{
    qint64 number = 0;
    qint64 clientCode = 0; // 0: no registered client
    qint64 callsign = 0;   // 0: never assigned (NULL counts as 0)
    QString driverName;
    QString freeRide; // 'TAK' or 'HI'
    QString reasons;
    Money payment; // from the client's balance; 0 until recorded
    bool deleted = false;

    bool isFree() const { return freeRide == QLatin1String("TAK"); }
    QString paymentSql() const { return sql::decimal(payment.sqlText()); }
};

// The order when it is still in the archive and not deleted: a deleted order already
// gave back its money and its ride, so no correction may repair it again.
ArchivedOrder readCorrectable(FbQuery& q, qint64 number)
{
    const FbRows& rows = q.exec(
        QStringLiteral("SELECT * FROM CLOSEZAMOVLENNIA WHERE (CZ_NUMBER = %1)").arg(sql::integer(number)));
    if (rows.rowCount() != 1)
        throw MaintenanceRefusal{O::kDeletedMeanwhile};
    auto value = [&](const char* column) { return rows.value(0, QLatin1String(column)); };
    ArchivedOrder order;
    order.number = value("CZ_NUMBER").toLongLong();
    order.clientCode = value("CZ_NOMER_KLIENT").toLongLong();
    order.callsign = value("CZ_POZIVNIY").toLongLong();
    order.driverName = value("CZ_FIO_TAXI").toString();
    order.freeRide = value("CZ_BEZKOSHTOVN").toString();
    order.reasons = value("CZ_PRICHINA_DELETE").toString();
    order.payment = Money::fromStored(value("CZ_OPLATA_BALANSOM"));
    order.deleted = value("CZ_STATUS_ZAMOVL").toLongLong() == -1;
    if (order.deleted)
        throw MaintenanceRefusal{O::kDeletedMeanwhile};
    return order;
}

// Every write to the order is guarded by all it was read with: the counters and the
// money moved beside it were computed from those values, and a correction another
// workstation made meanwhile must not be repaired a second time.
QString unchanged(const ArchivedOrder& order)
{
    return QStringLiteral("(COALESCE(CZ_STATUS_ZAMOVL, 0) <> -1) AND (COALESCE(CZ_NOMER_KLIENT, 0) = %1) AND "
                          "(COALESCE(CZ_POZIVNIY, 0) = %2) AND (COALESCE(CZ_FIO_TAXI, '') = %3) AND "
                          "(COALESCE(CZ_BEZKOSHTOVN, '') = %4) AND (COALESCE(CZ_OPLATA_BALANSOM, 0) = %5)")
        .arg(sql::integer(order.clientCode), sql::integer(order.callsign), sql::text(order.driverName),
             sql::text(order.freeRide), order.paymentSql());
}

QString clientRow(qint64 code)
{
    return sql::clientCodeCondition(QStringLiteral("KLIENT_DODATKOVO"), code);
}

struct RideCounters
{
    qint64 rides = 0;     // KLIENT_KIL_VIKLIK: paid rides since the last free ride earned
    qint64 freeRides = 0; // KLIENT_KIL_FREE_VIKLIK
    bool operator==(const RideCounters&) const = default;
};

// Works from the counters as they were before: a paid ride counted since the last
// cycle is taken back; with none counted, the ride had completed a cycle and the free
// ride it earned is taken back. Without earning there is no cycle to undo.
RideCounters withoutPaidRide(RideCounters c, qint64 ridesPerFreeRide)
{
    if (c.rides > 0)
        return {c.rides - 1, c.freeRides};
    if (ridesPerFreeRide > 0 && c.freeRides > 0)
        return {ridesPerFreeRide - 1, c.freeRides - 1};
    return c;
}

RideCounters withPaidRide(RideCounters c, qint64 ridesPerFreeRide)
{
    ++c.rides;
    if (ridesPerFreeRide > 0 && c.rides >= ridesPerFreeRide)
        return {0, c.freeRides + 1};
    return c;
}

// None for a client who is no longer registered: he has no counters to repair.
std::optional<RideCounters> readCounters(FbQuery& q, qint64 code)
{
    if (code == 0)
        return std::nullopt;
    const FbRows& rows =
        q.exec(QStringLiteral("SELECT KLIENT_KIL_FREE_VIKLIK, KLIENT_KIL_VIKLIK FROM KLIENT WHERE %1")
                   .arg(clientRow(code)));
    if (rows.isEmpty())
        return std::nullopt;
    return RideCounters{rows.rows[0][1].toLongLong(), rows.rows[0][0].toLongLong()};
}

// The new counters are computed here rather than by the statement, so the write is
// guarded by the values they came from.
void writeCounters(FbQuery& q, qint64 code, RideCounters was, RideCounters now)
{
    if (now == was)
        return;
    q.exec(
        QStringLiteral("UPDATE KLIENT SET KLIENT_KIL_VIKLIK = %1,     KLIENT_KIL_FREE_VIKLIK = %2 WHERE %3 "
                       "AND (COALESCE(KLIENT_KIL_VIKLIK, 0) = %4) AND (COALESCE(KLIENT_KIL_FREE_VIKLIK, 0) "
                       "= %5)")
            .arg(sql::integer(now.rides), sql::integer(now.freeRides), clientRow(code),
                 sql::integer(was.rides), sql::integer(was.freeRides)));
    ExpectChangedExactlyOne(q, O::kChanged);
}

void undoPaidRide(FbQuery& q, qint64 code, qint64 ridesPerFreeRide)
{
    if (const std::optional<RideCounters> was = readCounters(q, code))
        writeCounters(q, code, *was, withoutPaidRide(*was, ridesPerFreeRide));
}

void countPaidRide(FbQuery& q, qint64 code, qint64 ridesPerFreeRide)
{
    if (const std::optional<RideCounters> was = readCounters(q, code))
        writeCounters(q, code, *was, withPaidRide(*was, ridesPerFreeRide));
}

// Money moves between exactly one driver and one client, or not at all.
void addToDriverAccount(FbQuery& q, const QString& name, bool add, const QString& sum)
{
    q.exec(QStringLiteral(
               "UPDATE VODII SET TABL_VODIY_AVANS = TABL_VODIY_AVANS %1 %2 WHERE (TABL_VODIY_FIO = %3)")
               .arg(add ? QStringLiteral("+") : QStringLiteral("-"), sum, sql::text(name)));
    ExpectChangedExactlyOne(q, O::kChanged);
}

void addToClientBalance(FbQuery& q, qint64 code, bool add, const QString& sum, const QDate& today)
{
    q.exec(
        QStringLiteral("UPDATE KLIENT SET  KLIENT_BALANS = KLIENT_BALANS %1 %2,     KLIENT_DATA_BALANSA = %3 "
                       "WHERE %4")
            .arg(add ? QStringLiteral("+") : QStringLiteral("-"), sum, sql::date(today), clientRow(code)));
    ExpectChangedExactlyOne(q, O::kChanged);
}

QString choiceText(const std::vector<QVariant>& row)
{
    return QLatin1Char('[') + QString::number(row[0].toLongLong()) + QStringLiteral("] ") + row[1].toString();
}

} // namespace

ArchivedOrderMaintenance::ArchivedOrderMaintenance(DispatchContext& ctx, OrderMaintenanceRequest header)
    : m_ctx(ctx), m_header(std::move(header))
{
}

bool ArchivedOrderMaintenance::inTransaction(const std::function<void()>& work, const QString& failureMessage)
{
    return RunMaintenanceTransaction(m_ctx.dani, m_ctx.prompts, work, failureMessage);
}

qint64 ArchivedOrderMaintenance::ridesPerFreeRide() const
{
    return RidesPerFreeRide(m_ctx.settings.value(SettingKeys::kRidesPerFreeRide));
}

MaintenanceOutcome ArchivedOrderMaintenance::ChangeArchivedOrderClient()
{
    // Paid and still the header's client: checked before the code is asked and again in
    // the transaction that writes. Only a free order leaves the window open.
    bool keepOpen = false;
    auto check = [&](const ArchivedOrder& order) {
        if (order.isFree()) {
            keepOpen = true;
            throw MaintenanceRefusal{O::kClientOnlyPaid};
        }
        if (order.clientCode != m_header.clientCode)
            throw MaintenanceRefusal{A::kClientChangedMeanwhile};
    };
    if (!inTransaction([&] { check(readCorrectable(m_ctx.dani.RIZNE, m_header.number)); },
                       A::kClientChangeFailed))
        return {false, !keepOpen};

    const QString typed = m_ctx.prompts.inputBox(O::kClientTitle, O::kClientPrompt, O::kClientDefault);
    if (typed == O::kClientDefault)
        return {}; // cancelled
    bool parsed = false;
    const qint64 code = typed.trimmed().toLongLong(&parsed);
    if (!parsed || code <= 0) {
        m_ctx.prompts.message(A::kWrongClientCode);
        return {};
    }
    const qint64 every = ridesPerFreeRide();
    const bool done = inTransaction(
        [&] {
            FbQuery& q = m_ctx.dani.RIZNE;
            const ArchivedOrder order = readCorrectable(q, m_header.number);
            check(order);
            if (q.exec(QStringLiteral("SELECT * FROM KLIENT WHERE %1").arg(clientRow(code))).isEmpty()) {
                keepOpen = true;
                throw MaintenanceRefusal{A::kClientNotFoundStart + ZeroPad5(code) + A::kClientNotFoundEnd};
            }
            const QDate today = m_ctx.clock.now().date();
            const QString sum = order.paymentSql();
            if (order.clientCode != 0) {
                undoPaidRide(q, order.clientCode, every);
                if (!order.payment.isZero())
                    addToClientBalance(q, order.clientCode, true, sum, today);
            }
            q.exec(QStringLiteral("UPDATE CLOSEZAMOVLENNIA SET CZ_NOMER_KLIENT = %1 WHERE (CZ_BEZKOSHTOVN = "
                                  "'HI') AND (CZ_NUMBER = %2) AND %3")
                       .arg(sql::integer(code), sql::integer(order.number), unchanged(order)));
            ExpectChangedExactlyOne(q, A::kClientChangedMeanwhile);
            countPaidRide(q, code, every);
            if (!order.payment.isZero())
                addToClientBalance(q, code, false, sum, today);
        },
        A::kClientChangeFailed);
    return {done, done || !keepOpen};
}

QStringList ArchivedOrderMaintenance::DriverChoices()
{
    QStringList choices;
    inTransaction([&] {
        for (const auto& row :
             m_ctx.dani.RIZNE
                 .exec(QStringLiteral("SELECT TABL_AVTO_POZIVN, TABL_VODIY_FIO FROM DANI_AVTO , VODII WHERE "
                                      "(TABL_AVTO_POZIVN <> %1) AND (TABL_VODIY_NOMER = TABL_AVTO_NOM_VODIY) "
                                      "ORDER BY TABL_AVTO_POZIVN")
                           .arg(sql::integer(m_header.callsign)))
                 .rows)
            choices << choiceText(row);
    });
    return choices;
}

MaintenanceOutcome ArchivedOrderMaintenance::ChangeArchivedOrderDriver(const QString& choice)
{
    bool parsed = false;
    const qint64 newCallsign =
        ExtractBetween(choice, QStringLiteral("["), QStringLiteral("]")).toLongLong(&parsed);
    const qsizetype nameStart = choice.indexOf(QLatin1String("] "));
    if (!parsed || newCallsign <= 0 || nameStart < 0) {
        m_ctx.prompts.message(O::kNoDriver);
        return {};
    }
    const QString newName = choice.mid(nameStart + 2);
    if (!m_ctx.prompts.question(O::kChangeDriverQuestion))
        return {};

    ArchivedOrder before;
    const bool done = inTransaction(
        [&] {
            FbQuery& q = m_ctx.dani.RIZNE;
            const ArchivedOrder order = readCorrectable(q, m_header.number);
            if (order.callsign != m_header.callsign)
                throw MaintenanceRefusal{O::kDriverOrderChanged};
            // The list may be older than the car register.
            if (q.exec(
                     QStringLiteral("SELECT TABL_AVTO_POZIVN FROM DANI_AVTO , VODII WHERE (TABL_AVTO_POZIVN "
                                    "= %1) AND (TABL_VODIY_FIO = %2) AND (TABL_VODIY_NOMER = "
                                    "TABL_AVTO_NOM_VODIY)")
                         .arg(sql::integer(newCallsign), sql::text(newName)))
                    .isEmpty())
                throw MaintenanceRefusal{O::kChanged};
            if (!order.payment.isZero()) {
                addToDriverAccount(q, order.driverName, false, order.paymentSql());
                addToDriverAccount(q, newName, true, order.paymentSql());
            }
            q.exec(QStringLiteral("UPDATE CLOSEZAMOVLENNIA SET CZ_POZIVNIY = %1,     CZ_FIO_TAXI = %2 WHERE "
                                  "(CZ_NUMBER = %3) AND %4")
                       .arg(sql::integer(newCallsign), sql::text(newName), sql::integer(order.number),
                            unchanged(order)));
            ExpectChangedExactlyOne(q, O::kDriverOrderChanged);
            before = order;
        },
        A::kDriverChangeFailed);
    if (!done)
        return {false, true};
    // After the commit: both drivers' marks come from the archive as it is now.
    if (before.callsign != 0)
        UpdateDriverMarks(m_ctx, before.callsign, before.driverName);
    UpdateDriverMarks(m_ctx, newCallsign, newName);
    return {true, true};
}

MaintenanceOutcome ArchivedOrderMaintenance::ToggleArchivedOrderFree()
{
    ArchivedOrder shown;
    if (!inTransaction([&] { shown = readCorrectable(m_ctx.dani.RIZNE, m_header.number); }))
        return {false, true};
    // A client without a code has no counters the status could move.
    if (shown.clientCode == 0)
        return {};
    const bool wasFree = shown.isFree();
    if (!m_ctx.prompts.question(wasFree ? O::kFreeToPaidQuestion : O::kPaidToFreeQuestion))
        return {};

    const qint64 every = ridesPerFreeRide();
    bool changed = false;
    const bool done = inTransaction(
        [&] {
            FbQuery& q = m_ctx.dani.RIZNE;
            const ArchivedOrder order = readCorrectable(q, m_header.number);
            if (order.clientCode != shown.clientCode || order.isFree() != wasFree)
                throw MaintenanceRefusal{O::kChanged};
            const std::optional<RideCounters> was = readCounters(q, order.clientCode);
            RideCounters now;
            if (wasFree) {
                // The free ride goes back to the client, and the ride counts as paid.
                if (was)
                    now = withPaidRide({was->rides, was->freeRides + 1}, every);
            } else {
                if (!was || was->freeRides <= 0)
                    return; // no free ride to spend on it
                // Undoing the paid ride would take back the very free ride it is to spend.
                if (every > 0 && was->rides == 0 && was->freeRides == 1)
                    throw MaintenanceRefusal{A::kFirstFreeRide};
                now = withoutPaidRide({was->rides, was->freeRides - 1}, every);
            }
            q.exec(QStringLiteral("UPDATE CLOSEZAMOVLENNIA SET CZ_BEZKOSHTOVN = %1 WHERE (CZ_BEZKOSHTOVN = "
                                  "%2) and (CZ_NUMBER = %3) AND %4")
                       .arg(wasFree ? QStringLiteral("'HI'") : QStringLiteral("'TAK'"),
                            sql::text(order.freeRide), sql::integer(order.number), unchanged(order)));
            ExpectChangedExactlyOne(q, O::kChanged);
            if (was)
                writeCounters(q, order.clientCode, *was, now);
            changed = true;
            shown = order;
        },
        A::kStatusChangeFailed);
    // The jubilee mark follows the driver's free rides in the committed archive.
    if (done && changed && shown.callsign != 0)
        UpdateDriverMarks(m_ctx, shown.callsign, shown.driverName);
    return {done && changed, true};
}

MaintenanceOutcome ArchivedOrderMaintenance::SetArchivedOrderPayment()
{
    // Once, on a paid order of a registered client: a free ride costs the client nothing,
    // so no money may move for it.
    auto payable = [](const ArchivedOrder& order) {
        return order.clientCode != 0 && order.payment.isZero() && !order.isFree();
    };
    bool applicable = false;
    if (!inTransaction([&] { applicable = payable(readCorrectable(m_ctx.dani.RIZNE, m_header.number)); }))
        return {false, true};
    if (!applicable)
        return {};

    const QString typed =
        m_ctx.prompts.inputBox(O::kBalanceTitle, O::kBalancePrompt, QStringLiteral("0")).trimmed();
    if (typed.isEmpty() || typed == QLatin1String("0"))
        return {};
    const Money amount = Money::typed(typed).cutToCents();
    // A negative amount would move money from the driver to the client.
    if (amount.isZero() || amount.isNegative()) {
        m_ctx.prompts.message(A::kWrongAmount);
        return {};
    }
    const QString sum = sql::decimal(amount.sqlText());
    const bool done = inTransaction(
        [&] {
            FbQuery& q = m_ctx.dani.RIZNE;
            const ArchivedOrder order = readCorrectable(q, m_header.number);
            if (!payable(order))
                throw MaintenanceRefusal{O::kChanged};
            q.exec(
                QStringLiteral("UPDATE CLOSEZAMOVLENNIA SET CZ_OPLATA_BALANSOM = %1 WHERE (CZ_BEZKOSHTOVN = "
                               "'HI') AND (CZ_NUMBER = %2) AND %3")
                    .arg(sum, sql::integer(order.number), unchanged(order)));
            ExpectChangedExactlyOne(q, O::kChanged);
            addToDriverAccount(q, order.driverName, true, sum);
            addToClientBalance(q, order.clientCode, false, sum, m_ctx.clock.now().date());
        },
        A::kPaymentFailed);
    return {done, true};
}

MaintenanceOutcome ArchivedOrderMaintenance::DeleteArchivedOrder()
{
    const QString reason = m_ctx.prompts.inputBox(A::kDeleteTitle, O::kDeletePrompt, QString());
    if (reason.isEmpty())
        return {};
    const qint64 every = ridesPerFreeRide();
    ArchivedOrder deleted;
    const bool done = inTransaction([&] {
        FbQuery& q = m_ctx.dani.RIZNE;
        // A second deletion finds the order deleted and gives nothing back again.
        const ArchivedOrder order = readCorrectable(q, m_header.number);
        const QDateTime now = m_ctx.clock.now();
        q.exec(
            QStringLiteral("UPDATE CLOSEZAMOVLENNIA SET CZ_STATUS_ZAMOVL = -1,     CZ_DATA_ZAKR_ZAMOVL = %1, "
                           "    CZ_CHAS_ZAKR_ZAMOVL = %2,     CZ_PRICHINA_DELETE = %3 WHERE CZ_NUMBER = %4 "
                           "AND %5")
                .arg(sql::date(now.date()), sql::timeHm(now.time()),
                     sql::text(QLatin1Char('<') + m_ctx.currentDispatcher + QStringLiteral("> ") + reason +
                               QStringLiteral("   ") + order.reasons),
                     sql::integer(order.number), unchanged(order)));
        ExpectChangedExactlyOne(q, O::kDeletedMeanwhile);
        if (!order.payment.isZero()) {
            addToDriverAccount(q, order.driverName, false, order.paymentSql());
            if (order.clientCode != 0)
                addToClientBalance(q, order.clientCode, true, order.paymentSql(), now.date());
        }
        if (order.isFree()) {
            if (const std::optional<RideCounters> was = readCounters(q, order.clientCode))
                writeCounters(q, order.clientCode, *was, {was->rides, was->freeRides + 1});
        } else {
            undoPaidRide(q, order.clientCode, every);
        }
        deleted = order;
    });
    if (!done)
        return {false, true};
    // The deleted order becomes the driver's refusal mark.
    if (deleted.callsign != 0)
        UpdateDriverMarks(m_ctx, deleted.callsign, deleted.driverName);
    return {true, true};
}
