#pragma once

#include "platform/Clock.h"
#include "softphone/ClientTransaction.h"
#include "softphone/OutgoingDialog.h"
#include "softphone/RegistrationSchedule.h"
#include "softphone/SipMessage.h"
#include "softphone/TCustomUDPClient.h"
#include "softphone/TSessionList.h"

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <memory>
#include <optional>
#include <vector>

class TSession;

// The SIP user agent over UDP: registration with digest authentication, one call at
// a time in either direction, and the 19-value call state the host switches on.
// Everything runs on the thread that owns the object: datagrams are read from a
// socket notifier one at a time, so closing the socket from inside the processing
// of a message is safe.
class TCustomSIPClient : public QObject, public TCustomUDPClient
{
    Q_OBJECT

public:
    enum States : quint8 {
        Disconnected = 0,
        Registering = 1,
        Ready = 2,
        Inviting = 3,
        Authenticating = 4,
        Proceeding = 5,
        AuthRejected = 6,
        Ringing = 7,
        Cancelling = 8,
        CallFailed = 9,
        Unavailable = 10,
        ServerError = 11,
        Connected = 12,
        HangingUp = 13,
        RemoteHungUp = 14,
        Incoming = 15,
        Rejecting = 16,
        Answering = 17,
        Missed = 18,
    };
    enum PendingKinds : quint8 {
        PendingRegister = 0,
        PendingInvite = 1,
        PendingAnswered = 2,
        PendingUnregister = 3
    };
    enum CallKinds : quint8 { IncomingCall = 0, OutgoingCall = 1, MissedCall = 2 };

    // The clock dates the registration's confirmation and lapse (the system clock
    // when none is given).
    explicit TCustomSIPClient(QObject* parent = nullptr, const IClock* clock = nullptr);
    ~TCustomSIPClient() override;

    // Set by the host before Connect.
    void SetLocalPort(quint16 port) { m_localPort = port; }
    void SetServerPort(quint16 port) { m_serverPort = port; }
    void SetAcceptIncoming(bool accept) { m_acceptIncoming = accept; }
    // Base retransmission interval T1 in milliseconds (RFC 3261: 500); the other
    // protocol times (transaction time-outs, registration retries) follow it.
    void SetRetransmitT1(int milliseconds);
    // While registered, asks the server every intervalMs whether it is still there (an
    // OPTIONS to the server itself, RFC 3261 section 11); 0, the default, asks nothing.
    // A registrar may grant half an hour, and a server that died meanwhile would stay
    // unnoticed for that long (RFC 5626 section 3.5 gives the same reason for its
    // keep-alives). When the server answers again after a silence, this phone registers
    // again at once: a restarted registrar may have forgotten it.
    void SetKeepAliveInterval(int milliseconds);

    // Builds the SDP body; the address is also where this phone says it takes SIP
    // requests (Contact and Via) from the next Connect on.
    void SetLocalMedia(const QByteArray& address, quint16 rtpPort);
    // False when the server cannot be resolved or the port bound; ErrorCode says why.
    bool Connect(const QByteArray& displayName, const QByteArray& serverHost, const QByteArray& login,
                 const QByteArray& password);
    void Disconnect();
    void Call(const QByteArray& number);
    void Answer();
    void Reject();
    void Hangup();
    // After a call has ended (refused, failed, missed, hung up by the other side) the
    // host takes the registered phone back to Ready; any other state stays.
    void ReturnToReady();

    int Close() override;
    // Closes without removing the registration: it stays on the server until it expires
    // and calls keep going to this address (a probe that leaves a line in place).
    int CloseKeepingRegistration();

    // Frames and processes one datagram as if it had just arrived from source (the
    // socket notifier calls it for every datagram read).
    void HandleDatagram(const QByteArray& datagram, const Ipv4Endpoint& source);

    quint8 State() const { return m_state; }
    bool Registered() const { return m_registered; }
    // When the registrar last accepted the registration, and when that acceptance
    // runs out (both null before the first one).
    QDateTime RegistrationConfirmedAt() const { return m_schedule.ConfirmedAt(); }
    QDateTime RegistrationLapsesAt() const { return m_schedule.LapsesAt(); }
    // False from the moment a keep-alive went unanswered until the server answers again.
    bool ServerAnswering() const { return m_serverAnswering; }
    quint8 PendingKind() const { return m_pendingKind; }
    quint8 CallKind() const { return m_callKind; }
    const QByteArray& LastReason() const { return m_lastReason; }
    const QByteArray& DialledNumber() const { return m_dialledNumber; }
    const QByteArray& CallerId() const { return m_callerId; }
    const QByteArray& RemoteSDP() const { return m_remoteSdp; }
    const QByteArray& LocalSDP() const { return m_localSdp; }
    const QByteArray& Login() const { return m_login; }
    const QByteArray& ServerHost() const { return m_serverHost; }
    bool AcceptIncoming() const { return m_acceptIncoming; }
    const QByteArray& CallId() const { return m_callId; }
    int SessionCount() const { return m_sessions.Count(); }
    // The message being processed (valid inside the OnReceive and OnStateChange events).
    const SipMessage& LastMessage() const { return m_lastMessage; }
    // The message most recently sent (valid inside OnSend).
    const QByteArray& OutputBuffer() const { return m_outputBuffer; }

protected:
    virtual void ProcessMessage();
    virtual void SendBuffer();
    virtual void DoRegistered();
    virtual void DoRemoteSDP();
    virtual void DoCallEnded();
    virtual void SetState(quint8 newState);
    // Runs after an operation ended with RaiseError; ErrorCode holds the reason.
    virtual void DoError() {}

private:
    friend class TSession;

