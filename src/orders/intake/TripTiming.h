#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// The times an order estimates: when the trip will be over, and how soon the driver
// preselected for it can be there. Figures are texts as the order form and the firm's
// settings hold them; what does not read counts as 0.
class TripTiming
{
public:
    // Minutes of the trip: kilometres in town and out of town at the firm's average
    // speed (km/h) plus the planned waiting minutes; with no distance or no speed the
    // firm's default order duration. Rounded to whole minutes, halves to the even one.
    static qint64 tripMinutes(const QString& kmInTown, const QString& kmOutOfTown,
                              const QString& waitingMinutes, const QString& averageSpeed,
                              const QString& defaultDuration);

    // The acceptance moment plus the trip minutes; crossing midnight moves the date.
    static QDateTime plannedCompletion(const QDateTime& acceptance, qint64 tripMinutes)
    {
        return acceptance.addSecs(tripMinutes * 60);
    }

    // Minutes until a driver at a stand reaches the address: the straight map distance
    // in metres made 1.42 times longer for the streets, at the average speed, rounded
    // (halves to the even one), plus 5 for setting off. None when the distance or the
    // speed is 0 or the rounded minutes are 0.
    static std::optional<qint64> arrivalMinutes(const QString& distanceMetres, const QString& averageSpeed);
};
