#include "SipClientFixture.h"

void SipClientFixture::SetUp()
{
    m_clientPort = FreeUdpPort();
    m_client.SetLocalPort(m_clientPort);
    m_client.SetServerPort(m_peer.Port());
    m_client.SetRetransmitT1(100);
    m_client.SetLocalMedia("10.0.0.5", 5004);
    QObject::connect(&m_client, &TSIPClient::OnStateChange, &m_client,
                     [this](TSIPClient* sender) { m_states.push_back(sender->State()); });
    QObject::connect(&m_client, &TSIPClient::OnRegistered, &m_client, [this] { ++m_registeredEvents; });
    QObject::connect(&m_client, &TSIPClient::OnCallEnd, &m_client, [this] { ++m_callEndEvents; });
    QObject::connect(&m_client, &TSIPClient::OnRemoteSDP, &m_client, [this] { ++m_remoteSdpEvents; });
    QObject::connect(&m_client, &TSIPClient::OnError, &m_client, [this] { ++m_errorEvents; });
}

void SipClientFixture::Register()
{
    ASSERT_TRUE(m_client.Connect("101", "127.0.0.1", "101", "secret"));
    const QByteArray registerRequest = m_peer.Receive();
    ASSERT_FALSE(registerRequest.isEmpty());
    m_peer.Send(ResponseTo(registerRequest, "200 OK"), m_clientPort);
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Ready; }));
    m_states.clear();
}

QByteArray IncomingInvite(const QByteArray& callId, const QByteArray& extraVia, const QByteArray& padding)
{
    const QByteArray sdp = "v=0\r\no=- 1 1 IN IP4 127.0.0.1\r\ns=-\r\nc=IN IP4 127.0.0.1\r\nt=0 0\r\n"
                           "m=audio 6000 RTP/AVP 8\r\na=rtpmap:8 PCMA/8000\r\n";
    return "INVITE sip:101@127.0.0.1 SIP/2.0\r\n"
           "Via: SIP/2.0/UDP 127.0.0.1:5999;branch=z9hG4bKcaller\r\n" +
           extraVia +
           "From: \"102\" <sip:102@127.0.0.1;user=phone>;tag=caller1\r\n"
           "To: <sip:101@127.0.0.1>\r\n"
           "Call-ID: " +
           callId +
           "\r\n"
           "CSeq: 1 INVITE\r\n"
           "Contact: <sip:102@127.0.0.1:5999>\r\n" +
           padding +
           "Content-Type: application/sdp\r\n"
           "Content-Length: " +
           QByteArray::number(sdp.size()) + "\r\n\r\n" + sdp;
}
