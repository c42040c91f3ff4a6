#include "mainwindow/ClientCall.h"

#include "dispatch/DispatchContext.h"
#include "mainwindow/RowSnapshots.h"
#include "platform/Prompts.h"

#include <algorithm>

QString ClientCall::telephoneIn(const QString& description)
{
    // Without the bracket pair the description holds no telephone, and its free text
    // must never be dialled.
    const int close = description.indexOf(QLatin1Char(']'));
    const int open = description.left(std::max(close, 0)).indexOf(QLatin1Char('['));
    if (close < 0 || open < 0)
        return {};
    return description.mid(open + 1, close - open - 1).trimmed();
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
