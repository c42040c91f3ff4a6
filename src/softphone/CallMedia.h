#pragma once

#include <QObject>

class TSIPClient;
class TRTCPClient;
class TPCMA;

// Ties the media to the SIP client the way the host needs it: media starts when the
// other side's SDP names a valid address and port, stops when the call ends, and the
// microphone goes out only while the call is connected.
class CallMedia : public QObject
{
    Q_OBJECT

public:
    CallMedia(TSIPClient& sip, TRTCPClient& rtcp, TPCMA& pcma, QObject* parent = nullptr);

    bool MediaRunning() const { return m_running; }

private:
    void remoteSdpArrived();
    void callEnded();
    void stateChanged();

    TSIPClient& m_sip;
    TRTCPClient& m_rtcp;
    TPCMA& m_pcma;
    bool m_running = false;
};
