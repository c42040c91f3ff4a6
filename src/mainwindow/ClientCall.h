#pragma once

#include <QString>
#include <optional>

struct DispatchContext;

// "Звінок клієнту": the telephone the order form wrote into the order's description.
class ClientCall
{
public:
    explicit ClientCall(DispatchContext& ctx) : m_ctx(ctx) {}

    // The telephone of the current open order to dial, after the dispatcher agreed;
    // none when outgoing calls are not allowed, there is no telephone or he declined.
    // The window dials it only while the operator is idle.
    std::optional<QString> telephoneToCall(bool outgoingCallsAllowed);

    // "тел.:[067 123]  ..." → "067 123": the text between the first "[" and the first
    // "]" after it, trimmed; empty without such a pair.
    static QString telephoneIn(const QString& description);

private:
    DispatchContext& m_ctx;
};
