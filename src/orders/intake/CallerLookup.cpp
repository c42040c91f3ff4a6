#include "orders/intake/CallerLookup.h"

#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"
#include "orders/intake/CallerNumber.h"

#include <algorithm>

namespace {

// One read of the data module's "various" query, committed so the next read sees what
// other workstations did meanwhile; none after a database error.
std::optional<FbRows> read(TDANI& dani, const QString& sql)
{
    try {
        dani.TRANZ_RIZNE.commitIfActive();
        FbRows rows = dani.RIZNE.exec(sql);
        dani.TRANZ_RIZNE.commit();
        return rows;
    } catch (const DbError&) {
        dani.TRANZ_RIZNE.rollbackQuietly();
        return std::nullopt;
    }
}

QString textOf(const QVariant& value)
{
    return value.isValid() && !value.isNull() ? value.toString().trimmed() : QString();
}

} // namespace

std::optional<int> CallerLookup::dispatcherNumber(const QString& fullName)
{
    const std::optional<FbRows> rows =
        read(m_dani, QStringLiteral("SELECT  TABLE_PRACIV_NOMER  FROM  PRACIVNIK  WHERE (TABLE_PRACIV_FIO = ") +
                         sql::text(fullName) + QLatin1Char(')'));
    if (!rows || rows->isEmpty() || rows->rows[0][0].isNull())
        return std::nullopt;
    bool readable = false;
    const int number = rows->rows[0][0].toInt(&readable);
    return readable ? std::optional<int>(number) : std::nullopt;
}

QString CallerLookup::clientNameFor(const QString& number)
{
    const QString telephone = CallerNumber::telephoneCharacters(number);
    if (telephone.isEmpty())
        return {};
    const std::optional<FbRows> rows =
        read(m_dani, QStringLiteral("SELECT FIRST 1 KLIENT_FIO FROM KLIENT WHERE ") +
                         sql::containsCondition(QStringLiteral("KLIENT_TELEFON"), telephone) +
                         QStringLiteral(" ORDER BY KLIENT_NUMBER"));
    return rows && !rows->isEmpty() ? textOf(rows->rows[0][0]) : QString();
}

std::optional<QString> CallerLookup::openOrderFor(const QString& number, const QString& withPrefix)
{
    const QString telephone = CallerNumber::telephoneCharacters(number);
    const QString prefixed = CallerNumber::telephoneCharacters(withPrefix);
    if (telephone.isEmpty())
        return std::nullopt;
    // The database narrows the orders down; the bracketed telephone itself decides, so a
    // number that merely occurs in the notes or the tariff's name is no match.
    const std::optional<FbRows> rows = read(
        m_dani, QStringLiteral("SELECT ZAMOVL_NUMBER, ZAMOVL_POCHAT_PUNKT, ZAMOVL_POZIVNIY, ZAMOVL_FIO_TAXI, "
                               "ZAMOVL_PRICHINA_DELETE FROM ZAMOVLENNIA\nWHERE (ZAMOVL_STATUS_ZAMOVL = 0) AND ") +
                    sql::containsCondition(QStringLiteral("ZAMOVL_PRICHINA_DELETE"), telephone) +
                    QStringLiteral("\nORDER BY ZAMOVL_NUMBER DESC"));
    if (!rows)
        return std::nullopt;
    for (const auto& row : rows->rows) {
        const QString contact = CallerNumber::telephoneCharacters(telephoneIn(textOf(row[4])));
        if (contact != telephone && (prefixed.isEmpty() || contact != prefixed))
            continue;
        const qint64 callsign = row[2].toLongLong();
        const QString driver = callsign != 0
                                   ? (QString::number(callsign) + QLatin1Char(' ') + textOf(row[3])).trimmed()
                                   : QStringLiteral("водія не призначено");
        return QStringLiteral("№ ") + QString::number(row[0].toLongLong()) + QStringLiteral(", ") +
               textOf(row[1]) + QStringLiteral(", ") + driver;
    }
    return std::nullopt;
}

QString CallerLookup::telephoneIn(const QString& description)
{
    const int close = description.indexOf(QLatin1Char(']'));
    const int open = description.left(std::max(close, 0)).indexOf(QLatin1Char('['));
    if (close < 0 || open < 0)
        return {};
    return description.mid(open + 1, close - open - 1).trimmed();
}
