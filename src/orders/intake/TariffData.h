#pragma once

#include <QStringList>
#include <optional>

class OrderIntake;

// What the window of the chosen tariff shows: its five prices and the firm's jubilee
// trip limit, each under its caption.
class TariffData
{
public:
    static const QString kTitle;
    static const QStringList kCaptions;

    // The six values in the captions' order; none while no tariff is chosen, so the
    // window never shows the prices of a tariff that no longer applies.
    static std::optional<QStringList> of(const OrderIntake& order);
};