    void readDatagram();
    bool runGuarded(const std::function<void()>& operation);
    void startReceiving();
    void stopReceiving();

    // Building and sending (the exact texts are part of the interface with the server).
    OutgoingRequest newRequest(const QByteArray& method, const QByteArray& uri, const QByteArray& toValue,
                               const QByteArray& fromLine);
    QByteArray standardHeaders(const QByteArray& expires) const;
    std::unique_ptr<ClientTransaction> startTransaction(const OutgoingRequest& request,
                                                        const QByteArray& extraHeaders,
                                                        const QByteArray& body,
                                                        std::function<void()> timedOut);
    void retire(std::unique_ptr<ClientTransaction>& transaction);
    void SendResponse(const QByteArray& statusText, const QByteArray& extraHeaders = {});
    void SendResponseSDP(const QByteArray& statusText, const QByteArray& extraHeaders = {});
    QByteArray viaLines(const SipMessage& request, const Ipv4Endpoint& source, const char* separator) const;
    void transmit(const QByteArray& message, const Ipv4Endpoint& to);
    int ResponseCode();

    // Requests that reach us.
    void clientRequest();
    void incomingInvite();
    bool canTakeCall() const;
    void sessionRequest(TSession& session);
    void sessionResponse(TSession& session);
    void outgoingDialogRequest();
    bool inOutgoingDialog() const;
    // A re-INVITE or UPDATE inside a call: false when its offer has nothing we play.
    bool acceptNewOffer();

    // The outgoing call.
    void sendInvite(const QByteArray& authorization);
    void sendCancel();
    void sendDialogBye();
    void inviteResponse(int code);
    void inviteProvisional(int code);
    void inviteAnswered();
    void inviteRefused(int code);
    void abandonedInviteResponse(int code);
    void callRequestResponse(int code);
    void acknowledgeAnswer();
    void endCall();
    void inviteTimedOut();
    void cancelTimedOut();
    void byeTimedOut();
    void sessionRequestTimedOut(TSession* session);
    void freeSession(TSession* session);

    // Registration and its quiet refresh (RFC 3261 section 10.2.4).
    void sendRegister(const QByteArray& authorization);
    void registerResponse(int code);
    void registrationConfirmed();
    bool retryRegistration(int code);
    void refreshRegistration();
    void refreshFailed();
    void registerTimedOut();
    void startKeepAlive();
    void sendKeepAlive();
    void keepAliveResponse(int code);
    void keepAliveUnanswered();
    QByteArray authorizationLine(const OutgoingRequest& challenged);
    bool challengeIsStale() const;

    // Connection settings and dialog values.
    quint16 m_localPort = 46500;
    quint16 m_serverPort = 5060;
    QByteArray m_displayName, m_serverHost, m_login, m_password;
    Ipv4Endpoint m_server;
    QByteArray m_localAddress;
    QByteArray m_callId, m_viaPrefix, m_fromLine, m_contactLine, m_contactUri;
    QByteArray m_registerTo;
    QByteArray m_expiresValue = "1800";
    quint32 m_cseq = 0;
    QByteArray m_localSdp;
    quint32 m_sdpSessionId = 0;

    // Last received and last sent.
    SipMessage m_lastMessage;
    Ipv4Endpoint m_lastSource;
    int m_lastStatusCode = 0;
    QByteArray m_outputBuffer;
    Ipv4Endpoint m_outputTarget;

    // Host-visible state.
    quint8 m_state = Disconnected;
    bool m_registered = false;
    quint8 m_pendingKind = PendingRegister;
    quint8 m_callKind = IncomingCall;
    QByteArray m_lastReason, m_dialledNumber, m_callerId, m_remoteSdp;
    bool m_acceptIncoming = false;

    TSessionList m_sessions;
    TSession* m_currentSession = nullptr; // matched the message being processed
    TSession* m_callSession = nullptr;    // the incoming call, kept across unrelated messages

    // The outgoing call: its INVITE, the one before it (a challenged or abandoned
    // attempt whose late answers still need an ACK), its CANCEL or BYE, its dialog.
    std::unique_ptr<ClientTransaction> m_inviteTx, m_previousInviteTx, m_callRequestTx;
    std::vector<std::unique_ptr<ClientTransaction>> m_retired;
    std::optional<OutgoingDialog> m_dialog;
    QByteArray m_answerAck;
    bool m_callOpen = false;         // OnCallEnd still due for this attempt
    bool m_inviteProceeding = false; // a provisional response came
    bool m_cancelWhenProceeding = false;
    bool m_inviteChallengeAnswered = false;
    QTimer m_cancelDeadline;

    // Registration.
    std::unique_ptr<ClientTransaction> m_registerTx;
    SystemClock m_systemClock;
    RegistrationSchedule m_schedule;
    QByteArray m_registerAuthorization;
    bool m_registerChallengeAnswered = false;
    bool m_intervalRetried = false;
    bool m_refreshing = false;
    QTimer m_refreshTimer;

    // Keep-alive of the server.
    std::unique_ptr<ClientTransaction> m_keepAliveTx;
    QTimer m_keepAliveTimer;
    QTimer m_keepAliveDeadline;
    int m_keepAliveMs = 0;
    bool m_serverAnswering = true;

    std::unique_ptr<QSocketNotifier> m_notifier;
    int m_t1 = 500;
};
