#include "softphone/TCustomSIPClient.h"

#include "platform/net/HostLookup.h"
#include "platform/net/MillisecondTick.h"
#include "platform/net/SecureRandomId.h"
#include "softphone/DigestAuthorization.h"
#include "softphone/RemoteSdp.h"
#include "softphone/SessionTimerAnswer.h"
#include "softphone/SilentAbort.h"
#include "softphone/SipErrorCodes.h"
#include "softphone/SipNameAddr.h"
#include "softphone/TSession.h"
#include "softphone/UserAgent.h"

#include <QCryptographicHash>
#include <algorithm>
#include <cerrno>

namespace {

// RFC 3261 section 17.1.2.2: a transaction gives up after 64 T1.
constexpr int transactionTimeoutT1s = 64;

bool isOneOf(quint8 state, std::initializer_list<quint8> states)
{
    for (const quint8 candidate : states)
        if (state == candidate)
            return true;
    return false;
}

// The states in which a call has ended and the phone takes the next one.
constexpr std::initializer_list<quint8> idleStates = {
    TCustomSIPClient::Ready,       TCustomSIPClient::CallFailed,   TCustomSIPClient::Unavailable,
    TCustomSIPClient::ServerError, TCustomSIPClient::RemoteHungUp, TCustomSIPClient::Missed};

// A To tag for a response given outside any dialog: the same for every
// retransmission of the request, so the answers to them are identical.
QByteArray statelessTag(const SipMessage& request)
{
    return QCryptographicHash::hash(request.HeaderValue("Call-ID") + request.HeaderValue("From") +
                                        request.HeaderValue("CSeq"),
                                    QCryptographicHash::Md5)
        .toHex()
        .left(10);
}

} // namespace

TCustomSIPClient::TCustomSIPClient(QObject* parent, const IClock* clock)
    : QObject(parent), m_sdpSessionId(MillisecondTick()), m_schedule(clock ? *clock : m_systemClock)
{
    m_refreshTimer.setSingleShot(true);
    connect(&m_refreshTimer, &QTimer::timeout, this, &TCustomSIPClient::refreshRegistration);
    m_cancelDeadline.setSingleShot(true);
    connect(&m_cancelDeadline, &QTimer::timeout, this, [this] { runGuarded([this] { cancelTimedOut(); }); });
    connect(&m_keepAliveTimer, &QTimer::timeout, this, &TCustomSIPClient::sendKeepAlive);
    m_keepAliveDeadline.setSingleShot(true);
    connect(&m_keepAliveDeadline, &QTimer::timeout, this, &TCustomSIPClient::keepAliveUnanswered);
}

TCustomSIPClient::~TCustomSIPClient()
{
    m_sessions.Clear();
    m_currentSession = m_callSession = nullptr;
    try {
        TCustomSIPClient::Close();
    } catch (const SilentAbort&) {
    }
}

void TCustomSIPClient::SetRetransmitT1(int milliseconds)
{
    m_t1 = milliseconds;
    m_schedule.SetT1(milliseconds);
}

void TCustomSIPClient::SetKeepAliveInterval(int milliseconds)
{
    m_keepAliveMs = std::max(0, milliseconds);
    if (m_keepAliveMs == 0)
        m_keepAliveTimer.stop();
    else if (m_keepAliveTimer.isActive())
        m_keepAliveTimer.start(m_keepAliveMs);
}

bool TCustomSIPClient::runGuarded(const std::function<void()>& operation)
{
    try {
        operation();
        return true;
    } catch (const SilentAbort&) {
        DoError();
        return false;
    }
}

// ---- operations of the host ------------------------------------------------------

void TCustomSIPClient::SetLocalMedia(const QByteArray& address, quint16 rtpPort)
{
    m_localAddress = address;
    m_localSdp = "v=0\r\n"
                 "o=Vantelmor " +
                 QByteArray::number(m_sdpSessionId) + ' ' + QByteArray::number(MillisecondTick()) +
                 " IN IP4 " + address +
                 "\r\n"
                 "s=SIP Call\r\n"
                 "c=IN IP4 " +
                 address +
                 "\r\n"
                 "t=0 0\r\n"
                 "m=audio " +
                 QByteArray::number(rtpPort) +
                 " RTP/AVP 8\r\n"
                 "b=AS:64\r\n"
                 "a=rtpmap:8 PCMA/8000/1\r\n"
                 "a=ptime:30\r\n";
}

