#include "orders/maintenance/MaintenanceTransaction.h"

#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"
#include "platform/Prompts.h"

bool RunMaintenanceTransaction(TDANI& dani, IPrompts& prompts, const std::function<void()>& work,
                               const QString& failureMessage)
{
    FbTransaction& transaction = dani.TRANZ_RIZNE;
    QString shown;
    try {
        transaction.commitIfActive();
        work();
        transaction.commit();
        return true;
    } catch (const MaintenanceRefusal& refusal) {
        shown = refusal.message;
    } catch (const DbError& e) {
        shown = failureMessage.isEmpty() || e.lockConflict() ? e.message() : failureMessage;
    }
    // The message waits until the transaction is undone: a modal box must not keep rows
    // locked against the other workstations.
    transaction.rollbackQuietly();
    prompts.message(shown);
    return false;
}

void ExpectChanged(const FbQuery& q, const QString& changedMessage)
{
    if (q.affectedRows() == 0)
        throw MaintenanceRefusal{changedMessage};
}

void ExpectChangedExactlyOne(const FbQuery& q, const QString& changedMessage)
{
    if (q.affectedRows() != 1)
        throw MaintenanceRefusal{changedMessage};
}

StoredOrder StoredOrderAt(const FbRows& rows, int row)
{
    auto value = [&](const char* column) { return rows.value(row, QLatin1String(column)); };
    StoredOrder order;
    order.number = value("ZAMOVL_NUMBER").toLongLong();
    order.clientCode = value("ZAMOVL_NOMER_KLIENT").toLongLong();
    order.callsign = value("ZAMOVL_POZIVNIY").toLongLong();
    order.driverName = value("ZAMOVL_FIO_TAXI").toString();
    order.freeRide = value("ZAMOVL_BEZKOSHTOVN").toString();
    order.additional = value("ZAMOVL_PRICHINA_DELETE").toString();
    order.statusSet = value("ZAMOVL_STATUS_ZAMOVL").isValid();
    order.status = value("ZAMOVL_STATUS_ZAMOVL").toLongLong();
    return order;
}

std::optional<StoredOrder> ReadStoredOrder(FbQuery& q, qint64 number)
{
    const FbRows& rows = q.exec(
        QStringLiteral("SELECT * FROM ZAMOVLENNIA WHERE (ZAMOVL_NUMBER = %1)").arg(sql::integer(number)));
    if (rows.rowCount() != 1)
        return std::nullopt;
    return StoredOrderAt(rows, 0);
}
