#include "mainwindow/ClientCall.h"

#include "dispatch/DispatchContext.h"
#include "mainwindow/RowSnapshots.h"
#include "orders/intake/CallerLookup.h"
#include "platform/Prompts.h"

QString ClientCall::telephoneIn(const QString& description)
{
    return CallerLookup::telephoneIn(description);
}

std::optional<QString> ClientCall::telephoneToCall(bool outgoingCallsAllowed)
{
    const std::optional<OrderRow> order = currentOrderRow(m_ctx.dani);
    if (!order || !outgoingCallsAllowed)
        return std::nullopt;
    const QString telephone = telephoneIn(order->description);
    if (telephone.isEmpty())
        return std::nullopt;
    if (!m_ctx.prompts.question(QStringLiteral("Виконати звінок на вказаний телефон [%1] ?").arg(telephone)))
        return std::nullopt;
    return telephone;
}