bool TCustomSIPClient::Connect(const QByteArray& displayName, const QByteArray& serverHost,
                               const QByteArray& login, const QByteArray& password)
{
    return runGuarded([&] {
        Close();
        m_displayName = displayName;
        m_serverHost = serverHost;
        m_password = password;
        m_login = login;
        m_callId = NewHexId() + '@' + serverHost;
        m_lastMessage = SipMessage();

        const std::optional<quint32> address = ResolveHost(serverHost);
        if (!address) {
            Hangup();
            RaiseError(SIP_HOST_NOT_FOUND);
        }
        m_server = {*address, m_serverPort};

        Open();
        Bind(m_localPort);
        startReceiving();

        // Where this phone takes requests: a registrar hands its calls to the Contact,
        // and responses follow the Via (RFC 3261 sections 10.2.1 and 18.2.2; rport of
        // RFC 3581 lets a server answer through a NAT).
        QByteArray here = m_localAddress;
        if (here.isEmpty())
            here = Ipv4Endpoint::dotted(LocalAddress().value_or(0x7F000001));
        const QByteArray hostPort = here + ':' + QByteArray::number(BoundPort());
        m_expiresValue = "1800";
        m_viaPrefix = "Via: SIP/2.0/UDP " + hostPort + ";rport;branch=z9hG4bK";
        m_fromLine = "From: " + displayName + " <sip:" + login + '@' + serverHost +
                     ">;tag=" + QByteArray::number(MillisecondTick()) + "\r\n";
        m_contactUri = "sip:" + login + '@' + hostPort;
        m_contactLine = "Contact: " + displayName + " <" + m_contactUri + ">\r\n";

        m_registered = false;
        m_schedule.Reset();
        m_state = Disconnected;
        m_pendingKind = PendingRegister;
        SetState(Registering);

        m_registerTo = displayName + " <sip:" + login + '@' + serverHost + '>';
        m_registerAuthorization.clear();
        m_registerChallengeAnswered = false;
        m_intervalRetried = false;
        sendRegister({});
    });
}

void TCustomSIPClient::Disconnect()
{
    runGuarded([this] {
        if (!m_registered)
            return;
        m_refreshTimer.stop();
        m_keepAliveTimer.stop();
        m_keepAliveDeadline.stop();
        m_refreshing = false;
        m_expiresValue = "0";
        SetState(Registering);
        m_pendingKind = PendingUnregister;
        m_registerChallengeAnswered = false;
        sendRegister({});
    });
}

void TCustomSIPClient::Call(const QByteArray& number)
{
    runGuarded([&] {
        if (!isOneOf(m_state, idleStates))
            return;
        m_dialledNumber = number;
        QByteArray uri;
        if (number.contains('@'))
            uri = number.startsWith("sip:") ? number : "sip:" + number;
        else
            uri = "sip:" + number + '@' + m_serverHost;
        const QByteArray fromLine = "From: " + m_displayName + " <sip:" + m_login + '@' + m_serverHost +
                                    ">;tag=" + QByteArray::number(MillisecondTick()) + "\r\n";
        retire(m_callRequestTx);
        retire(m_previousInviteTx);
        if (m_inviteTx)
            m_previousInviteTx = std::move(m_inviteTx);
        m_cancelDeadline.stop();
        m_dialog.reset();
        m_answerAck.clear();
        m_inviteProceeding = m_cancelWhenProceeding = m_inviteChallengeAnswered = false;
        SetState(Inviting);
        m_pendingKind = PendingInvite;
        m_remoteSdp.clear();
        m_callKind = OutgoingCall;
        m_callOpen = true;
        OutgoingRequest invite = newRequest("INVITE", uri, '<' + uri + '>', fromLine);
        m_inviteTx = startTransaction(invite, standardHeaders("1800") + "Content-Type: application/sdp\r\n",
                                      m_localSdp, [this] { inviteTimedOut(); });
    });
}

void TCustomSIPClient::Answer()
{
    runGuarded([this] {
        if (m_state != Incoming || !m_callSession)
            return;
        SetState(Answering);
        m_callSession->RespondSDP("200 OK");
        m_pendingKind = PendingAnswered;
        SetState(Connected);
    });
}

void TCustomSIPClient::Reject()
{
    runGuarded([this] {
        if (m_state != Incoming || !m_callSession)
            return;
        SetState(Rejecting);
        m_callSession->Respond("486 Busy here");
        // The refused call is over: its media stops and its dialog goes.
        freeSession(m_callSession);
        DoCallEnded();
        Hangup();
    });
}

void TCustomSIPClient::Hangup()
{
    runGuarded([this] {
        switch (m_state) {
        case Disconnected:
        case Registering:
            SetState(CallFailed);
            DoCallEnded();
            break;
        case Inviting:
            // Nobody has answered yet, so nothing may be cancelled (RFC 3261 section
            // 9.1): the CANCEL goes once the INVITE is proceeding, and a late 2xx is
            // acknowledged and ended with BYE.
            m_cancelWhenProceeding = m_inviteTx && !m_inviteTx->Completed();
            SetState(CallFailed);
            endCall();
            break;
        case Ready:
            Disconnect();
            break;
        case Authenticating:
        case Proceeding:
        case Ringing:
            SetState(Cancelling);
            if (m_inviteProceeding)
                sendCancel();
            else
                m_cancelWhenProceeding = true;
            // Without a final answer 64 T1 after the CANCEL the INVITE counts as
            // cancelled (RFC 3261 section 9.1).
            m_cancelDeadline.start(transactionTimeoutT1s * m_t1);
            break;
        case Unavailable:
        case Rejecting:
        case Missed:
            SetState(Ready);
            break;
        case Connected:
            SetState(HangingUp);
            if (m_pendingKind == PendingAnswered) {
                if (m_callSession)
                    m_callSession->SessionRequest("BYE");
            } else {
                sendDialogBye();
            }
            break;
        default:
            DoCallEnded();
            break;
        }
    });
}

