#include "orders/intake/ClientWarnings.h"

const QString ClientWarnings::kBirthdayText = QStringLiteral("У  КЛІЄНТА  СЬОГОДНІ  ДЕНЬ  НАРОДЖЕННЯ !!!");

QStringList ClientWarnings::debtorLines(const QStringList& blackList, const QString& code)
{
    const QString bracketed = QLatin1Char('[') + code + QLatin1Char(']');
    QStringList matching;
    for (const QString& entry : blackList)
        if (entry.contains(bracketed))
            matching << QStringLiteral("   ") + entry;
    if (matching.isEmpty())
        return {};
    const QString rule(35, QLatin1Char('='));
    return QStringList{QStringLiteral("На даний код є запис у списку боржників !!!"), rule} + matching +
           QStringList{rule, QStringLiteral("ПЕРЕВІРЬТЕ ЧИ МОЖНА СТВОРЮВАТИ ЗАМОВЛЕННЯ ДАНОМУ КЛІЄНТУ !!!")};
}

bool ClientWarnings::isBirthday(const QDate& birthDate, const QDate& today)
{
    if (!birthDate.isValid() || !today.isValid())
        return false;
    QDate thisYear(today.year(), birthDate.month(), birthDate.day());
    if (!thisYear.isValid()) // 29 February in a common year
        thisYear = QDate(today.year(), 2, 28);
    return thisYear == today;
}
