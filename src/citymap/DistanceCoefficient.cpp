#include "citymap/DistanceCoefficient.h"

#include "foundation/TextHelpers.h"

#include <cmath>
#include <optional>

namespace {

std::optional<double> decimal(const QString& text)
{
    QString plain = text.trimmed();
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = plain.toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

} // namespace

double distanceFactor(const QStringList& entries, double kilometres)
{
    double factor = 0.0;
    for (QString entry : entries) {
        entry.replace(QLatin1Char('.'), QLatin1Char(','));
        if (!entry.contains(QStringLiteral("ВІДСТАНЬ")))
            continue;
        const auto low = decimal(ExtractBetween(entry, QStringLiteral("["), QStringLiteral("]")));
        const auto high = decimal(ExtractBetween(entry, QStringLiteral("("), QStringLiteral(")")));
        const auto value = decimal(ExtractBetween(entry, QStringLiteral("{"), QStringLiteral("}")));
        if (low && high && value && *low < kilometres && kilometres <= *high)
            factor = *value;
    }
    return factor;
}
