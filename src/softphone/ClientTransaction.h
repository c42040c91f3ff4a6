#pragma once

#include "softphone/OutgoingRequest.h"
#include "softphone/RetransmitTimer.h"
#include "softphone/SipMessage.h"

#include <functional>

// One request of ours and its answers (RFC 3261 section 17.1): sent again until a
// response comes, matched to its responses by the Via branch and the CSeq method
// (section 17.1.3), and, for an INVITE refused with a final response, acknowledged
// in the same transaction each time that response arrives (section 17.1.1.3).
class ClientTransaction
{
public:
    using Send = std::function<void(const QByteArray&)>;
    using TimedOut = std::function<void()>;
    enum class Outcome { Provisional, Final, Retransmission };

    // Sends the request at once with send (which may abort the running operation);
    // the timers' retransmissions go through resend, which must not.
    ClientTransaction(OutgoingRequest request, const QByteArray& text, int t1, Send send, Send resend,
                      TimedOut timedOut);

    const OutgoingRequest& Request() const { return m_request; }
    const QByteArray& Text() const { return m_text; }
    bool IsInvite() const { return m_request.method == "INVITE"; }
    bool Matches(const SipMessage& response) const;
    // What this response means to the transaction; code is its status code.
    Outcome Receive(const SipMessage& response, int code);
    bool Completed() const { return m_finalCode != 0; }
    int FinalCode() const { return m_finalCode; }
    void Stop() { m_retransmit.Stop(); }

private:
    OutgoingRequest m_request;
    QByteArray m_text;
    Send m_send;
    RetransmitTimer m_retransmit;
    int m_finalCode = 0;
    QByteArray m_ack;
};
