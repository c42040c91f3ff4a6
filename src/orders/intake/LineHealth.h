#pragma once

#include <QDateTime>
#include <QString>

// The health light of the dispatcher's line, worked out each second from what the SIP
// agent knows: green only while the registration is confirmed, still within its time
// and the server still answers, so a dead line never shows green.
struct LineHealth
{
    enum class Level { Off, Registered, Lapsed, Failing };

    struct Facts
    {
        bool switchedOn = false;      // the operator is connected (or connecting)
        QString failure;              // why the agent last failed (states 6, 10, 11, errors)
        bool registered = false;      // the agent's `Registered`
        bool serverAnswering = true;  // the keep-alive had its answer
        QDateTime confirmedAt;        // the registrar's last confirmation
        QDateTime lapsesAt;           // when that confirmation runs out
        QDateTime now;
    };

    Level level = Level::Off;
    QString text;

    static LineHealth evaluate(const Facts& facts);

    bool operator==(const LineHealth&) const = default;
};
