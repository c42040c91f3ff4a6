#pragma once

#include "ProbeOptions.h"
#include "platform/audio/FakeAudioSystem.h"
#include "softphone/CallMedia.h"
#include "softphone/TPCMA.h"
#include "softphone/TRTCPClient.h"
#include "softphone/TSIPClient.h"
#include "softphone/TSTUNClient.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <map>

// The softphone stack driven from the command line: every state change and event is
// printed with the milliseconds since start. The headset is a signal source and a
// recorder, so no sound card is needed.
class SipProbe : public QObject
{
    Q_OBJECT

public:
    enum ExitCode { Done = 0, Failed = 1, TimedOut = 2, CallNotConnected = 3 };

    explicit SipProbe(const ProbeOptions& options, QObject* parent = nullptr);

    // Begins the run; Finished is emitted when it is over.
    void Start();
    int Result() const { return m_result; }

signals:
    void Finished();

private:
    void print(const QString& line);
    void stateChanged();
    void incomingCall();
    void callEnded();
    void audioStatus(int status, int parameter);
    void stunAnswered();
    void feedMicrophone();
    void endRun(int result);
    void finishNow();

    ProbeOptions m_options;
    FakeAudioSystem m_audio;
    TSIPClient m_sip;
    TRTPClient m_rtp;
    TRTCPClient m_rtcp{m_rtp};
    TPCMA m_pcma{m_audio};
    CallMedia m_media{m_sip, m_rtcp, m_pcma};
    TSTUNClient m_stun;
    QTimer m_microphoneClock;
    QTimer m_hangupTimer;
    QTimer m_answerTimer;
    QTimer m_deadline;
    QElapsedTimer m_clock;
    QByteArray m_localAddress;
    std::map<int, int> m_audioCounts;
    bool m_dialled = false;
    bool m_connected = false;
    bool m_ending = false;
    bool m_finished = false;
    int m_callsEnded = 0;
    int m_result = Done;
};
