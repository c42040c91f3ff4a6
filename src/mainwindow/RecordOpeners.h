#pragma once

#include <QString>
#include <optional>

struct DispatchContext;

// The checks before a card or the map is opened for the selected row. Each copies
// the row, tells the dispatcher when there is nothing to open, and returns what the
// window opens: a callsign for the car card, a client code for the client card, an
// address or stand for the map.
class RecordOpeners
{
public:
    explicit RecordOpeners(DispatchContext& ctx) : m_ctx(ctx) {}

    std::optional<qint64> driverCardForOrder();
    // Only with the drivers page shown (the button does nothing on the stand page);
    // a double-click or Enter on either drivers grid passes true.
    std::optional<qint64> driverCardForDriver(bool driversPageShown);
    std::optional<qint64> clientCardForOrder();
    // The client code shown in the hot order's details.
    std::optional<qint64> clientCardForCode(const QString& shownCode);
    // The current driver's stand, unless it is the zero stand. Says nothing.
    std::optional<QString> driverStandOnMap();
    // The start point, or after a choice the destination, of the current executed order.
    std::optional<QString> executedPointOnMap();

private:
    std::optional<qint64> clientCard(qint64 code);

    DispatchContext& m_ctx;
};
