#include "orders/intake/OrderStatements.h"

#include "foundation/SqlLiteral.h"

#include <QStringList>

namespace {

QString tableName(OrderTable table)
{
    return table == OrderTable::Open ? QStringLiteral("ZAMOVLENNIA") : QStringLiteral("CLOSEZAMOVLENNIA");
}

QString column(OrderTable table, const char* name)
{
    return (table == OrderTable::Open ? QStringLiteral("ZAMOVL_") : QStringLiteral("CZ_")) +
           QLatin1String(name);
}

QString notDeleted(OrderTable table, qint64 number)
{
    return QStringLiteral("WHERE (") + column(table, "NUMBER") + QStringLiteral(" = ") +
           sql::integer(number) + QStringLiteral(") and (") + column(table, "STATUS_ZAMOVL") +
           QStringLiteral(" <> (-1))");
}

const QString kIndent = QStringLiteral("     ");
const QString kComma = QStringLiteral(", ");

} // namespace

QString OrderStatements::description(const NewOrder& order)
{
    return (order.preliminary ? QStringLiteral("{попереднє}   тел.:[")
                              : QStringLiteral("{швидке}   тел.:[")) +
           order.telephone + QStringLiteral("]   тариф:[") + order.tariffName + QStringLiteral("]  (") +
           order.notes + QLatin1Char(')');
}

QString OrderStatements::insert(const NewOrder& order)
{
    const QStringList lines = {
        QStringLiteral("INSERT INTO ZAMOVLENNIA"),
        QStringLiteral(
            "(ZAMOVL_NUMBER, ZAMOVL_NOMER_KLIENT, ZAMOVL_PRICHINA_DELETE, ZAMOVL_POCHAT_PUNKT, "
            "ZAMOVL_PUNKT_PRIZHACH,  ZAMOVL_BALANS_KLIENTA, ZAMOVL_SUMA_ROZRAHUNK, ZAMOVL_PRIYOM_ZAMOVL, "),
        QStringLiteral("ZAMOVL_DATA_PRIYOMA, ZAMOVL_CHAS_PRIYOMA, ZAMOVL_BEZKOSHTOVN, ZAMOVL_STATUS_ZAMOVL, "
                       "ZAMOVL_DATA_ZAKR_ZAMOVL, ZAMOVL_CHAS_ZAKR_ZAMOVL)"),
        QStringLiteral("VALUES (GEN_ID(GENIDZAMOVL, 1), "),
        kIndent + sql::integer(order.clientCode) + kComma,
        QLatin1Char(' ') + sql::text(description(order)) + kComma,
        kIndent + sql::text(order.start) + kComma,
        kIndent + sql::text(order.destination) + kComma,
        kIndent + sql::decimal(order.balance.sqlText()) + kComma,
        kIndent + sql::decimal(order.sum.sqlText()) + kComma,
        kIndent + sql::text(order.dispatcher) + kComma,
        kIndent + sql::date(order.acceptance.date()) + kComma,
        kIndent + sql::timeHm(order.acceptance.time()) + kComma,
        kIndent + (order.jubilee ? QStringLiteral("'TAK'") : QStringLiteral("'HI'")) + kComma,
        kIndent + QStringLiteral("0, "),
        kIndent + sql::date(order.completion.date()) + kComma,
        kIndent + sql::timeHm(order.completion.time()) + QStringLiteral(") "),
    };
    return lines.join(QLatin1Char('\n'));
}

QString OrderStatements::selectForEdit(OrderTable table, qint64 number)
{
    return QStringLiteral("SELECT * FROM ") + tableName(table) + QLatin1Char('\n') +
           notDeleted(table, number);
}

QString OrderStatements::updateSumAndRoute(OrderTable table, qint64 number, const Money& sum,
                                           const QString& start, const QString& destination)
{
    const QStringList lines = {
        QStringLiteral("UPDATE ") + tableName(table),
        QStringLiteral("SET ") + column(table, "SUMA_ROZRAHUNK") + QStringLiteral(" = ") +
            sql::decimal(sum.sqlText()) + QLatin1Char(','),
        QStringLiteral("    ") + column(table, "POCHAT_PUNKT") + QStringLiteral(" = ") + sql::text(start) +
            QLatin1Char(','),
        QStringLiteral("    ") + column(table, "PUNKT_PRIZHACH") + QStringLiteral(" = ") +
            sql::text(destination),
        notDeleted(table, number),
    };
    return lines.join(QLatin1Char('\n'));
}