void TCustomSIPClient::ReturnToReady()
{
    runGuarded([this] {
        if (m_registered && m_state != Ready && isOneOf(m_state, idleStates))
            SetState(Ready);
    });
}

int TCustomSIPClient::Close()
{
    if (m_registered) {
        Disconnect();
        // The socket closes now, so the server's answer to the un-REGISTER is never read.
        m_registered = false;
    }
    m_refreshTimer.stop();
    m_refreshing = false;
    m_cancelDeadline.stop();
    m_keepAliveTimer.stop();
    m_keepAliveDeadline.stop();
    m_serverAnswering = true;
    retire(m_keepAliveTx);
    retire(m_registerTx);
    retire(m_inviteTx);
    retire(m_previousInviteTx);
    retire(m_callRequestTx);
    m_dialog.reset();
    m_callOpen = m_cancelWhenProceeding = false;
    // The dialogs of this connection cannot go on without its socket.
    m_sessions.Clear();
    m_currentSession = m_callSession = nullptr;
    stopReceiving();
    return TCustomUDPClient::Close();
}

int TCustomSIPClient::CloseKeepingRegistration()
{
    m_registered = false;
    return Close();
}

// ---- receiving ---------------------------------------------------------------------

void TCustomSIPClient::startReceiving()
{
    m_socket.setNonBlocking(true);
    m_notifier = std::make_unique<QSocketNotifier>(m_socket.descriptor(), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &TCustomSIPClient::readDatagram);
}

void TCustomSIPClient::stopReceiving()
{
    if (!m_notifier)
        return;
    // This may run inside the notifier's own signal, so it is deleted later.
    m_notifier->setEnabled(false);
    m_notifier.release()->deleteLater();
}

void TCustomSIPClient::readDatagram()
{
    const QByteArray datagram = ReceiveDatagram(0);
    if (!datagram.isEmpty())
        HandleDatagram(datagram, m_fromAddress);
}

void TCustomSIPClient::HandleDatagram(const QByteArray& datagram, const Ipv4Endpoint& source)
{
    m_sessions.ReleaseRemoved();
    m_retired.clear();
    std::optional<SipMessage> message = SipMessage::Frame(datagram);
    if (!message)
        return;
    m_lastMessage = std::move(*message);
    m_lastSource = source;
    runGuarded([this] { ProcessMessage(); });
}

// ---- building and sending ----------------------------------------------------------

OutgoingRequest TCustomSIPClient::newRequest(const QByteArray& method, const QByteArray& uri,
                                             const QByteArray& toValue, const QByteArray& fromLine)
{
    OutgoingRequest request;
    request.method = method;
    request.uri = uri;
    request.viaPrefix = m_viaPrefix;
    request.branchId = NewHexId();
    request.fromLine = fromLine;
    request.toValue = toValue;
    request.callId = m_callId;
    request.cseq = ++m_cseq;
    return request;
}

QByteArray TCustomSIPClient::standardHeaders(const QByteArray& expires) const
{
    return m_contactLine + "Expires: " + expires + "\r\n" + "User-Agent: " + UserAgent::Name + "\r\n";
}

std::unique_ptr<ClientTransaction> TCustomSIPClient::startTransaction(const OutgoingRequest& request,
                                                                      const QByteArray& extraHeaders,
                                                                      const QByteArray& body,
                                                                      std::function<void()> timedOut)
{
    return std::make_unique<ClientTransaction>(
        request, request.Text(extraHeaders, body), m_t1,
        [this](const QByteArray& text) { transmit(text, m_server); },
        [this](const QByteArray& text) { runGuarded([&] { transmit(text, m_server); }); },
        [this, timedOut = std::move(timedOut)] { runGuarded(timedOut); });
}

void TCustomSIPClient::retire(std::unique_ptr<ClientTransaction>& transaction)
{
    // It may be the transaction whose timer is running this very code, so it is
    // destroyed with the next datagram.
    if (!transaction)
        return;
    transaction->Stop();
    m_retired.push_back(std::move(transaction));
}

QByteArray TCustomSIPClient::viaLines(const SipMessage& request, const Ipv4Endpoint& source,
                                      const char* separator) const
{
    // Every Via goes back in order (RFC 3261 section 8.2.6.2); the top one says
    // where the request really came from (section 18.2.1).
    const QList<QByteArray> vias = request.HeaderValues("Via");
    QByteArray lines =
        "Via" + QByteArray(separator) + vias.value(0) + ";received=" + source.dottedAddress() + "\r\n";
    for (qsizetype i = 1; i < vias.size(); ++i)
        lines += "Via" + QByteArray(separator) + vias[i] + "\r\n";
    return lines;
}

void TCustomSIPClient::SendResponse(const QByteArray& statusText, const QByteArray& extraHeaders)
{
    const SipMessage& request = m_lastMessage;
    QByteArray to = request.HeaderValue("To");
    // A final response outside a dialog names our side with a tag (RFC 3261 section
    // 8.2.6.2), so the caller can match the ACK and tell answers apart.
    if (!statusText.startsWith('1') && SipNameAddr::Parameter(to, "tag").isEmpty())
        to += ";tag=" + statelessTag(request);
    transmit("SIP/2.0 " + statusText + "\r\n" + viaLines(request, m_lastSource, ": ") +
                 "From: " + request.HeaderValue("From") + "\r\n" + "To: " + to + "\r\n" +
                 "Call-ID: " + request.HeaderValue("Call-ID") + "\r\n" +
                 "CSeq: " + request.HeaderValue("CSeq") + "\r\n" + extraHeaders + "Content-Length: 0\r\n\r\n",
             m_lastSource);
}

