#pragma once

#include <QString>
#include <optional>

class DriverMessageDialog;
struct DispatchContext;

// Double-click on a GPRS action: what is known of its order, client and driver, and
// the offer to send that driver a message.
class GprsActionDetails
{
public:
    GprsActionDetails(DispatchContext& ctx, DriverMessageDialog& messages) : m_ctx(ctx), m_messages(messages)
    {
    }

    // The current action of the GPRS list; does nothing for an empty list or an action
    // without an order. True when a message was sent.
    bool showCurrentAction();

    struct Details
    {
        QString text;       // the question shown
        QString driverName; // of the order
    };
    // Throws DbError.
    Details describe(qint64 callsign, qint64 orderNumber);

private:
    DispatchContext& m_ctx;
    DriverMessageDialog& m_messages;
};
