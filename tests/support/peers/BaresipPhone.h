#pragma once

#include "support/peers/BaresipControl.h"
#include "support/peers/PeerProcess.h"

#include <QByteArray>
#include <QTemporaryDir>

class KamailioPbx;

// baresip as the other telephone: one account registered at the exchange, a 440 Hz
// tone as its microphone (aufile), no sound card (received audio is decoded and
// dropped), PCMA only, one call at a time (a second one gets "486 Max Calls"), driven
// through its control connection.
class BaresipPhone
{
public:
    BaresipPhone(const QByteArray& user, const KamailioPbx& pbx);
    ~BaresipPhone();

    // Starts it and waits until its registration is confirmed; false with the reason
    // in Problem().
    bool Start();
    // Unregisters and ends: stop the telephones before the exchange, or each waits
    // half a minute for an exchange that is gone.
    void Stop();

    const QByteArray& User() const { return m_user; }
    // Its address of record at the exchange.
    QByteArray Uri() const;

    bool Dial(const QByteArray& uri)
    {
        return m_control.Command(QStringLiteral("dial"), QString::fromLatin1(uri));
    }
    bool Accept() { return m_control.Command(QStringLiteral("accept")); }
    // Ends the current call; a ringing incoming one is refused ("486 Rejected").
    bool Hangup() { return m_control.Command(QStringLiteral("hangup")); }
    // A re-INVITE in the current call that offers the same media again.
    bool Reinvite() { return m_control.Command(QStringLiteral("reinvite")); }
    // The next event of this type (CALL_INCOMING, CALL_RINGING, CALL_ESTABLISHED,
    // CALL_REMOTE_SDP, CALL_CLOSED ...); its "param" says more, CALL_CLOSED's the reason.
    QJsonObject WaitForEvent(const QString& type, int timeoutMs = 10000)
    {
        return m_control.WaitForEvent(type, timeoutMs);
    }
    // RTP packets received in the current call, by its audio statistics (-1 when none).
    int ReceivedRtpPackets();

    const QString& Problem() const { return m_problem; }
    // Its events and the end of its log, for a failure message.
    QString Report() const;

private:
    bool writeConfiguration(quint16 sipPort, quint16 controlPort, quint16 rtpPorts);
    bool registered();

    QByteArray m_user;
    const KamailioPbx& m_pbx;
    QTemporaryDir m_folder;
    PeerProcess m_process;
    BaresipControl m_control;
    QString m_problem;
};
