#include "orders/intake/TripTiming.h"

#include "orders/intake/Money.h"

qint64 TripTiming::tripMinutes(const QString& kmInTown, const QString& kmOutOfTown,
                               const QString& waitingMinutes, const QString& averageSpeed,
                               const QString& defaultDuration)
{
    const Money distance = Money::typed(kmInTown) + Money::typed(kmOutOfTown);
    const Money speed = Money::typed(averageSpeed);
    if (!distance.isZero() && !speed.isZero()) {
        // distance ÷ (speed ÷ 60) + waiting = (60 × distance + waiting × speed) ÷ speed, exactly.
        const Money numerator = Money::fromInteger(60) * distance + Money::typed(waitingMinutes) * speed;
        if (const auto minutes = Money::roundedQuotient(numerator, speed))
            return *minutes;
    }
    return Money::roundedQuotient(Money::typed(defaultDuration), Money::fromInteger(1)).value_or(0);
}

std::optional<qint64> TripTiming::arrivalMinutes(const QString& distanceMetres, const QString& averageSpeed)
{
    const Money metres = Money::typed(distanceMetres);
    const Money speed = Money::typed(averageSpeed);
    if (metres.isZero() || speed.isZero())
        return std::nullopt;
    // metres × 1.42 ÷ 1000 ÷ (speed ÷ 60) = metres × 1.42 × 60 ÷ (1000 × speed)
    const Money numerator = metres * Money::typed(QStringLiteral("85.2"));
    const auto minutes = Money::roundedQuotient(numerator, Money::fromInteger(1000) * speed);
    if (!minutes || *minutes == 0)
        return std::nullopt;
    return *minutes + 5;
}
