#include "SipProbe.h"

#include "MicrophoneSignal.h"
#include "platform/audio/AudioFormat.h"

#include <QFile>
#include <QTextStream>

namespace {

const char* const stateNames[] = {"Disconnected", "Registering",  "Ready",     "Inviting",   "Authenticating",
                                  "Proceeding",   "AuthRejected", "Ringing",   "Cancelling", "CallFailed",
                                  "Unavailable",  "ServerError",  "Connected", "HangingUp",  "RemoteHungUp",
                                  "Incoming",     "Rejecting",    "Answering", "Missed"};

const char* const audioStatusNames[] = {
    "playback started", "packet played", "playback ending", "packet rejected", "",
    "output busy",      "buffer queued", "queue failed",    "chunk sent"};

QString firstLine(const QByteArray& message)
{
    return QString::fromLatin1(message.left(message.indexOf('\r')));
}

} // namespace

SipProbe::SipProbe(const ProbeOptions& options, QObject* parent) : QObject(parent), m_options(options)
{
    connect(&m_sip, &TSIPClient::OnStateChange, this, &SipProbe::stateChanged);
    connect(&m_sip, &TSIPClient::OnRegistered, this, [this] { print(QStringLiteral("event OnRegistered")); });
    connect(&m_sip, &TSIPClient::OnRemoteSDP, this, [this] { print(QStringLiteral("event OnRemoteSDP")); });
    connect(&m_sip, &TSIPClient::OnCallEnd, this, &SipProbe::callEnded);
    connect(&m_sip, &TSIPClient::OnClose, this, [this] { print(QStringLiteral("event OnClose")); });
    connect(&m_sip, &TSIPClient::OnError, this,
            [this] { print(QStringLiteral("event OnError code %1").arg(m_sip.ErrorCode())); });
    connect(&m_sip, &TSIPClient::OnSend, this,
            [this] { print(QStringLiteral("send    ") + firstLine(m_sip.OutputBuffer())); });
    connect(&m_sip, &TSIPClient::OnReceive, this,
            [this] { print(QStringLiteral("receive ") + firstLine(m_sip.LastMessage().Datagram())); });
    connect(&m_pcma, &TPCMA::OnStatus, this, &SipProbe::audioStatus);
    connect(&m_stun, &TSTUNClient::OnResult, this, &SipProbe::stunAnswered);
    connect(&m_microphoneClock, &QTimer::timeout, this, &SipProbe::feedMicrophone);
    m_hangupTimer.setSingleShot(true);
    connect(&m_hangupTimer, &QTimer::timeout, this, [this] {
        print(QStringLiteral("hanging up"));
        m_sip.Hangup();
    });
    m_answerTimer.setSingleShot(true);
    connect(&m_answerTimer, &QTimer::timeout, this, [this] {
        if (m_sip.State() != TSIPClient::Incoming)
            return;
        print(QStringLiteral("answering"));
        m_sip.Answer();
    });
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        print(QStringLiteral("timeout"));
        endRun(TimedOut);
    });
}

void SipProbe::print(const QString& line)
{
    QTextStream(stdout) << QStringLiteral("%1 ").arg(m_clock.elapsed(), 6) << line << Qt::endl;
}

void SipProbe::Start()
{
    m_clock.start();
    m_deadline.start(m_options.timeoutSeconds * 1000);
    m_localAddress = m_options.localAddress.isEmpty() ? m_rtp.LocalAddressText() : m_options.localAddress;

    m_sip.SetLocalPort(m_options.localPort);
    m_sip.SetServerPort(m_options.serverPort);
    m_sip.SetLocalMedia(m_localAddress, m_options.rtpPort);
    m_sip.SetAcceptIncoming(m_options.AcceptsIncoming());
    m_rtp.SetLocalPort(m_options.rtpPort);
    m_pcma.SetOutputDevice(AudioFormat::DefaultDevice);
    m_pcma.SetInputDevice(AudioFormat::DefaultDevice);
    if (!m_options.playFile.isEmpty())
        m_audio.setMicrophoneSignal(MicrophoneSignal::FromFile(m_options.playFile));
    else if (m_options.toneHz > 0)
        m_audio.setMicrophoneSignal(MicrophoneSignal::Tone(m_options.toneHz));
    // The headset delivers a 30 ms buffer every 30 ms; a precise timer keeps the
    // RTP pacing as even as a sound card would.
    m_microphoneClock.setTimerType(Qt::PreciseTimer);
    m_microphoneClock.start(30);

    if (!m_options.stunServer.isEmpty()) {
        m_stun.SetLocalPort(0);
        print(m_stun.Query(m_options.stunServer) ? QStringLiteral("stun query sent")
                                                 : QStringLiteral("stun query not sent"));
    }
    print(QStringLiteral("connecting %1 to %2:%3 from port %4, media %5:%6")
              .arg(QString::fromLatin1(m_options.user), QString::fromLatin1(m_options.server),
                   QString::number(m_options.serverPort), QString::number(m_options.localPort),
                   QString::fromLatin1(m_localAddress), QString::number(m_options.rtpPort)));
    if (!m_sip.Connect(m_options.displayName, m_options.server, m_options.user, m_options.password))
        endRun(Failed);
}

