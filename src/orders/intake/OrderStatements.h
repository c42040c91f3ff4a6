#pragma once

#include "orders/intake/Money.h"

#include <QDateTime>
#include <QString>

// Where an order being edited lives: the current orders, or the archive of finished
// ones (the same columns with the prefix CZ_ instead of ZAMOVL_).
enum class OrderTable {
    Open,    // ZAMOVLENNIA
    Archive, // CLOSEZAMOVLENNIA
};

// One new row of ZAMOVLENNIA as the order form fills it.
struct NewOrder
{
    qint64 clientCode = 0;
    bool preliminary = false;
    QString telephone; // the caller's telephone
    QString tariffName;
    QString notes;       // lines joined by CR LF
    QString start;       // stored pick-up text, at most 100 characters
    QString destination; // stored destination text, at most 100 characters; may be empty
    Money balance;
    Money sum;
    QString dispatcher;
    QDateTime acceptance; // minutes count, seconds do not
    QDateTime completion;
    bool jubilee = false;
};

// The statements the order form sends, line by line as the drivers' side and the other
// workstations have always read them; every value through the literal helpers.
class OrderStatements
{
public:
    // The order's description, ZAMOVL_PRICHINA_DELETE while it is open:
    // "{швидке}   тел.:[" telephone "]   тариф:[" tariff "]  (" notes ")".
    static QString description(const NewOrder& order);
    // One INSERT; the order number comes from GEN_ID(GENIDZAMOVL, 1).
    static QString insert(const NewOrder& order);
    // The order unless it was deleted (status -1).
    static QString selectForEdit(OrderTable table, qint64 number);
    static QString updateSumAndRoute(OrderTable table, qint64 number, const Money& sum, const QString& start,
                                     const QString& destination);
};
