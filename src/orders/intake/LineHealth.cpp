#include "orders/intake/LineHealth.h"

namespace {
QString timeOf(const QDateTime& at)
{
    return at.time().toString(QStringLiteral("hh:mm:ss"));
}
} // namespace

LineHealth LineHealth::evaluate(const Facts& facts)
{
    if (!facts.switchedOn)
        return {};
    if (!facts.failure.isEmpty())
        return {Level::Failing, facts.failure};
    if (!facts.registered || !facts.confirmedAt.isValid())
        return {Level::Lapsed, QStringLiteral("не зареєстровано на сервері")};
    if (!facts.serverAnswering)
        return {Level::Lapsed, QStringLiteral("сервер не відповідає (зареєстровано о ") + timeOf(facts.confirmedAt) +
                                   QLatin1Char(')')};
    if (facts.lapsesAt.isValid() && facts.now >= facts.lapsesAt)
        return {Level::Lapsed, QStringLiteral("реєстрація закінчилась о ") + timeOf(facts.lapsesAt)};
    return {Level::Registered, QStringLiteral("зареєстровано о ") + timeOf(facts.confirmedAt)};
}
