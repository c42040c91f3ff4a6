#pragma once

#include <QString>

struct DispatchContext;

// The dispatchers' chat of the messages window: composing a message from a template or
// as own text, and sending it as the next numbered row of MSG_FOR_DISP. Every workstation
// shows it when the database event of the insert arrives, the sender's own too.
class DispatcherMessages
{
public:
    static const QString kNotSentMessage;

    explicit DispatcherMessages(DispatchContext& ctx) : m_ctx(ctx) {}

    // "Написати нове повідомлення": asks how and what, then sends. True when it was stored.
    bool compose();
    // Stores one message. Another workstation taking the same number at the same moment
    // (the table's key) makes it try once more with a fresh number.
    bool send(const QString& text);

private:
    bool store(const QString& text);

    DispatchContext& m_ctx;
};
