#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct DispatchContext;

// Putting drivers on air and taking them off, and the driver's two marks.
// BlackListed: an active black list entry holds the callsign; the caller opens the
// black list window. Refused: a failure, already shown.
enum class PutOnAirResult { OnAir, Refused, BlackListed };
PutOnAirResult PutDriverOnAir(DispatchContext& ctx, qint64 callsign, const QString& name);
bool TakeDriverOffAir(DispatchContext& ctx, qint64 callsign);
void UpdateDriverMarks(DispatchContext& ctx, qint64 callsign, const QString& name);

// Clear the jubilee and refusal marks older than their configured minutes, for every
// driver. Return an empty text or the failure.
QString ResetExpiredJubileeMarks(DispatchContext& ctx);
QString ResetExpiredRefusalMarks(DispatchContext& ctx);

// What the car card shows of a driver on air.
struct DriverDetails
{
    struct CheckItem
    {
        QString text;
        bool header = false;
        bool checked = false;
    };

    QString orderNumber, gprs, callsign, name, jubileeMark, refusalMark;
    QString plate, model, engineVolume, year, vin, colour, body, seats, load;
    QString phone, birthDate;
    QStringList places; // stands the callsign is marked at, the first one selected
    QString placesText; // "[<place>]" for each
    QList<CheckItem> objects;
    int checkedCount = 0;
};
// Throws DbError.
DriverDetails ShowDriverDetails(DispatchContext& ctx, qint64 callsign);
