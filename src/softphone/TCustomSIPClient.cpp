#include "softphone/TCustomSIPClient.h"

#include "platform/net/HostLookup.h"
#include "platform/net/MillisecondTick.h"
#include "platform/net/SecureRandomId.h"
#include "softphone/DigestAuthorization.h"
#include "softphone/SilentAbort.h"
#include "softphone/SipErrorCodes.h"
#include "softphone/TSession.h"
#include "softphone/UserAgent.h"

#include <cerrno>

namespace {

constexpr int defaultRegistrationSeconds = 1800;
constexpr int deferredRefreshMs = 2000;

bool isOneOf(quint8 state, std::initializer_list<quint8> states)
{
    for (const quint8 candidate : states)
        if (state == candidate)
            return true;
    return false;
}

// Seconds the registrar granted: the Expires header, else the Contact's "expires"
// parameter (RFC 3261 section 10.2.4).
int grantedSeconds(const SipMessage& ok)
{
    QByteArray text = ok.HeaderValue("Expires");
    if (text.isEmpty()) {
        const QByteArray contact = ok.HeaderValue("Contact");
        const qsizetype at = contact.indexOf("expires=");
        if (at >= 0)
            text = contact.mid(at + 8);
    }
    qsizetype digits = 0;
    while (digits < text.size() && digits < 9 && text[digits] >= '0' && text[digits] <= '9')
        ++digits;
    return digits == 0 ? defaultRegistrationSeconds : text.left(digits).toInt();
}

} // namespace

TCustomSIPClient::TCustomSIPClient(QObject* parent) : QObject(parent), m_sdpSessionId(MillisecondTick())
{
    m_refreshTimer.setSingleShot(true);
    connect(&m_refreshTimer, &QTimer::timeout, this, &TCustomSIPClient::refreshRegistration);
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
    m_retransmit.SetT1(milliseconds);
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

        m_expiresValue = "1800";
        m_viaPrefix = "Via: SIP/2.0/UDP " + serverHost + ";rport;branch=z9hG4bK";
        m_fromLine = "From: " + displayName + " <sip:" + login + '@' + serverHost +
                     ">;tag=" + QByteArray::number(MillisecondTick()) + "\r\n";
        m_contactLine = "Contact: " + displayName + " <sip:" + login + '@' + serverHost + ">\r\n";

        m_registered = false;
        m_remoteTo.clear();
        m_state = Disconnected;
        m_pendingKind = PendingRegister;
        SetState(Registering);

        m_requestUri = "sip:" + serverHost;
        m_registerTo = displayName + " <sip:" + login + '@' + serverHost + '>';
        m_toValue = m_registerTo;
        SendRequest("REGISTER", m_toValue);
    });
}

void TCustomSIPClient::Disconnect()
{
    runGuarded([this] {
        if (!m_registered)
            return;
        m_refreshTimer.stop();
        m_refreshing = false;
        m_expiresValue = "0";
        SetState(Registering);
        m_requestUri = "sip:" + m_serverHost;
        m_toValue = m_registerTo;
        m_pendingKind = PendingUnregister;
        SendRequest("REGISTER", m_toValue);
    });
}

void TCustomSIPClient::Call(const QByteArray& number)
{
    runGuarded([&] {
        if (!isOneOf(m_state, {Ready, CallFailed, RemoteHungUp}))
            return;
        if (m_refreshing) {
            // The call takes over the dialog's CSeq; the refresh is made again after it.
            m_refreshing = false;
            m_refreshTimer.start(deferredRefreshMs);
        }
        m_dialledNumber = number;
        if (number.contains('@'))
            m_requestUri = number.startsWith("sip:") ? number : "sip:" + number;
        else
            m_requestUri = "sip:" + number + '@' + m_serverHost;
        m_fromLine = "From: " + m_displayName + " <sip:" + m_login + '@' + m_serverHost +
                     ">;tag=" + QByteArray::number(MillisecondTick()) + "\r\n";
        m_toValue = '<' + m_requestUri + '>';
        m_remoteTo.clear();
        SetState(Inviting);
        m_pendingKind = PendingInvite;
        m_remoteSdp.clear();
        m_callKind = OutgoingCall;
        SendRequest("INVITE", m_toValue, m_localSdp, "Content-Type: application/sdp\r\n");
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
        case Inviting:
            SetState(CallFailed);
            DoCallEnded();
            break;
        case Ready:
            Disconnect();
            break;
        case Authenticating:
        case Proceeding:
        case Ringing:
            SetState(Cancelling);
            // CANCEL shares the INVITE's branch and CSeq number (RFC 3261 section 9.1).
            sendRetransmitted(composeRequest("CANCEL", m_toValue), false);
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
                SendRequest("BYE", m_remoteTo);
            }
            break;
        default:
            DoCallEnded();
            break;
        }
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
    m_retransmit.Stop();
    // The dialogs of this connection cannot go on without its socket.
    m_sessions.Clear();
    m_currentSession = m_callSession = nullptr;
    stopReceiving();
    return TCustomUDPClient::Close();
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
    std::optional<SipMessage> message = SipMessage::Frame(datagram);
    if (!message)
        return;
    m_lastMessage = std::move(*message);
    m_lastSource = source;
    runGuarded([this] { ProcessMessage(); });
}

