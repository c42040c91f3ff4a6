#pragma once

#include "platform/audio/FakeAudioSystem.h"
#include "softphone/CallMedia.h"
#include "softphone/TPCMA.h"
#include "softphone/TRTCPClient.h"
#include "softphone/TSIPClient.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <string>
#include <vector>

class KamailioPbx;

// A dispatcher's telephone line as the order form holds it: the SIP client with its
// media on a fake headset whose microphone delivers a buffer every 30 ms, and a record
// of what went over the wire and which states it passed.
class DispatcherLine : public QObject
{
public:
    explicit DispatcherLine(const QByteArray& login);
    ~DispatcherLine() override;

    TSIPClient& Sip() { return m_sip; }
    // Connects to the exchange and waits until the registration is confirmed.
    bool Register(const KamailioPbx& pbx);
    bool WaitForState(quint8 state, int timeoutMs = 10000);
    // Bytes of the other side's audio played on the headset so far.
    qint64 PlayedBytes() const;
    int CallEnds() const { return m_callEnds; }

    // The messages since the last call, in order and joined by ", ": "> INVITE" for a
    // request sent, "< 200" for a response received, "< BYE" for a request received,
    // "> 200" for a response sent.
    std::string TakeWire();
    // The states entered since the last call.
    std::vector<int> TakeStates();
    // Every message sent and received, whole, for a failure message.
    const QString& Trace() const { return m_trace; }

private:
    void record(const QByteArray& message, bool sent);

    FakeAudioSystem m_audio;
    TSIPClient m_sip;
    TRTPClient m_rtp;
    TRTCPClient m_rtcp{m_rtp};
    TPCMA m_pcma{m_audio};
    CallMedia m_media{m_sip, m_rtcp, m_pcma};
    QTimer m_microphoneClock;
    QByteArray m_login;
    QStringList m_wire;
    std::vector<int> m_states;
    QString m_trace;
    int m_callEnds = 0;
};
