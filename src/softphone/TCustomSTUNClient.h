#pragma once

#include "softphone/RetransmitTimer.h"
#include "softphone/TCustomUDPClient.h"

#include <QObject>
#include <QSocketNotifier>
#include <memory>

// Asks a STUN server (RFC 3489 Binding Request) for the public IPv4 address under
// which this computer is seen. The answer is read on the owner's thread from a
// socket notifier. The request is sent again while unanswered (RFC 5389 section
// 7.2.1: from 500 ms, doubling).
class TCustomSTUNClient : public QObject, public TCustomUDPClient
{
    Q_OBJECT

public:
    explicit TCustomSTUNClient(QObject* parent = nullptr);
    ~TCustomSTUNClient() override;

    // Both 3478 unless set otherwise.
    void SetServerPort(quint16 port) { m_serverPort = port; }
    void SetLocalPort(quint16 port) { m_localPort = port; }
    void SetRetransmitT1(int milliseconds) { m_retransmit.SetT1(milliseconds); }

    // Sends the request; an empty or unknown host sends nothing and gives no result.
    // False when nothing was sent.
    bool Query(const QByteArray& serverHost);

    quint32 MappedAddress() const { return m_mappedAddress; }
    quint16 MappedPort() const { return m_mappedPort; }
    QByteArray MappedAddressText() const { return Ipv4Endpoint::dotted(m_mappedAddress); }
    const QByteArray& TransactionId() const { return m_transactionId; }

protected:
    // The answer arrived: stop listening; TSTUNClient reports the result.
    virtual void QueryDone();

private:
    void readDatagram();
    void HandleResult(const Ipv4Endpoint& mapped);
    void stopListening();
    void sendRequest();

    QByteArray m_transactionId;
    quint16 m_serverPort = 3478;
    quint16 m_localPort = 3478;
    Ipv4Endpoint m_server;
    quint32 m_mappedAddress = 0;
    quint16 m_mappedPort = 0;
    std::unique_ptr<QSocketNotifier> m_notifier;
    RetransmitTimer m_retransmit;
};
