#include "softphone/TPCMA.h"

#include "softphone/TRTCPClient.h"

namespace {
// How long the playback thread waits for a packet before it looks at its running
// flag again; this bounds how long Stop waits for the thread.
constexpr int receivePollMs = 20;
constexpr int payloadBytes = 240;
} // namespace

TPCMA::TPCMA(AudioSystem& audio, QObject* parent) : TCustomPCMA(audio, parent) {}

TPCMA::~TPCMA()
{
    Stop();
}

void TPCMA::Start(TRTCPClient* link)
{
    Stop();
    m_link = link;
    if (!link)
        return;
    m_running = true;
    m_thread = std::thread(&TPCMA::PlaybackLoop, this);
}

void TPCMA::Stop()
{
    CloseInput();
    m_running = false;
    if (m_thread.joinable())
        m_thread.join();
    CloseOutput();
}

bool TPCMA::OpenInput()
{
    CloseInput();
    m_input = m_audio.createInput();
    return m_input->open(InputDevice(), BufferBytes, [this](const QByteArray& pcm) { RecordedBuffer(pcm); });
}

void TPCMA::CloseInput()
{
    if (m_input)
        m_input->close();
    m_input.reset();
}

void TPCMA::RecordedBuffer(const QByteArray& pcm)
{
    if (!m_transmitting || !m_link || pcm.size() != BufferBytes || !WorthSending(pcm))
        return;
    const QByteArray alaw = EncodeALaw(pcm);
    if (alaw.size() == payloadBytes)
        SendAudio(alaw);
}

void TPCMA::SendAudio(const QByteArray& alaw)
{
    if (!m_link)
        return;
    qsizetype offset = 0;
    while (alaw.size() - offset > payloadBytes) {
        const long sent = m_link->SendRTP(8, alaw.mid(offset, payloadBytes));
        emit OnStatus(ChunkSent, static_cast<int>(sent));
        offset += payloadBytes;
    }
    if (offset < alaw.size())
        m_link->SendRTP(8, alaw.mid(offset));
}

void TPCMA::PlaybackLoop()
{
    emit OnStatus(PlaybackStarted, 0);
    if (!OpenOutput()) {
        m_outputError = QByteArray("Impossible d'acc\xE9"
                                   "der au micro");
    } else {
        while (m_running) {
            const TRTCPClient::Received received = m_link->ReceiveRTP(8, receivePollMs);
            if (received.kind == TRTCPClient::Received::Nothing)
                continue;
            if (received.kind == TRTCPClient::Received::Accepted) {
                emit OnStatus(PacketArrived, 0);
                Play(DecodeALaw(received.payload));
            } else {
                emit OnStatus(PacketRejected, 0);
            }
        }
    }
    emit OnStatus(PlaybackEnding, 0);
}
