#include "mainwindow/RecordOpeners.h"

#include "dispatch/DispatchContext.h"
#include "foundation/DisplayText.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "mainwindow/RowSnapshots.h"
#include "platform/Prompts.h"

std::optional<qint64> RecordOpeners::driverCardForOrder()
{
    const std::optional<OrderRow> order = currentOrderRow(m_ctx.dani);
    if (!order || order->callsign == 0) {
        m_ctx.prompts.message(QStringLiteral("Таблиця пуста або не заданий позивний !!!"));
        return std::nullopt;
    }
    return order->callsign;
}

std::optional<qint64> RecordOpeners::driverCardForDriver(bool driversPageShown)
{
    if (!driversPageShown)
        return std::nullopt;
    const std::optional<DriverRow> driver = currentDriverRow(m_ctx.dani);
    if (!driver || driver->callsign == 0) {
        m_ctx.prompts.message(QStringLiteral("Таблиця пуста !!!"));
        return std::nullopt;
    }
    return driver->callsign;
}

std::optional<qint64> RecordOpeners::clientCardForOrder()
{
    const std::optional<OrderRow> order = currentOrderRow(m_ctx.dani);
    return clientCard(order ? order->clientCode : 0);
}

std::optional<qint64> RecordOpeners::clientCardForCode(const QString& shownCode)
{
    return clientCard(typedInteger(shownCode));
}

std::optional<qint64> RecordOpeners::clientCard(qint64 code)
{
    if (code == 0) {
        m_ctx.prompts.message(QStringLiteral("Таблиця пуста або код клієнта нульовий !!!"));
        return std::nullopt;
    }
    return code;
}

std::optional<QString> RecordOpeners::driverStandOnMap()
{
    const std::optional<DriverRow> driver = currentDriverRow(m_ctx.dani);
    if (!driver || driver->stand == kZeroStand)
        return std::nullopt;
    return driver->stand;
}

std::optional<QString> RecordOpeners::executedPointOnMap()
{
    const FbDataSet& list = m_ctx.dani.TABL_VIKON_ZAMOVL;
    if (!list.isOpen() || list.isEmpty() || list.recNo() == 0)
        return std::nullopt;
    const QString start = displayText(list.value(QStringLiteral("CZ_POCHAT_PUNKT")));
    const QString destination = displayText(list.value(QStringLiteral("CZ_PUNKT_PRIZHACH")));
    if (destination.isEmpty())
        return start;
    const QString choice =
        m_ctx.prompts.inputBox(QStringLiteral("Показ на карті :"),
                               QStringLiteral("Показ на карті свого міста\r*****************\r1. Початковий "
                                              "пункт\r2. Кінцевий пункт (при наявності)"),
                               QStringLiteral("0"));
    if (choice == QLatin1String("1"))
        return start;
    if (choice == QLatin1String("2"))
        return destination;
    return std::nullopt;
}
