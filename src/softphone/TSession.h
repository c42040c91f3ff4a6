#pragma once

#include "platform/net/Ipv4Endpoint.h"
#include "softphone/RetransmitTimer.h"
#include "softphone/RouteSet.h"
#include "softphone/SipMessage.h"

#include <QByteArray>

class TCustomSIPClient;

// The dialog of one accepted incoming call. It keeps the INVITE (its Vias, CSeq and
// source) so that the responses to the INVITE stay correct whatever other messages
// arrive while the call rings. Requests of this side go to the caller's Contact
// along the INVITE's Record-Route (RFC 3261 section 12.1.1).
class TSession
{
public:
    TSession(TCustomSIPClient& owner, const SipMessage& invite, const Ipv4Endpoint& source, quint32 tagTick);

    const QByteArray& CallId() const { return m_callId; }
    const QByteArray& RemoteTarget() const { return m_remoteTarget; }

    // Responses to the INVITE of this session.
    void Respond(const QByteArray& statusText);
    void RespondSDP(const QByteArray& statusText);
    // A response to another request of this dialog (BYE, CANCEL, re-INVITE, UPDATE);
    // extraHeaders (each ending in CR LF) go before Content-Length.
    void RespondTo(const SipMessage& request, const Ipv4Endpoint& source, const QByteArray& statusText,
                   const QByteArray& extraHeaders = {});
    void RespondSdpTo(const SipMessage& request, const Ipv4Endpoint& source, const QByteArray& statusText,
                      const QByteArray& extraHeaders = {});
    // A request of this side in the dialog (BYE).
    void SessionRequest(const QByteArray& method);

    // The caller sent its INVITE again: our last answer to it was lost.
    void ResendLastInviteResponse();
    bool IsInviteRetransmission(const SipMessage& request) const;
    void AckReceived() { m_answerRetransmit.Stop(); }
    void ResponseReceived() { m_requestRetransmit.Stop(); }
    void StopTimers();
    void SetRetransmitT1(int milliseconds);

private:
    QByteArray responseHead(const QByteArray& statusText, const SipMessage& request,
                            const Ipv4Endpoint& source, bool withRecordRoute) const;
    QByteArray sdpResponse(const QByteArray& head, const SipMessage& request,
                           const QByteArray& extraHeaders) const;

    TCustomSIPClient& m_owner;
    SipMessage m_invite;
    Ipv4Endpoint m_inviteSource;
    QByteArray m_callId;
    QByteArray m_callerFrom;  // the caller's From value + CR LF
    QByteArray m_localToLine; // the INVITE's To value + ";tag=" + tick + CR LF
    QByteArray m_remoteTarget;
    QByteArray m_recordRouteLines; // the INVITE's, echoed in the answers that set the dialog up
    RouteSet m_routes;
    QByteArray m_headerBlock;
    quint32 m_cseq = 0;
    QByteArray m_lastInviteResponse;
    RetransmitTimer m_answerRetransmit;
    RetransmitTimer m_requestRetransmit;
};
