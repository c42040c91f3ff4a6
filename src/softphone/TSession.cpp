#include "softphone/TSession.h"

#include "platform/net/SecureRandomId.h"
#include "softphone/TCustomSIPClient.h"
#include "softphone/UserAgent.h"

namespace {

// The URI between the first "<" and the next ">", without its parameters.
QByteArray uriOf(const QByteArray& nameAddr)
{
    QByteArray uri = nameAddr;
    const qsizetype open = uri.indexOf('<');
    if (open >= 0) {
        const qsizetype close = uri.indexOf('>', open + 1);
        uri = uri.mid(open + 1, close < 0 ? -1 : close - open - 1);
    }
    const qsizetype parameters = uri.indexOf(';');
    return parameters < 0 ? uri : uri.left(parameters);
}

} // namespace

TSession::TSession(TCustomSIPClient& owner, const SipMessage& invite, const Ipv4Endpoint& source,
                   quint32 tagTick)
    : m_owner(owner), m_invite(invite), m_inviteSource(source), m_callId(invite.HeaderValue("Call-ID")),
      m_callerFrom(invite.HeaderValue("From") + "\r\n"),
      m_localToLine(invite.HeaderValue("To") + ";tag=" + QByteArray::number(tagTick) + "\r\n"),
      m_remoteTarget(uriOf(invite.HeaderValue("From")))
{
    m_headerBlock = "From: " + m_callerFrom + "To: " + m_localToLine + "Call-ID: " + m_callId + "\r\n" +
                    "Max-Forwards: 70\r\n" + "Expires: 1800\r\n" + "User-Agent: " + UserAgent::Name + "\r\n";
}

QByteArray TSession::responseHead(const QByteArray& statusText, const SipMessage& request,
                                  const Ipv4Endpoint& source) const
{
    return "SIP/2.0 " + statusText + "\r\n" + m_owner.viaLines(request, source, ": ") + m_headerBlock;
}

void TSession::Respond(const QByteArray& statusText)
{
    m_lastInviteResponse = responseHead(statusText, m_invite, m_inviteSource) +
                           "CSeq: " + m_invite.HeaderValue("CSeq") + "\r\n" + "Content-Length: 0\r\n\r\n";
    m_owner.transmit(m_lastInviteResponse, m_inviteSource);
}

void TSession::RespondSDP(const QByteArray& statusText)
{
    const QByteArray& sdp = m_owner.m_localSdp;
    m_lastInviteResponse = responseHead(statusText, m_invite, m_inviteSource) +
                           "CSeq:" + m_invite.HeaderValue("CSeq") + "\r\n" + m_owner.m_contactLine +
                           "Content-Type: application/sdp\r\n" +
                           "Content-Length: " + QByteArray::number(sdp.size()) + "\r\n\r\n" + sdp;
    m_owner.transmit(m_lastInviteResponse, m_inviteSource);
    // A 2xx is resent until the caller's ACK arrives (RFC 3261 section 13.3.1.4).
    m_answerRetransmit.Start(
        false,
        [this] { m_owner.runGuarded([this] { m_owner.transmit(m_lastInviteResponse, m_inviteSource); }); },
        {});
}

void TSession::RespondTo(const SipMessage& request, const Ipv4Endpoint& source, const QByteArray& statusText)
{
    m_owner.transmit(responseHead(statusText, request, source) + "CSeq: " + request.HeaderValue("CSeq") +
                         "\r\n" + "Content-Length: 0\r\n\r\n",
                     source);
}

void TSession::SessionRequest(const QByteArray& method)
{
    ++m_cseq;
    const QByteArray request = method + ' ' + m_remoteTarget + " SIP/2.0\r\n" + m_owner.m_viaPrefix +
                               NewHexId() + "\r\n" + "From: " + m_localToLine + "To: " + m_callerFrom +
                               "Call-ID: " + m_callId + "\r\n" + "CSeq: " + QByteArray::number(m_cseq) + ' ' +
                               method + "\r\n" + "Max-Forwards: 70\r\n" + "Expires: 1800\r\n" +
                               "User-Agent: " + UserAgent::Name + "\r\n" + "Content-Length: 0\r\n\r\n";
    m_owner.transmit(request, m_owner.m_server);
    m_requestRetransmit.Start(
        false,
        [this, request] {
            m_owner.runGuarded([this, request] { m_owner.transmit(request, m_owner.m_server); });
        },
        [this] { m_owner.runGuarded([this] { m_owner.sessionRequestTimedOut(this); }); });
}

void TSession::ResendLastInviteResponse()
{
    if (!m_lastInviteResponse.isEmpty())
        m_owner.transmit(m_lastInviteResponse, m_inviteSource);
}

void TSession::StopTimers()
{
    m_answerRetransmit.Stop();
    m_requestRetransmit.Stop();
}

void TSession::SetRetransmitT1(int milliseconds)
{
    m_answerRetransmit.SetT1(milliseconds);
    m_requestRetransmit.SetT1(milliseconds);
}

bool TSession::IsInviteRetransmission(const SipMessage& request) const
{
    return request.IsRequest("INVITE") && request.HeaderValue("CSeq") == m_invite.HeaderValue("CSeq");
}
