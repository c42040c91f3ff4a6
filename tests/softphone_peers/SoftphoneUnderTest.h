#pragma once

#include "../softphone/SoftphoneTestSupport.h"
#include "platform/audio/AudioFormat.h"
#include "platform/audio/FakeAudioSystem.h"
#include "softphone/CallMedia.h"
#include "softphone/TPCMA.h"
#include "softphone/TRTCPClient.h"
#include "softphone/TSIPClient.h"

#include <gtest/gtest.h>

// The softphone with its media on a fake headset, on free loopback ports, for the
// tests where sipp plays the server and the other telephone. m_callEnds counts the
// calls that ended.
class SoftphoneUnderTest : public ::testing::Test
{
protected:
    // Picks the ports (the server's included) and points the stack at them.
    void PreparePhone()
    {
        m_serverPort = FreeUdpPort();
        m_sipPort = FreeUdpPort();
        m_client.SetLocalPort(m_sipPort);
        m_client.SetServerPort(m_serverPort);
        m_rtp.SetLocalPort(FreeUdpPortPair());
        m_client.SetLocalMedia("127.0.0.1", m_rtp.LocalPort());
        m_pcma.SetOutputDevice(AudioFormat::DefaultDevice);
        m_pcma.SetInputDevice(AudioFormat::DefaultDevice);
        QObject::connect(&m_client, &TSIPClient::OnCallEnd, &m_client, [this] { ++m_callEnds; });
    }

    void TearDown() override { m_pcma.Stop(); }

    quint16 m_serverPort = 0;
    quint16 m_sipPort = 0;
    FakeAudioSystem m_audio;
    TSIPClient m_client;
    TRTPClient m_rtp;
    TRTCPClient m_rtcp{m_rtp};
    TPCMA m_pcma{m_audio};
    CallMedia m_media{m_client, m_rtcp, m_pcma};
    int m_callEnds = 0;
};