void SipProbe::stateChanged()
{
    const int state = m_sip.State();
    QString line = QStringLiteral("state %1 %2")
                       .arg(QString::number(state), QLatin1String(state < 19 ? stateNames[state] : "?"));
    if (state == TSIPClient::Incoming)
        line += QStringLiteral(" from ") + QString::fromLatin1(m_sip.CallerId());
    if (!m_sip.LastReason().isEmpty() &&
        (state == TSIPClient::AuthRejected || state >= TSIPClient::Unavailable))
        line += QStringLiteral(" (") + QString::fromLatin1(m_sip.LastReason()) + QLatin1Char(')');
    print(line);
    if (m_ending) {
        if (state == TSIPClient::Disconnected)
            QTimer::singleShot(0, this, &SipProbe::finishNow);
        return;
    }
    switch (state) {
    case TSIPClient::Ready:
        if (!m_options.dial.isEmpty() && !m_dialled) {
            m_dialled = true;
            QTimer::singleShot(0, this, [this] { m_sip.Call(m_options.dial); });
        }
        break;
    case TSIPClient::Incoming:
        incomingCall();
        break;
    case TSIPClient::Connected:
        m_connected = true;
        if (m_options.hangupAfterSeconds > 0)
            m_hangupTimer.start(m_options.hangupAfterSeconds * 1000);
        break;
    case TSIPClient::AuthRejected:
    case TSIPClient::Disconnected:
        endRun(Failed);
        break;
    case TSIPClient::Unavailable:
    case TSIPClient::ServerError:
        if (!m_options.dial.isEmpty())
            endRun(CallNotConnected);
        break;
    default:
        break;
    }
}

void SipProbe::incomingCall()
{
    if (m_options.ring) {
        print(QStringLiteral("letting it ring"));
    } else if (m_options.reject) {
        // Not from inside the state change: the client finishes taking the call first.
        QTimer::singleShot(0, this, [this] { m_sip.Reject(); });
    } else {
        if (m_options.answerAfterSeconds > 0)
            print(QStringLiteral("answering in %1 s").arg(m_options.answerAfterSeconds));
        m_answerTimer.start(m_options.answerAfterSeconds * 1000);
    }
}

void SipProbe::callEnded()
{
    m_hangupTimer.stop();
    // A caller who cancelled while it rang is not answered afterwards.
    m_answerTimer.stop();
    QString summary = QStringLiteral("event OnCallEnd; audio:");
    for (const auto& [status, count] : m_audioCounts)
        summary +=
            QStringLiteral(" %1 x%2,").arg(QLatin1String(audioStatusNames[status]), QString::number(count));
    print(summary);
    m_audioCounts.clear();
    if (m_ending || m_sip.State() == TSIPClient::AuthRejected)
        return;
    ++m_callsEnded;
    if (!m_options.dial.isEmpty())
        endRun(m_connected ? Done : CallNotConnected);
    else if (m_callsEnded >= m_options.calls)
        endRun(Done);
}

void SipProbe::audioStatus(int status, int parameter)
{
    if (status < 0 || status > TPCMA::ChunkSent)
        return;
    if (m_audioCounts[status]++ == 0 || status == TPCMA::QueueFailed)
        print(QStringLiteral("audio %1 %2 (%3)")
                  .arg(QString::number(status), QLatin1String(audioStatusNames[status]),
                       QString::number(parameter)));
}

void SipProbe::stunAnswered()
{
    const QByteArray mapped = m_stun.MappedAddressText();
    print(QStringLiteral("event OnResult mapped %1:%2")
              .arg(QString::fromLatin1(mapped), QString::number(m_stun.MappedPort())));
    if (mapped != m_localAddress) {
        m_localAddress = mapped;
        m_sip.SetLocalMedia(mapped, m_options.rtpPort);
        print(QStringLiteral("offering media at ") + QString::fromLatin1(mapped));
    }
}

void SipProbe::feedMicrophone()
{
    if (FakeAudioInput* input = m_audio.openInput())
        input->deliverBuffers(1);
}

void SipProbe::endRun(int result)
{
    if (m_ending)
        return;
    m_ending = true;
    m_result = result;
    // Not from inside the event being handled: the client finishes that first.
    QTimer::singleShot(0, this, [this] {
        if (!m_options.unregisterAtEnd || !m_sip.Registered()) {
            finishNow();
            return;
        }
        print(QStringLiteral("unregistering"));
        m_sip.Disconnect();
        QTimer::singleShot(3000, this, &SipProbe::finishNow);
    });
}

void SipProbe::finishNow()
{
    if (m_finished)
        return;
    m_finished = true;
    m_pcma.Stop();
    if (!m_options.recordFile.isEmpty() && m_audio.lastPlayback()) {
        QFile record(m_options.recordFile);
        if (record.open(QIODevice::WriteOnly))
            record.write(m_audio.lastPlayback()->played());
        print(QStringLiteral("recorded %1 bytes").arg(m_audio.lastPlayback()->played().size()));
    }
    print(QStringLiteral("end %1").arg(m_result));
    emit Finished();
}
