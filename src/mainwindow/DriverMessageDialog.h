#pragma once

#include <QString>

struct DispatchContext;

// Sending a text to a driver's GPRS application: a template of the settings or the
// dispatcher's own text, for the current driver, the current order's driver, or a
// callsign named by another command.
class DriverMessageDialog
{
public:
    explicit DriverMessageDialog(DispatchContext& ctx) : m_ctx(ctx) {}

    // The current driver of the drivers page. True when a message was stored.
    bool sendToCurrentDriver();
    // The driver of the current open order.
    bool sendToOrderDriver();
    // The dialog itself for a callsign and driver already chosen.
    bool send(qint64 callsign, const QString& driverName);

    // The numbered template list of the prompt and the template an answer picks
    // (empty for anything but a listed number).
    static QString templatePrompt(const QStringList& templates);
    static QString chosenTemplate(const QStringList& templates, const QString& answer);

private:
    QString askMessage();
    QStringList templates() const;

    DispatchContext& m_ctx;
};