// ---- building and sending ----------------------------------------------------------

QByteArray TCustomSIPClient::composeRequest(const QByteArray& method, const QByteArray& toValue,
                                            const QByteArray& extraHeaders, const QByteArray& body)
{
    m_lastMethod = method;
    return method + ' ' + m_requestUri + " SIP/2.0\r\n" + m_viaPrefix + m_branchId + "\r\n" + m_fromLine +
           "To: " + toValue + "\r\n" + "Call-ID: " + m_callId + "\r\n" +
           "CSeq: " + QByteArray::number(m_cseq) + ' ' + method + "\r\n" + "Max-Forwards: 70\r\n" +
           extraHeaders + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

void TCustomSIPClient::BuildRequest(const QByteArray& method, const QByteArray& toValue,
                                    const QByteArray& extraHeaders, const QByteArray& body)
{
    transmit(composeRequest(method, toValue, extraHeaders, body), m_server);
}

void TCustomSIPClient::SendRequest(const QByteArray& method, const QByteArray& toValue,
                                   const QByteArray& body, const QByteArray& extraHeaders)
{
    m_branchId = NewHexId();
    ++m_cseq;
    const QByteArray headers = m_contactLine + "Expires: " + m_expiresValue + "\r\n" +
                               "User-Agent: " + UserAgent::Name + "\r\n" + extraHeaders;
    sendRetransmitted(composeRequest(method, toValue, headers, body), method == "INVITE");
}

void TCustomSIPClient::sendRetransmitted(const QByteArray& request, bool isInvite)
{
    m_lastRequest = request;
    transmit(m_lastRequest, m_server);
    m_retransmit.Start(
        isInvite, [this] { runGuarded([this] { transmit(m_lastRequest, m_server); }); },
        [this] { runGuarded([this] { requestTimedOut(); }); });
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

void TCustomSIPClient::SendResponse(const QByteArray& statusText)
{
    const SipMessage& request = m_lastMessage;
    transmit("SIP/2.0 " + statusText + "\r\n" + viaLines(request, m_lastSource, ": ") +
                 "From: " + request.HeaderValue("From") + "\r\n" + "To: " + request.HeaderValue("To") +
                 "\r\n" + "Call-ID: " + request.HeaderValue("Call-ID") + "\r\n" +
                 "CSeq: " + request.HeaderValue("CSeq") + "\r\n" + "Content-Length: 0\r\n\r\n",
             m_lastSource);
}

void TCustomSIPClient::SendResponseSDP(const QByteArray& statusText)
{
    const SipMessage& request = m_lastMessage;
    transmit("SIP/2.0 " + statusText + "\r\n" + viaLines(request, m_lastSource, ":") +
                 "From:" + request.HeaderValue("From") + "\r\n" + "To:" + request.HeaderValue("To") + "\r\n" +
                 "Call-ID:" + request.HeaderValue("Call-ID") + "\r\n" + "CSeq:" +
                 request.HeaderValue("CSeq") + "\r\n" + m_contactLine + "Content-Type: application/sdp\r\n" +
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

// ---- message handling --------------------------------------------------------------

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
        // A response is never answered; one outside our dialog is simply dropped.
        if (!m_callId.isEmpty() && callId == m_callId)
            clientResponse();
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
    if (!m_callId.isEmpty() && callId == m_callId) {
        if (m_lastMessage.IsRequest("INVITE")) {
            SendResponseSDP("200 OK");
        } else if (m_lastMessage.IsRequest("BYE")) {
            SendResponse("200 OK");
            if (m_state == Connected) {
                m_retransmit.Stop();
                SetState(RemoteHungUp);
                DoCallEnded();
            }
        }
        return;
    }
    if (m_lastMessage.IsRequest("INVITE"))
        incomingInvite();
    else
        SendResponse("481 Call/Transaction Does Not Exist");
}

void TCustomSIPClient::incomingInvite()
{
    if (!m_acceptIncoming || !isOneOf(m_state, {Ready, CallFailed, RemoteHungUp, Missed}))
        return;
    auto session = std::make_unique<TSession>(*this, m_lastMessage, m_lastSource, MillisecondTick());
    session->SetRetransmitT1(m_retransmit.T1());
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

void TCustomSIPClient::sessionRequest(TSession& session)
{
    if (session.IsInviteRetransmission(m_lastMessage)) {
        session.ResendLastInviteResponse();
        return;
    }
    if (m_lastMessage.IsRequest("ACK")) {
        session.AckReceived();
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
    }
}

void TCustomSIPClient::sessionResponse(TSession& session)
{
    const int code = ResponseCode();
    if (code < 200)
        return;
    session.ResponseReceived();
    if (code == 200 && m_state == HangingUp && &session == m_callSession) {
        DoCallEnded();
        SetState(Ready);
        freeSession(&session);
    }
}

void TCustomSIPClient::clientResponse()
{
    if (m_refreshing && m_lastMessage.CSeqMethod() == "REGISTER") {
        refreshResponse();
        return;
    }
    const QByteArray to = m_lastMessage.HeaderValue("To");
    const int code = ResponseCode();
    const std::optional<quint32> cseq = m_lastMessage.CSeqNumber();
    // Answers to earlier transactions (late retransmissions) must not move the state.
    if (cseq && *cseq != m_cseq)
        return;
    if (code < 200)
        m_retransmit.Provisional();
    else
        m_retransmit.Stop();
    m_remoteTo = to.isEmpty() ? m_toValue : to;

    const bool hasBody = !m_lastMessage.Body().isEmpty();
    if (code == 100) {
        if (isOneOf(m_state, {Registering, Inviting, Authenticating})) {
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
    } else if (code >= 181 && code <= 189) {
        if (m_remoteSdp.isEmpty() && hasBody)
            DoRemoteSDP();
    } else if (code == 200) {
        if (isOneOf(m_state, {Registering, Inviting, Authenticating, Proceeding, Ringing})) {
            if (m_pendingKind == PendingRegister) {
                SetState(Ready);
                DoRegistered();
                scheduleRefresh(m_lastMessage);
            } else if (m_pendingKind == PendingInvite) {
                if (m_remoteSdp.isEmpty())
                    DoRemoteSDP();
                SetState(Connected);
                ackFinalResponse();
            } else if (m_pendingKind == PendingUnregister) {
                m_registered = false;
                SetState(Disconnected);
                Close();
            }
        } else if (m_state == HangingUp) {
            DoCallEnded();
            SetState(Ready);
        } else if (m_state == Connected && m_lastMessage.CSeqMethod() == "INVITE") {
            // Our ACK was lost and the 200 came again (RFC 3261 section 13.2.2.4).
            ackFinalResponse();
        }
    } else if (code == 401 || code == 407) {
        if (isOneOf(m_state, {Registering, Inviting, Proceeding})) {
            SetState(Authenticating);
            AuthenticationRetry();
        }
    } else if (code == 403 || code == 406) {
        m_lastReason = m_lastMessage.ReasonText();
        ackFinalResponse();
        if (m_pendingKind == PendingRegister) {
            SetState(AuthRejected);
            DoCallEnded();
        } else {
            SetState(Unavailable);
        }
    } else if (code == 404) {
        if (m_pendingKind == PendingUnregister) {
            m_registered = false;
            SetState(Disconnected);
            Close();
        }
    } else if (code == 480 || code == 486) {
        SetState(Unavailable);
        ackFinalResponse();
    } else if (code == 487) {
        if (isOneOf(m_state, {Proceeding, Cancelling})) {
            SetState(CallFailed);
            ackFinalResponse();
            DoCallEnded();
        }
    } else if (code == 500) {
        m_lastReason = m_lastMessage.ReasonText();
        SetState(ServerError);
        ackFinalResponse();
        DoCallEnded();
    }
}

void TCustomSIPClient::ackFinalResponse()
{
    // Only an INVITE transaction is acknowledged (RFC 3261 section 17.1.1.3); a
    // REGISTER refused with 403 gets no ACK.
    if (m_lastMessage.CSeqMethod() == "INVITE")
        BuildRequest("ACK", m_remoteTo);
}

QByteArray TCustomSIPClient::authorizationLine(const QByteArray& method, const QByteArray& uri)
{
    const bool proxy = m_lastStatusCode == 407;
    const QByteArray header = m_lastMessage.HeaderValue(proxy ? "Proxy-Authenticate" : "WWW-Authenticate");
    if (header.isEmpty())
        RaiseError(SIP_UNAUTHORIZED);
    const std::optional<DigestChallenge> challenge = DigestChallenge::Parse(header);
    if (!challenge)
        RaiseError(SIP_UNAUTHORIZED);
    if (challenge->HasParameter("algorithm") && challenge->Parameter("algorithm") != "MD5")
        RaiseError(SIP_UNAUTHORIZED);
    return DigestAuthorization::Line(proxy ? "Proxy-" : "", *challenge, {m_login, m_password, method, uri},
                                     NewHexId().toLower());
}

void TCustomSIPClient::AuthenticationRetry()
{
    const QByteArray method = m_lastMethod;
    const QByteArray line = authorizationLine(method, m_requestUri);
    if (method != "INVITE") {
        SendRequest(method, m_toValue, {}, line);
        return;
    }
    BuildRequest("ACK", m_remoteTo);
    SendRequest("INVITE", m_toValue, m_localSdp, line + "Content-Type: application/sdp\r\n");
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

void TCustomSIPClient::requestTimedOut()
{
    if (m_refreshing) {
        refreshFailed();
        return;
    }
    switch (m_state) {
    case Registering:
    case Authenticating:
    case Proceeding:
        if (m_pendingKind == PendingRegister || m_pendingKind == PendingUnregister) {
            m_registered = false;
            SetState(Disconnected);
            Close();
            return;
        }
        [[fallthrough]];
    case Inviting:
    case Ringing:
    case Cancelling:
        SetState(CallFailed);
        DoCallEnded();
        break;
    case HangingUp:
        DoCallEnded();
        SetState(Ready);
        break;
    default:
        break;
    }
}

void TCustomSIPClient::sessionRequestTimedOut(TSession* session)
{
    if (m_state == HangingUp && session == m_callSession) {
        DoCallEnded();
        SetState(Ready);
        freeSession(session);
    }
}

// ---- registration refresh ----------------------------------------------------------

void TCustomSIPClient::scheduleRefresh(const SipMessage& okResponse)
{
    const int seconds = grantedSeconds(okResponse);
    if (seconds <= 0)
        return;
    // Halfway through the granted time leaves room for a lost request and a challenge.
    m_refreshTimer.start(std::max(1, seconds / 2) * 1000);
}

void TCustomSIPClient::refreshRegistration()
{
    runGuarded([this] {
        if (!m_registered || !IsOpen())
            return;
        // Requests of a call share this dialog's branch and CSeq; wait until it is over.
        if (!isOneOf(m_state, {Ready, CallFailed, Unavailable, ServerError, RemoteHungUp, Missed})) {
            m_refreshTimer.start(deferredRefreshMs);
            return;
        }
        m_refreshing = true;
        m_refreshAuthorized = false;
        sendRefresh({});
    });
}

void TCustomSIPClient::sendRefresh(const QByteArray& authorization)
{
    m_requestUri = "sip:" + m_serverHost;
    m_expiresValue = "1800";
    SendRequest("REGISTER", m_registerTo, {}, authorization);
}

void TCustomSIPClient::refreshResponse()
{
    const int code = ResponseCode();
    const std::optional<quint32> cseq = m_lastMessage.CSeqNumber();
    if (cseq && *cseq != m_cseq)
        return;
    if (code < 200) {
        m_retransmit.Provisional();
        return;
    }
    m_retransmit.Stop();
    if (code == 200) {
        m_refreshing = false;
        scheduleRefresh(m_lastMessage);
    } else if ((code == 401 || code == 407) && !m_refreshAuthorized) {
        m_refreshAuthorized = true;
        try {
            sendRefresh(authorizationLine("REGISTER", "sip:" + m_serverHost));
        } catch (const SilentAbort&) {
            refreshFailed();
            throw;
        }
    } else {
        refreshFailed();
    }
}

void TCustomSIPClient::refreshFailed()
{
    m_refreshing = false;
    m_retransmit.Stop();
    m_registered = false;
    if (m_state == Ready)
        SetState(Disconnected);
}
