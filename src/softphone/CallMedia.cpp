#include "softphone/CallMedia.h"

#include "softphone/RemoteSdp.h"
#include "softphone/TPCMA.h"
#include "softphone/TRTCPClient.h"
#include "softphone/TSIPClient.h"

CallMedia::CallMedia(TSIPClient& sip, TRTCPClient& rtcp, TPCMA& pcma, QObject* parent)
    : QObject(parent), m_sip(sip), m_rtcp(rtcp), m_pcma(pcma)
{
    connect(&m_sip, &TSIPClient::OnRemoteSDP, this, &CallMedia::remoteSdpArrived);
    connect(&m_sip, &TSIPClient::OnCallEnd, this, &CallMedia::callEnded);
    connect(&m_sip, &TSIPClient::OnStateChange, this, &CallMedia::stateChanged);
}

void CallMedia::remoteSdpArrived()
{
    const std::optional<RemoteSdp> remote = RemoteSdp::Parse(m_sip.RemoteSDP());
    if (!remote)
        return;
    // The old playback thread must be gone before the RTP socket is opened again.
    m_pcma.Stop();
    if (!m_rtcp.Start(m_sip.Login(), remote->address, remote->port))
        return;
    m_pcma.SetTransmitting(m_sip.State() == TSIPClient::Connected);
    m_pcma.Start(&m_rtcp);
    m_pcma.OpenInput();
    m_rtcp.SendFirst();
    m_running = true;
}

void CallMedia::callEnded()
{
    m_pcma.SetTransmitting(false);
    if (!m_running)
        return;
    m_rtcp.Stop();
    m_pcma.Stop();
    m_running = false;
}

void CallMedia::stateChanged()
{
    m_pcma.SetTransmitting(m_running && m_sip.State() == TSIPClient::Connected);
}
