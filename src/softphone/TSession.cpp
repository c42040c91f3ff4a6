#include "softphone/TSession.h"

#include "platform/net/SecureRandomId.h"
#include "softphone/OutgoingRequest.h"
#include "softphone/SipNameAddr.h"
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

// The caller's Contact is where it takes requests (RFC 3261 section 12.1.1); its From
// names a person and often reaches only the server.
QByteArray remoteTargetOf(const SipMessage& invite)
{
    const QByteArray contact = SipNameAddr::Uri(invite.HeaderValue("Contact"));
    return contact.isEmpty() ? uriOf(invite.HeaderValue("From")) : contact;
}

} // namespace

TSession::TSession(TCustomSIPClient& owner, const SipMessage& invite, const Ipv4Endpoint& source,
                   quint32 tagTick)
    : m_owner(owner), m_invite(invite), m_inviteSource(source), m_callId(invite.HeaderValue("Call-ID")),
      m_callerFrom(invite.HeaderValue("From") + "\r\n"),
      m_localToLine(invite.HeaderValue("To") + ";tag=" + QByteArray::number(tagTick) + "\r\n"),
      m_remoteTarget(remoteTargetOf(invite)),
      m_routes(RouteSet::ForCallee(invite.HeaderValues("Record-Route")))
{
    for (const QByteArray& value : invite.HeaderValues("Record-Route"))
        m_recordRouteLines += "Record-Route: " + value + "\r\n";
    m_headerBlock = "From: " + m_callerFrom + "To: " + m_localToLine + "Call-ID: " + m_callId + "\r\n" +
                    "Max-Forwards: 70\r\n" + "Expires: 1800\r\n" + "User-Agent: " + UserAgent::Name + "\r\n";
}

QByteArray TSession::responseHead(const QByteArray& statusText, const SipMessage& request,
                                  const Ipv4Endpoint& source, bool withRecordRoute) const
{
    // The answers that set the dialog up repeat its Record-Route, so the caller's side
    // learns the same route set (RFC 3261 section 12.1.1).
    return "SIP/2.0 " + statusText + "\r\n" + m_owner.viaLines(request, source, ": ") +
           (withRecordRoute ? m_recordRouteLines : QByteArray()) + m_headerBlock;
}

QByteArray TSession::sdpResponse(const QByteArray& head, const SipMessage& request,
                                 const QByteArray& extraHeaders) const
{
    const QByteArray& sdp = m_owner.m_localSdp;
    return head + "CSeq:" + request.HeaderValue("CSeq") + "\r\n" + m_owner.m_contactLine + extraHeaders +
           "Content-Type: application/sdp\r\n" + "Content-Length: " + QByteArray::number(sdp.size()) +
           "\r\n\r\n" + sdp;
}

void TSession::Respond(const QByteArray& statusText)
{
    const bool provisional = statusText.startsWith('1');
    m_lastInviteResponse = responseHead(statusText, m_invite, m_inviteSource, provisional) +
                           "CSeq: " + m_invite.HeaderValue("CSeq") + "\r\n" + "Content-Length: 0\r\n\r\n";
    m_owner.transmit(m_lastInviteResponse, m_inviteSource);
}

void TSession::RespondSDP(const QByteArray& statusText)
{
    m_lastInviteResponse =
        sdpResponse(responseHead(statusText, m_invite, m_inviteSource, true), m_invite, {});
    m_owner.transmit(m_lastInviteResponse, m_inviteSource);
    // A 2xx is resent until the caller's ACK arrives (RFC 3261 section 13.3.1.4).
    m_answerRetransmit.Start(
        false,
        [this] { m_owner.runGuarded([this] { m_owner.transmit(m_lastInviteResponse, m_inviteSource); }); },
        {});
}

void TSession::RespondTo(const SipMessage& request, const Ipv4Endpoint& source, const QByteArray& statusText,
                         const QByteArray& extraHeaders)
{
    m_owner.transmit(responseHead(statusText, request, source, false) + "CSeq: " +
                         request.HeaderValue("CSeq") + "\r\n" + extraHeaders + "Content-Length: 0\r\n\r\n",
                     source);
}

void TSession::RespondSdpTo(const SipMessage& request, const Ipv4Endpoint& source,
                            const QByteArray& statusText, const QByteArray& extraHeaders)
{
    m_owner.transmit(sdpResponse(responseHead(statusText, request, source, false), request, extraHeaders),
                     source);
}

void TSession::SessionRequest(const QByteArray& method)
{
    ++m_cseq;
    OutgoingRequest request;
    request.method = method;
    request.uri = m_routes.RequestUri(m_remoteTarget);
    request.viaPrefix = m_owner.m_viaPrefix;
    request.branchId = NewHexId();
    request.fromLine = "From: " + m_localToLine;
    request.toValue = m_callerFrom.chopped(2);
    request.callId = m_callId;
    request.cseq = m_cseq;
    request.routeLines = m_routes.RouteLines(m_remoteTarget);
    const QByteArray text =
        request.Text("Expires: 1800\r\nUser-Agent: " + QByteArray(UserAgent::Name) + "\r\n");
    m_owner.transmit(text, m_owner.m_server);
    m_requestRetransmit.Start(
        false,
        [this, text] { m_owner.runGuarded([this, text] { m_owner.transmit(text, m_owner.m_server); }); },
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
