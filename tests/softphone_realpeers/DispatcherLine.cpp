#include "DispatcherLine.h"

#include "../softphone/SoftphoneTestSupport.h"
#include "platform/audio/AudioFormat.h"
#include "support/peers/KamailioPbx.h"

DispatcherLine::DispatcherLine(const QByteArray& login) : m_login(login)
{
    m_sip.SetLocalPort(FreeUdpPort());
    m_rtp.SetLocalPort(FreeUdpPortPair());
    m_sip.SetLocalMedia("127.0.0.1", m_rtp.LocalPort());
    m_pcma.SetOutputDevice(AudioFormat::DefaultDevice);
    m_pcma.SetInputDevice(AudioFormat::DefaultDevice);
    connect(&m_sip, &TSIPClient::OnSend, this, [this] { record(m_sip.OutputBuffer(), true); });
    connect(&m_sip, &TSIPClient::OnReceive, this, [this] { record(m_sip.LastMessage().Datagram(), false); });
    connect(&m_sip, &TSIPClient::OnStateChange, this, [this] { m_states.push_back(m_sip.State()); });
    connect(&m_sip, &TSIPClient::OnCallEnd, this, [this] { ++m_callEnds; });
    // The headset hands over a 30 ms buffer every 30 ms while the microphone is open; the
    // dispatcher keeps silent (A-law silence is audio as good as any for the other side).
    m_audio.setMicrophoneSignal(QByteArray(AudioFormat::BytesPerSecond, '\0'));
    m_microphoneClock.setTimerType(Qt::PreciseTimer);
    connect(&m_microphoneClock, &QTimer::timeout, this, [this] {
        if (FakeAudioInput* input = m_audio.openInput())
            input->deliverBuffers(1);
    });
    m_microphoneClock.start(30);
}

DispatcherLine::~DispatcherLine()
{
    m_pcma.Stop();
}

bool DispatcherLine::Register(const KamailioPbx& pbx)
{
    m_sip.SetServerPort(pbx.Port());
    return m_sip.Connect(m_login, pbx.Address(), m_login, pbx.Password()) && WaitForState(TSIPClient::Ready);
}

bool DispatcherLine::WaitForState(quint8 state, int timeoutMs)
{
    return WaitUntil([&] { return m_sip.State() == state; }, timeoutMs);
}

qint64 DispatcherLine::PlayedBytes() const
{
    return m_audio.lastPlayback() ? m_audio.lastPlayback()->writtenBytes() : 0;
}

std::string DispatcherLine::TakeWire()
{
    return std::exchange(m_wire, {}).join(QStringLiteral(", ")).toStdString();
}

std::vector<int> DispatcherLine::TakeStates()
{
    return std::exchange(m_states, {});
}

void DispatcherLine::record(const QByteArray& message, bool sent)
{
    const QByteArray startLine = message.left(message.indexOf("\r\n"));
    // A response is named by its code, a request by its method.
    const QByteArray name =
        startLine.startsWith("SIP/2.0 ") ? startLine.mid(8, 3) : startLine.left(startLine.indexOf(' '));
    m_wire << QLatin1String(sent ? "> " : "< ") + QString::fromLatin1(name);
    m_trace += QLatin1String(sent ? "---> sent\n" : "<--- received\n") + QString::fromLatin1(message) +
               QLatin1Char('\n');
}
