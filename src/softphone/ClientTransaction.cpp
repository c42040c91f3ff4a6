#include "softphone/ClientTransaction.h"

#include "softphone/SipNameAddr.h"

ClientTransaction::ClientTransaction(OutgoingRequest request, const QByteArray& text, int t1, Send send,
                                     Send resend, TimedOut timedOut)
    : m_request(std::move(request)), m_text(text), m_send(std::move(send))
{
    m_retransmit.SetT1(t1);
    m_retransmit.Start(
        IsInvite(), [this, resend = std::move(resend)] { resend(m_text); }, std::move(timedOut));
    m_send(m_text);
}

bool ClientTransaction::Matches(const SipMessage& response) const
{
    const QByteArray branch = SipNameAddr::Parameter(response.HeaderValue("Via"), "branch");
    return branch == "z9hG4bK" + m_request.branchId && response.CSeqMethod() == m_request.method;
}

ClientTransaction::Outcome ClientTransaction::Receive(const SipMessage& response, int code)
{
    if (Completed()) {
        if (!m_ack.isEmpty())
            m_send(m_ack);
        return Outcome::Retransmission;
    }
    if (code < 200) {
        m_retransmit.Provisional();
        return Outcome::Provisional;
    }
    m_retransmit.Stop();
    m_finalCode = code;
    if (IsInvite() && code >= 300) {
        // The ACK carries the To of the response: it names the refusing side's tag.
        OutgoingRequest ack = m_request.WithMethod("ACK");
        const QByteArray to = response.HeaderValue("To");
        if (!to.isEmpty())
            ack.toValue = to;
        m_ack = ack.Text();
        m_send(m_ack);
    }
    return Outcome::Final;
}
