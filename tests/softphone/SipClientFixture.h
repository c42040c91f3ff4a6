#pragma once

#include "SoftphoneTestSupport.h"
#include "softphone/TSIPClient.h"

#include <gtest/gtest.h>
#include <vector>

// A TSIPClient talking to a LoopbackPeer that plays the SIP server, with every
// state change and event recorded.
class SipClientFixture : public ::testing::Test
{
protected:
    void SetUp() override;

    // Connects and answers the REGISTER with 200, leaving the client in Ready.
    void Register();
    // A request of the peer to the client.
    void SendToClient(const QByteArray& message) { m_peer.Send(message, m_clientPort); }
    // Where the client says it takes requests: its media address and its SIP port.
    QByteArray Here() const { return "10.0.0.5:" + QByteArray::number(m_clientPort); }

    LoopbackPeer m_peer;
    TSIPClient m_client;
    quint16 m_clientPort = 0;
    std::vector<int> m_states;
    int m_registeredEvents = 0;
    int m_callEndEvents = 0;
    int m_remoteSdpEvents = 0;
    int m_errorEvents = 0;
};

// An INVITE from the caller 102 to 101 with the given Call-ID and extra head lines.
QByteArray IncomingInvite(const QByteArray& callId, const QByteArray& extraVia = {},
                          const QByteArray& padding = {});
