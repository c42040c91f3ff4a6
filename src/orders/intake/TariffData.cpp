#include "orders/intake/TariffData.h"

#include "orders/intake/OrderIntake.h"

const QString TariffData::kTitle = QStringLiteral("Дані вибраного тарифу");
const QStringList TariffData::kCaptions{
    QStringLiteral("Прийняття замовлення / посадка"), QStringLiteral("Ціна 1 км. міського тарифу"),
    QStringLiteral("Ціна 1 км. заміського тарифу"),   QStringLiteral("Ціна попереднього замовлення"),
    QStringLiteral("Ціна хвилини простою"),           QStringLiteral("Ліміт ювілейної поїздки, грн"),
};

std::optional<QStringList> TariffData::of(const OrderIntake& order)
{
    const std::optional<TariffPrices>& prices = order.tariffPrices();
    if (!prices)
        return std::nullopt;
    return QStringList{prices->boarding,    prices->kmInTown,      prices->kmOutOfTown,
                       prices->preliminary, prices->waitingMinute, order.jubileeLimit()};
}
