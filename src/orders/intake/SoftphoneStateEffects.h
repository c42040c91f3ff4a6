#pragma once

#include <QString>
#include <optional>

// What the agent reports along with a state change, as far as the status line needs it.
struct SoftphoneStateFacts
{
    bool lastRequestWasRegistration = false; // decides the text of state 9
    QString lastReason;                      // `LastReason`, appended to states 10 and 11
    QString caller;                          // the normalised caller, for a missed call
};

// How the main window's strip reacts to one `State` of the SIP agent (`OnStateChange`).
struct SoftphoneStateEffects
{
    enum class Strip { Unchanged, Expanded, Collapsed };

    std::optional<QString> statusLine; // empty optional: the line keeps its text
    Strip strip = Strip::Unchanged;
    bool stopRinging = false;
    bool countOutgoing = false;
    bool countMissed = false;
    bool startCallTimer = false; // the call is established
    bool incomingCall = false;   // the caller is normalised and the ring starts

    static SoftphoneStateEffects forState(int state, const SoftphoneStateFacts& facts);
};

// Captions of the strip's group: before registration and once the server confirmed it.
QString softphoneNotSetCaption();
QString softphoneRegisteredCaption(const QString& login, const QString& server);
