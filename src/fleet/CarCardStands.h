#pragma once

#include <QString>

// What removing a driver from a stand needs of the car card: its details loaded for
// the callsign without showing the card, and its stand commands.
class ICarCardStands
{
public:
    virtual ~ICarCardStands() = default;
    virtual void loadWithoutShowing(qint64 callsign) = 0;
    // Ticks "Можливість редагування зміни стоянки GPRS водіям".
    virtual void allowGprsStandChange() = 0;
    // Leaves every stand for the zero stand (when the driver is free and not in GPRS).
    virtual void leaveAllStands() = 0;
    // Unticks every ticked entry of the card's stand list equal to stand.
    virtual void untickStand(const QString& stand) = 0;
    // "Затвердити  зміну  стоянок".
    virtual void confirmStandChange() = 0;
};

// Until the car card can change stands: nothing to load and nothing to change.
class NoCarCardStands : public ICarCardStands
{
public:
    void loadWithoutShowing(qint64) override {}
    void allowGprsStandChange() override {}
    void leaveAllStands() override {}
    void untickStand(const QString&) override {}
    void confirmStandChange() override {}
};
