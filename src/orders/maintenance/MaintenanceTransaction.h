#pragma once

#include <QString>
#include <functional>
#include <optional>

class FbQuery;
class FbRows;
class IPrompts;
class TDANI;

// Why an operation of the maintenance window stops without writing: a check against
// the database failed, or a guarded write found nothing to change. The text is what
// the dispatcher reads.
struct MaintenanceRefusal
{
    QString message;
};

// Runs one operation's reads and writes in the scratch transaction TRANZ_RIZNE: all of
// them are committed together, or all rolled back when a check refuses or a statement
// fails, so nothing stays pending for a later commit. The refusal's or the failure's
// text is shown; failureMessage replaces a failure's own text when given (a row another
// workstation holds keeps its own text). True when committed.
bool RunMaintenanceTransaction(TDANI& dani, IPrompts& prompts, const std::function<void()>& work,
                               const QString& failureMessage = {});

// The last statement of q changed rows, else the refusal with this text: the row was
// changed meanwhile by another workstation.
void ExpectChanged(const FbQuery& q, const QString& changedMessage);
void ExpectChangedExactlyOne(const FbQuery& q, const QString& changedMessage);

// An order as the database holds it now.
struct StoredOrder
{
    qint64 number = 0;
    qint64 clientCode = 0; // 0: no registered client
    qint64 callsign = 0;   // 0: unassigned (NULL counts as 0)
    QString driverName;
    QString freeRide; // 'TAK' or 'HI'
    QString additional;
    qint64 status = 0;
    bool statusSet = false;
};

// One row (from 0) of a "SELECT * FROM ZAMOVLENNIA" read.
StoredOrder StoredOrderAt(const FbRows& rows, int row);
// "SELECT * FROM ZAMOVLENNIA WHERE (ZAMOVL_NUMBER = n)": none unless exactly one row.
// Throws DbError.
std::optional<StoredOrder> ReadStoredOrder(FbQuery& q, qint64 number);