void TCustomSIPClient::SendResponseSDP(const QByteArray& statusText, const QByteArray& extraHeaders)
{
    const SipMessage& request = m_lastMessage;
    transmit("SIP/2.0 " + statusText + "\r\n" + viaLines(request, m_lastSource, ":") +
                 "From:" + request.HeaderValue("From") + "\r\n" + "To:" + request.HeaderValue("To") + "\r\n" +
                 "Call-ID:" + request.HeaderValue("Call-ID") + "\r\n" +
                 "CSeq:" + request.HeaderValue("CSeq") + "\r\n" + m_contactLine + extraHeaders +
                 "Content-Type: application/sdp\r\n" +
                 "Content-Length: " + QByteArray::number(m_localSdp.size()) + "\r\n\r\n" + m_localSdp,
             m_lastSource);
}

void TCustomSIPClient::transmit(const QByteArray& message, const Ipv4Endpoint& to)
{
    m_outputBuffer = message;
    m_outputTarget = to;
    SendBuffer();
}

void TCustomSIPClient::SendBuffer()
{
    if (!IsOpen())
        RaiseError(SIP_NOT_CONNECTED);
    const long sent = m_socket.sendTo(m_outputTarget, m_outputBuffer.constData(), m_outputBuffer.size());
    if (sent == 0)
        RaiseError(SIP_SEND_ERROR);
    if (sent < 0) {
        const int error = m_socket.lastError();
        // A full send queue loses this datagram only; retransmission covers it.
        if (error == EAGAIN || error == EWOULDBLOCK)
            return;
        RaiseError(error);
    }
    m_outputBuffer.clear();
}

int TCustomSIPClient::ResponseCode()
{
    const std::optional<int> code = m_lastMessage.StatusCode();
    if (!code)
        RaiseError(SIP_INVALID_RESPONSE);
    m_lastStatusCode = *code;
    return *code;
}

// ---- virtual slots -----------------------------------------------------------------

void TCustomSIPClient::DoRegistered()
{
    m_registered = true;
}

void TCustomSIPClient::DoRemoteSDP()
{
    if (m_state != Answering)
        m_remoteSdp = m_lastMessage.Body();
}

void TCustomSIPClient::DoCallEnded() {}

void TCustomSIPClient::SetState(quint8 newState)
{
    m_state = newState;
}

// ---- requests that reach us --------------------------------------------------------

void TCustomSIPClient::ProcessMessage()
{
    const QByteArray callId = m_lastMessage.HeaderValue("Call-ID");
    m_currentSession = m_sessions.Find(callId);
    const bool isResponse = m_lastMessage.IsResponse();
    if (m_currentSession) {
        if (isResponse)
            sessionResponse(*m_currentSession);
        else
            sessionRequest(*m_currentSession);
        return;
    }
    if (isResponse) {
        // A response is never answered; one outside our transactions is dropped.
        if (m_callId.isEmpty() || callId != m_callId)
            return;
        const int code = ResponseCode();
        if (m_registerTx && m_registerTx->Matches(m_lastMessage))
            registerResponse(code);
        else if (m_inviteTx && m_inviteTx->Matches(m_lastMessage))
            inviteResponse(code);
        else if (m_previousInviteTx && m_previousInviteTx->Matches(m_lastMessage))
            abandonedInviteResponse(code);
        else if (m_callRequestTx && m_callRequestTx->Matches(m_lastMessage))
            callRequestResponse(code);
        else if (m_keepAliveTx && m_keepAliveTx->Matches(m_lastMessage))
            keepAliveResponse(code);
        return;
    }
    clientRequest();
}

void TCustomSIPClient::clientRequest()
{
    // An ACK never gets a response (RFC 3261 section 17.1.1.3).
    if (m_lastMessage.IsRequest("ACK"))
        return;
    const QByteArray callId = m_lastMessage.HeaderValue("Call-ID");
    if (!m_callId.isEmpty() && callId == m_callId && inOutgoingDialog()) {
        outgoingDialogRequest();
        return;
    }
    if (m_lastMessage.IsRequest("OPTIONS")) {
        // Servers ask this to see that the phone is there (RFC 3261 section 11.2).
        SendResponse("200 OK");
        return;
    }
    if (m_lastMessage.IsRequest("INVITE") && callId != m_callId)
        incomingInvite();
    else
        SendResponse("481 Call/Transaction Does Not Exist");
}

bool TCustomSIPClient::canTakeCall() const
{
    return m_acceptIncoming && isOneOf(m_state, idleStates);
}

