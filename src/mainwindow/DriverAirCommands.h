#pragma once

#include "dispatch/DriversOnAir.h"

#include <functional>
#include <optional>

class ICarCardStands;
struct DispatchContext;

// Putting drivers on air, taking them off and removing them from stands, from the
// drivers page or the stand page of the main window. Each command copies the row it
// works on before its first dialog.
class DriverAirCommands
{
public:
    // fromAllStands: the hot-key help window's option "Зі всіх стоянок на нульову /
    // з виділеної стоянки", read when a removal runs.
    DriverAirCommands(DispatchContext& ctx, ICarCardStands& carCard, std::function<bool()> fromAllStands);

    struct PutOnAirOutcome
    {
        std::optional<DriverDetails> carCard; // shown when he was put on air
        bool blackListed = false;             // the black list window is to be shown
    };
    // Asks for a callsign and, when it has several drivers, which of them; puts him on
    // air.
    PutOnAirOutcome putDriverOnAir();
    // The current driver of the drivers page, after a question. True when taken off.
    bool takeCurrentDriverOffAir();
    // A callsign typed from the queue of the selected stand. True when taken off.
    bool takeStandDriverOffAir();
    // The current driver of the drivers page from his stand. True when the card ran.
    bool removeCurrentDriverFromStand();
    // A callsign typed from the queue of the selected stand. True when the card ran.
    bool removeDriverFromSelectedStand();

private:
    std::optional<QString> chooseDriverName(qint64 callsign);
    // The callsign typed from the selected stand's queue, 0 when none was accepted.
    qint64 askStandCallsign(const QString& stand, const QString& caption, const QString& lastLine);
    void removeFromStand(qint64 callsign, const QString& stand);

    DispatchContext& m_ctx;
    ICarCardStands& m_carCard;
    std::function<bool()> m_fromAllStands;
};
