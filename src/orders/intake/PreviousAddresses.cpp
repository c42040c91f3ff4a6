#include "orders/intake/PreviousAddresses.h"

#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"

#include <algorithm>

QStringList PreviousAddresses::pick(const QStringList& newestFirst)
{
    QStringList taken;
    QString takenText; // the list's whole text, one address a line
    for (const QString& address : newestFirst) {
        if (taken.size() == kLimit)
            break;
        if (address.isEmpty() || takenText.contains(address))
            continue;
        taken << address;
        takenText += address + QStringLiteral("\r\n");
    }
    return taken;
}

QStringList PreviousAddresses::forClient(TDANI& dani, qint64 clientCode)
{
    if (clientCode == 0)
        return {};
    struct Row
    {
        qint64 number;
        QString address;
    };
    std::vector<Row> rows;
    const QString code = sql::integer(clientCode);
    dani.TRANZ_RIZNE.commitIfActive();
    const auto collect = [&](const QString& sql) {
        for (const auto& row : dani.RIZNE.exec(sql).rows)
            rows.push_back({row[0].toLongLong(), row[1].isValid() ? row[1].toString() : QString()});
    };
    collect(
        QStringLiteral(
            "SELECT ZAMOVL_NUMBER, ZAMOVL_POCHAT_PUNKT FROM ZAMOVLENNIA\n"
            "WHERE (ZAMOVL_STATUS_ZAMOVL = 1) and (ZAMOVL_NOMER_KLIENT <> 0) AND (ZAMOVL_NOMER_KLIENT = ") +
        code + QStringLiteral(")\nORDER BY ZAMOVL_NUMBER DESC"));
    collect(
        QStringLiteral("SELECT CZ_NUMBER, CZ_POCHAT_PUNKT FROM CLOSEZAMOVLENNIA\n"
                       "WHERE (CZ_STATUS_ZAMOVL = 1) and (CZ_NOMER_KLIENT <> 0) AND (CZ_NOMER_KLIENT = ") +
        code + QStringLiteral(")\nORDER BY CZ_NUMBER DESC"));
    dani.TRANZ_RIZNE.commit();
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row& a, const Row& b) { return a.number > b.number; });
    QStringList addresses;
    addresses.reserve(static_cast<qsizetype>(rows.size()));
    for (const Row& row : rows)
        addresses << row.address;
    return pick(addresses);
}