void TCustomSIPClient::incomingInvite()
{
    // Refused at once, so that the server can offer the call elsewhere instead of
    // letting the caller hear ringing until it gives up.
    if (!canTakeCall()) {
        SendResponse("486 Busy Here");
        return;
    }
    // An answer may only pick what the offer lists (RFC 3264 section 6).
    if (!m_lastMessage.Body().isEmpty() && !OffersPcma(m_lastMessage.Body())) {
        SendResponse("488 Not Acceptable Here");
        return;
    }
    auto session = std::make_unique<TSession>(*this, m_lastMessage, m_lastSource, MillisecondTick());
    session->SetRetransmitT1(m_t1);
    m_callSession = m_currentSession = m_sessions.Add(std::move(session));
    m_callSession->Respond("180 RINGING");
    DoRemoteSDP();

    QByteArray caller = m_lastMessage.HeaderValue("From");
    const qsizetype parameters = caller.indexOf(';');
    if (parameters >= 0)
        caller.truncate(parameters);
    if (!caller.endsWith('>'))
        caller += '>';
    m_callerId = caller;
    m_callKind = IncomingCall;
    SetState(Incoming);
}

bool TCustomSIPClient::acceptNewOffer()
{
    const QByteArray& offer = m_lastMessage.Body();
    if (offer.isEmpty())
        return true;
    if (!OffersPcma(offer))
        return false;
    const std::optional<RemoteSdp> before = RemoteSdp::Parse(m_remoteSdp);
    const std::optional<RemoteSdp> after = RemoteSdp::Parse(offer);
    const bool moved = !before || !after || before->address != after->address || before->port != after->port;
    // Only a new address or port restarts the media; a refresh offering the same
    // stream leaves the audio running.
    if (moved)
        DoRemoteSDP();
    else
        m_remoteSdp = offer;
    return true;
}

void TCustomSIPClient::sessionRequest(TSession& session)
{
    if (session.IsInviteRetransmission(m_lastMessage)) {
        session.ResendLastInviteResponse();
        return;
    }
    if (m_lastMessage.IsRequest("ACK")) {
        session.AckReceived();
        // An INVITE without an offer gets its answer in the ACK (RFC 3264 section 4).
        if (&session == m_callSession && m_remoteSdp.isEmpty() && !m_lastMessage.Body().isEmpty())
            DoRemoteSDP();
        return;
    }
    if (m_lastMessage.IsRequest("BYE")) {
        session.RespondTo(m_lastMessage, m_lastSource, "200 OK");
        if (&session != m_callSession) {
            freeSession(&session);
        } else if (m_state == Connected) {
            SetState(RemoteHungUp);
            DoCallEnded();
            freeSession(&session);
        } else if (m_state == HangingUp) {
            // Both sides hung up at once: the call is over either way.
            DoCallEnded();
            SetState(Ready);
            freeSession(&session);
        }
        return;
    }
    if (m_lastMessage.IsRequest("CANCEL")) {
        session.RespondTo(m_lastMessage, m_lastSource, "200 OK");
        if (m_state == Incoming && &session == m_callSession) {
            // The cancelled INVITE itself is answered 487 (RFC 3261 section 9.2).
            session.Respond("487 Request Terminated");
            m_callKind = MissedCall;
            SetState(Missed);
            DoCallEnded();
            freeSession(&session);
        }
        return;
    }
    if (m_lastMessage.IsRequest("INVITE") || m_lastMessage.IsRequest("UPDATE")) {
        if (&session != m_callSession || m_state != Connected) {
            session.RespondTo(m_lastMessage, m_lastSource, "491 Request Pending");
            return;
        }
        if (!acceptNewOffer()) {
            session.RespondTo(m_lastMessage, m_lastSource, "488 Not Acceptable Here");
            return;
        }
        const QByteArray timer = SessionTimerAnswer(m_lastMessage);
        if (m_lastMessage.IsRequest("INVITE") || !m_lastMessage.Body().isEmpty())
            session.RespondSdpTo(m_lastMessage, m_lastSource, "200 OK", timer);
        else
            session.RespondTo(m_lastMessage, m_lastSource, "200 OK", timer);
        return;
    }
    if (m_lastMessage.IsRequest("OPTIONS"))
        session.RespondTo(m_lastMessage, m_lastSource, "200 OK");
}

void TCustomSIPClient::sessionResponse(TSession& session)
{
    const int code = ResponseCode();
    if (code < 200)
        return;
    session.ResponseReceived();
    // Whatever the answer to our BYE, the call is over (RFC 3261 section 15.1.1).
    if (m_state == HangingUp && &session == m_callSession) {
        DoCallEnded();
        SetState(Ready);
        freeSession(&session);
    }
}

bool TCustomSIPClient::inOutgoingDialog() const
{
    return m_dialog && m_pendingKind == PendingInvite && isOneOf(m_state, {Connected, HangingUp});
}

void TCustomSIPClient::outgoingDialogRequest()
{
    if (m_lastMessage.IsRequest("INVITE") || m_lastMessage.IsRequest("UPDATE")) {
        if (!acceptNewOffer()) {
            SendResponse("488 Not Acceptable Here");
            return;
        }
        const QByteArray timer = SessionTimerAnswer(m_lastMessage);
        if (m_lastMessage.IsRequest("INVITE") || !m_lastMessage.Body().isEmpty())
            SendResponseSDP("200 OK", timer);
        else
            SendResponse("200 OK", timer);
    } else if (m_lastMessage.IsRequest("BYE")) {
        SendResponse("200 OK");
        retire(m_callRequestTx);
        if (m_state == Connected) {
            SetState(RemoteHungUp);
            endCall();
        } else {
            // Our BYE crossed theirs.
            endCall();
            SetState(Ready);
        }
    } else if (m_lastMessage.IsRequest("OPTIONS")) {
        SendResponse("200 OK");
    }
}

