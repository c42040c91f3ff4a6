#pragma once

#include "softphone/RetransmitTimer.h"
#include "softphone/SipMessage.h"
#include "softphone/TCustomUDPClient.h"
#include "softphone/TSessionList.h"

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <memory>

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

    explicit TCustomSIPClient(QObject* parent = nullptr);
    ~TCustomSIPClient() override;

    // Set by the host before Connect.
    void SetLocalPort(quint16 port) { m_localPort = port; }
    void SetServerPort(quint16 port) { m_serverPort = port; }
    void SetAcceptIncoming(bool accept) { m_acceptIncoming = accept; }
    // Base retransmission interval T1 in milliseconds (RFC 3261: 500).
    void SetRetransmitT1(int milliseconds);

    void SetLocalMedia(const QByteArray& address, quint16 rtpPort);
    // False when the server cannot be resolved or the port bound; ErrorCode says why.
    bool Connect(const QByteArray& displayName, const QByteArray& serverHost, const QByteArray& login,
                 const QByteArray& password);
    void Disconnect();
    void Call(const QByteArray& number);
    void Answer();
    void Reject();
    void Hangup();

    int Close() override;

    // Frames and processes one datagram as if it had just arrived from source (the
    // socket notifier calls it for every datagram read).
    void HandleDatagram(const QByteArray& datagram, const Ipv4Endpoint& source);

    quint8 State() const { return m_state; }
    bool Registered() const { return m_registered; }
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

    // Message building (exact texts are part of the interface with the server).
    QByteArray composeRequest(const QByteArray& method, const QByteArray& toValue,
                              const QByteArray& extraHeaders = {}, const QByteArray& body = {});
    void sendRetransmitted(const QByteArray& request, bool isInvite);
    void BuildRequest(const QByteArray& method, const QByteArray& toValue,
                      const QByteArray& extraHeaders = {}, const QByteArray& body = {});
    void SendRequest(const QByteArray& method, const QByteArray& toValue, const QByteArray& body = {},
                     const QByteArray& extraHeaders = {});
    void SendResponse(const QByteArray& statusText);
    void SendResponseSDP(const QByteArray& statusText);
    QByteArray viaLines(const SipMessage& request, const Ipv4Endpoint& source, const char* separator) const;
    void transmit(const QByteArray& message, const Ipv4Endpoint& to);
    int ResponseCode();

    // Message handling.
    void clientResponse();
    void clientRequest();
    void incomingInvite();
    void sessionRequest(TSession& session);
    void sessionResponse(TSession& session);
    void AuthenticationRetry();
    QByteArray authorizationLine(const QByteArray& method, const QByteArray& uri);
    void ackFinalResponse();
    void freeSession(TSession* session);
    void requestTimedOut();
    void sessionRequestTimedOut(TSession* session);

    // Quiet registration refresh (RFC 3261 section 10.2.4).
    void scheduleRefresh(const SipMessage& okResponse);
    void refreshRegistration();
    void sendRefresh(const QByteArray& authorization);
    void refreshResponse();
    void refreshFailed();

    // Connection settings and dialog values.
    quint16 m_localPort = 46500;
    quint16 m_serverPort = 5060;
    QByteArray m_displayName, m_serverHost, m_login, m_password;
    Ipv4Endpoint m_server;
    QByteArray m_callId, m_viaPrefix, m_fromLine, m_contactLine;
    QByteArray m_requestUri, m_toValue, m_remoteTo, m_registerTo;
    QByteArray m_expiresValue = "1800";
    quint32 m_cseq = 0;
    QByteArray m_branchId;
    QByteArray m_localSdp;
    quint32 m_sdpSessionId = 0;

    // Last received and last sent.
    SipMessage m_lastMessage;
    Ipv4Endpoint m_lastSource;
    QByteArray m_lastMethod;
    int m_lastStatusCode = 0;
    QByteArray m_outputBuffer;
    Ipv4Endpoint m_outputTarget;
    QByteArray m_lastRequest; // the request being retransmitted

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

    std::unique_ptr<QSocketNotifier> m_notifier;
    RetransmitTimer m_retransmit;
    QTimer m_refreshTimer;
    bool m_refreshing = false;
    bool m_refreshAuthorized = false;
};
