#include "softphone/TCustomSTUNClient.h"

#include "platform/net/HostLookup.h"
#include "platform/net/SecureRandomId.h"
#include "softphone/SilentAbort.h"
#include "softphone/StunBindingResponse.h"

TCustomSTUNClient::TCustomSTUNClient(QObject* parent) : QObject(parent), m_transactionId(NewRawId()) {}

TCustomSTUNClient::~TCustomSTUNClient()
{
    m_retransmit.Stop();
    stopListening();
}

bool TCustomSTUNClient::Query(const QByteArray& serverHost)
{
    if (serverHost.isEmpty())
        return false;
    const std::optional<quint32> address = ResolveHost(serverHost);
    if (!address)
        return false;
    m_server = {*address, m_serverPort};
    try {
        Open();
        Bind(m_localPort);
    } catch (const SilentAbort&) {
        Close();
        return false;
    }
    m_socket.setNonBlocking(true);
    m_notifier = std::make_unique<QSocketNotifier>(m_socket.descriptor(), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &TCustomSTUNClient::readDatagram);
    sendRequest();
    m_retransmit.Start(
        true, [this] { sendRequest(); }, [this] { m_retransmit.Stop(); });
    return true;
}

void TCustomSTUNClient::sendRequest()
{
    const QByteArray request = StunBindingResponse::Request(m_transactionId);
    m_socket.sendTo(m_server, request.constData(), request.size());
}

void TCustomSTUNClient::readDatagram()
{
    const QByteArray datagram = ReceiveDatagram(0);
    if (datagram.isEmpty())
        return;
    if (const std::optional<Ipv4Endpoint> mapped =
            StunBindingResponse::MappedAddress(datagram, m_transactionId))
        HandleResult(*mapped);
}

void TCustomSTUNClient::HandleResult(const Ipv4Endpoint& mapped)
{
    m_mappedAddress = mapped.address;
    m_mappedPort = mapped.port;
    QueryDone();
}

void TCustomSTUNClient::QueryDone()
{
    m_retransmit.Stop();
    stopListening();
    Close();
}

void TCustomSTUNClient::stopListening()
{
    if (!m_notifier)
        return;
    m_notifier->setEnabled(false);
    m_notifier.release()->deleteLater();
}