// ---- the outgoing call -------------------------------------------------------------

void TCustomSIPClient::sendInvite(const QByteArray& authorization)
{
    const OutgoingRequest& before = m_inviteTx->Request();
    OutgoingRequest invite = newRequest("INVITE", before.uri, before.toValue, before.fromLine);
    retire(m_previousInviteTx);
    m_previousInviteTx = std::move(m_inviteTx);
    m_inviteProceeding = false;
    m_inviteTx = startTransaction(
        invite, standardHeaders("1800") + authorization + "Content-Type: application/sdp\r\n", m_localSdp,
        [this] { inviteTimedOut(); });
}

void TCustomSIPClient::sendCancel()
{
    // CANCEL shares the INVITE's Request-URI, branch and CSeq number (RFC 3261
    // section 9.1).
    retire(m_callRequestTx);
    m_callRequestTx = startTransaction(m_inviteTx->Request().WithMethod("CANCEL"), {}, {}, [] {});
}

void TCustomSIPClient::sendDialogBye()
{
    OutgoingRequest bye = m_dialog->Request(m_inviteTx->Request(), "BYE");
    bye.branchId = NewHexId();
    bye.cseq = ++m_cseq;
    retire(m_callRequestTx);
    m_callRequestTx = startTransaction(bye, standardHeaders("1800"), {}, [this] { byeTimedOut(); });
}

void TCustomSIPClient::acknowledgeAnswer()
{
    // The ACK of a 2xx is a request of the dialog with a branch of its own and the
    // INVITE's CSeq number (RFC 3261 section 13.2.2.4); a repeated 2xx gets it again.
    if (m_answerAck.isEmpty()) {
        OutgoingRequest ack = m_dialog->Request(m_inviteTx->Request(), "ACK");
        ack.branchId = NewHexId();
        m_answerAck = ack.Text();
    }
    transmit(m_answerAck, m_server);
}

void TCustomSIPClient::inviteResponse(int code)
{
    const ClientTransaction::Outcome outcome = m_inviteTx->Receive(m_lastMessage, code);
    if (outcome == ClientTransaction::Outcome::Retransmission) {
        if (code >= 200 && code < 300 && m_dialog && m_inviteTx->FinalCode() < 300)
            acknowledgeAnswer();
        return;
    }
    if (outcome == ClientTransaction::Outcome::Provisional) {
        inviteProvisional(code);
        return;
    }
    m_cancelDeadline.stop();
    m_cancelWhenProceeding = false;
    if (code < 300)
        inviteAnswered();
    else
        inviteRefused(code);
}

void TCustomSIPClient::inviteProvisional(int code)
{
    m_inviteProceeding = true;
    if (m_cancelWhenProceeding) {
        m_cancelWhenProceeding = false;
        sendCancel();
    }
    const bool hasBody = !m_lastMessage.Body().isEmpty();
    if (code == 100) {
        if (isOneOf(m_state, {Inviting, Authenticating})) {
            SetState(Proceeding);
            if (hasBody)
                DoRemoteSDP();
        }
    } else if (code == 180) {
        if (isOneOf(m_state, {Inviting, Authenticating, Proceeding})) {
            SetState(Ringing);
            if (m_remoteSdp.isEmpty() && hasBody)
                DoRemoteSDP();
        }
    } else if (code >= 181 && code <= 189 && m_callOpen) {
        if (m_remoteSdp.isEmpty() && hasBody)
            DoRemoteSDP();
    }
}

void TCustomSIPClient::inviteAnswered()
{
    const OutgoingRequest& invite = m_inviteTx->Request();
    m_dialog = OutgoingDialog::FromAnswer(m_lastMessage, invite.toValue, invite.uri);
    if (m_callOpen && isOneOf(m_state, {Inviting, Authenticating, Proceeding, Ringing})) {
        if (m_remoteSdp.isEmpty())
            DoRemoteSDP();
        SetState(Connected);
        acknowledgeAnswer();
        return;
    }
    // The callee answered after we hung up: the session it set up is ended at once
    // (RFC 3261 sections 9.1 and 15).
    acknowledgeAnswer();
    sendDialogBye();
    if (m_state == Cancelling) {
        m_lastReason = m_lastMessage.ReasonText();
        SetState(CallFailed);
        endCall();
    }
}

void TCustomSIPClient::inviteRefused(int code)
{
    if ((code == 401 || code == 407) && m_callOpen &&
        isOneOf(m_state, {Inviting, Proceeding, Authenticating}) &&
        (!m_inviteChallengeAnswered || challengeIsStale())) {
        m_inviteChallengeAnswered = true;
        SetState(Authenticating);
        sendInvite(authorizationLine(m_inviteTx->Request()));
        return;
    }
    if (!m_callOpen)
        return;
    m_lastReason = m_lastMessage.ReasonText();
    if (code == 403 || code == 406 || code == 480 || code == 486)
        SetState(Unavailable);
    else if (code == 500)
        SetState(ServerError);
    else
        SetState(CallFailed);
    endCall();
}

void TCustomSIPClient::abandonedInviteResponse(int code)
{
    const ClientTransaction::Outcome outcome = m_previousInviteTx->Receive(m_lastMessage, code);
    if (code < 200 || code >= 300)
        return;
    // A 2xx to an INVITE we no longer want still sets up a session at the other side:
    // acknowledge it and end it.
    const OutgoingRequest& invite = m_previousInviteTx->Request();
    const OutgoingDialog dialog = OutgoingDialog::FromAnswer(m_lastMessage, invite.toValue, invite.uri);
    OutgoingRequest ack = dialog.Request(invite, "ACK");
    ack.branchId = NewHexId();
    transmit(ack.Text(), m_server);
    if (outcome != ClientTransaction::Outcome::Final)
        return;
    OutgoingRequest bye = dialog.Request(invite, "BYE");
    bye.branchId = NewHexId();
    bye.cseq = ++m_cseq;
    transmit(bye.Text(standardHeaders("1800")), m_server);
}

void TCustomSIPClient::callRequestResponse(int code)
{
    if (m_callRequestTx->Receive(m_lastMessage, code) != ClientTransaction::Outcome::Final)
        return;
    // Whatever the answer to our BYE, the call is over (RFC 3261 section 15.1.1).
    if (m_callRequestTx->Request().method == "BYE" && m_state == HangingUp) {
        endCall();
        SetState(Ready);
    }
}

void TCustomSIPClient::endCall()
{
    if (!m_callOpen)
        return;
    m_callOpen = false;
    DoCallEnded();
}

void TCustomSIPClient::inviteTimedOut()
{
    if (!m_callOpen || !isOneOf(m_state, {Inviting, Authenticating, Proceeding, Ringing, Cancelling}))
        return;
    // A transaction that times out counts as a 408 (RFC 3261 section 8.1.3.1).
    m_lastReason = "408 Request Timeout";
    SetState(CallFailed);
    endCall();
}

void TCustomSIPClient::cancelTimedOut()
{
    retire(m_callRequestTx);
    if (m_state != Cancelling)
        return;
    m_lastReason = "408 Request Timeout";
    SetState(CallFailed);
    endCall();
}

void TCustomSIPClient::byeTimedOut()
{
    if (m_state != HangingUp)
        return;
    endCall();
    SetState(Ready);
}

void TCustomSIPClient::sessionRequestTimedOut(TSession* session)
{
    if (m_state == HangingUp && session == m_callSession) {
        DoCallEnded();
        SetState(Ready);
        freeSession(session);
    }
}

void TCustomSIPClient::freeSession(TSession* session)
{
    if (!session)
        return;
    if (m_currentSession == session)
        m_currentSession = nullptr;
    if (m_callSession == session)
        m_callSession = nullptr;
    m_sessions.Remove(session);
}

// ---- registration ------------------------------------------------------------------

void TCustomSIPClient::sendRegister(const QByteArray& authorization)
{
    OutgoingRequest request = newRequest("REGISTER", "sip:" + m_serverHost, m_registerTo, m_fromLine);
    retire(m_registerTx);
    m_registerTx = startTransaction(request, standardHeaders(m_expiresValue) + authorization, {},
                                    [this] { registerTimedOut(); });
}

QByteArray TCustomSIPClient::authorizationLine(const OutgoingRequest& challenged)
{
    const bool proxy = m_lastStatusCode == 407;
    const std::optional<DigestChallenge> challenge = DigestAuthorization::Choose(
        m_lastMessage.HeaderValues(proxy ? "Proxy-Authenticate" : "WWW-Authenticate"), m_password);
    if (!challenge)
        RaiseError(SIP_UNAUTHORIZED);
    return DigestAuthorization::Line(proxy ? "Proxy-" : "", *challenge,
                                     {m_login, m_password, challenged.method, challenged.uri},
                                     NewHexId().toLower());
}

bool TCustomSIPClient::challengeIsStale() const
{
    // A stale nonce means the password was right (RFC 7616 section 3.3).
    const bool proxy = m_lastStatusCode == 407;
    const std::optional<DigestChallenge> challenge = DigestAuthorization::Choose(
        m_lastMessage.HeaderValues(proxy ? "Proxy-Authenticate" : "WWW-Authenticate"), m_password);
    return challenge && challenge->Parameter("stale").toLower() == "true";
}

void TCustomSIPClient::registerResponse(int code)
{
    const ClientTransaction::Outcome outcome = m_registerTx->Receive(m_lastMessage, code);
    if (outcome == ClientTransaction::Outcome::Retransmission)
        return;
    if (outcome == ClientTransaction::Outcome::Provisional) {
        if (!m_refreshing && code == 100 && isOneOf(m_state, {Registering, Authenticating}))
            SetState(Proceeding);
        return;
    }
    if (code < 300) {
        if (m_pendingKind == PendingUnregister) {
            m_registered = false;
            SetState(Disconnected);
            Close();
            return;
        }
        registrationConfirmed();
        return;
    }
    if (retryRegistration(code))
        return;
    if (m_refreshing) {
        refreshFailed();
        return;
    }
    if (m_pendingKind == PendingUnregister) {
        // The server keeps no binding it refuses to remove for us to worry about.
        m_registered = false;
        SetState(Disconnected);
        Close();
        return;
    }
    m_lastReason = m_lastMessage.ReasonText();
    if (code == 401 || code == 407) {
        // A second challenge: the credentials are wrong; the state says so.
        return;
    }
    if (code == 403 || code == 406) {
        SetState(AuthRejected);
        DoCallEnded();
    } else if (code == 480 || code == 486) {
        SetState(Unavailable);
    } else {
        SetState(ServerError);
        DoCallEnded();
    }
}

bool TCustomSIPClient::retryRegistration(int code)
{
    if ((code == 401 || code == 407) && (!m_registerChallengeAnswered || challengeIsStale())) {
        m_registerChallengeAnswered = true;
        if (!m_refreshing)
            SetState(Authenticating);
        m_registerAuthorization = authorizationLine(m_registerTx->Request());
        sendRegister(m_registerAuthorization);
        return true;
    }
    if (code == 423 && !m_intervalRetried) {
        // Interval Too Brief: once more with the shortest time the registrar takes
        // (RFC 3261 section 10.2.8), keeping the credentials it accepted.
        const QByteArray minimum = m_lastMessage.HeaderValue("Min-Expires").trimmed();
        bool isNumber = false;
        minimum.toULongLong(&isNumber);
        if (!isNumber)
            return false;
        m_intervalRetried = true;
        m_registerChallengeAnswered = false;
        m_expiresValue = minimum;
        sendRegister(m_registerAuthorization);
        return true;
    }
    return false;
}

void TCustomSIPClient::registrationConfirmed()
{
    const qint64 granted =
        RegistrationSchedule::GrantedSeconds(m_lastMessage, m_contactUri, m_expiresValue.toLongLong());
    m_refreshTimer.start(m_schedule.Confirmed(granted));
    startKeepAlive();
    const bool wasRefresh = m_refreshing;
    m_refreshing = false;
    if (!wasRefresh) {
        SetState(Ready);
        DoRegistered();
        return;
    }
    if (!m_registered) {
        // Registered again after failed refreshes.
        if (m_state == Disconnected)
            SetState(Ready);
        DoRegistered();
    }
}

void TCustomSIPClient::refreshRegistration()
{
    runGuarded([this] {
        if (!IsOpen() || m_pendingKind == PendingUnregister || m_expiresValue == "0")
            return;
        m_refreshing = true;
        m_registerChallengeAnswered = false;
        m_intervalRetried = false;
        sendRegister({});
    });
}

void TCustomSIPClient::refreshFailed()
{
    m_refreshing = false;
    retire(m_registerTx);
    m_registered = false;
    if (m_state == Ready)
        SetState(Disconnected);
    m_refreshTimer.start(m_schedule.NextRetryMs());
}

void TCustomSIPClient::registerTimedOut()
{
    if (m_refreshing) {
        refreshFailed();
        return;
    }
    if (isOneOf(m_state, {Registering, Authenticating, Proceeding})) {
        m_registered = false;
        SetState(Disconnected);
        Close();
    }
}

// ---- keep-alive of the server --------------------------------------------------------

void TCustomSIPClient::startKeepAlive()
{
    if (m_keepAliveMs > 0 && !m_keepAliveTimer.isActive())
        m_keepAliveTimer.start(m_keepAliveMs);
}

void TCustomSIPClient::sendKeepAlive()
{
    runGuarded([this] {
        if (!IsOpen() || m_pendingKind == PendingUnregister || m_expiresValue == "0") {
            m_keepAliveTimer.stop();
            return;
        }
        // One question at a time: the one still within its deadline is not doubled.
        if (m_keepAliveDeadline.isActive())
            return;
        // Addressed to the server itself (no user part), which answers it rather than
        // forwarding it to a registered phone (RFC 3261 section 11).
        const QByteArray server = "sip:" + m_serverHost + ':' + QByteArray::number(m_server.port);
        const OutgoingRequest options = newRequest("OPTIONS", server, '<' + server + '>', m_fromLine);
        retire(m_keepAliveTx);
        // Retransmitted at T1, 2 T1 ... like any request over UDP (section 17.1.2.2); the
        // answer is awaited for 8 T1 at most (4 s with the standard T1), well short of the
        // 64 T1 after which the transaction itself gives up, and never past the next ask.
        m_keepAliveDeadline.start(std::min(m_keepAliveMs, 8 * m_t1));
        m_keepAliveTx = startTransaction(options,
                                         "Accept: application/sdp\r\nUser-Agent: " + QByteArray(UserAgent::Name) +
                                             "\r\n",
                                         {}, [] {});
    });
}

void TCustomSIPClient::keepAliveResponse(int code)
{
    if (m_keepAliveTx->Receive(m_lastMessage, code) != ClientTransaction::Outcome::Final)
        return;
    m_keepAliveDeadline.stop();
    // Any final answer shows the server is there, whatever it thinks of OPTIONS.
    if (m_serverAnswering)
        return;
    m_serverAnswering = true;
    if (m_pendingKind == PendingUnregister || m_expiresValue == "0")
        return;
    m_refreshTimer.stop();
    refreshRegistration();
}

void TCustomSIPClient::keepAliveUnanswered()
{
    m_serverAnswering = false;
}
