#pragma once

#include <QByteArray>
#include <atomic>

// What a fake output played; it outlives the output device, so a test can read it
// after the call has stopped.
class FakePlayback
{
public:
    // While stalled nothing more is played, as with a device that hangs.
    void setStalled(bool stalled);
    qint64 writtenBytes() const { return m_written; }
    qint64 playedBytes() const { return m_stalled ? m_stalledAt.load() : m_written.load(); }
    // Everything written; read it only while nothing plays.
    const QByteArray& played() const { return m_played; }

    void append(const char* pcm, int bytes);

private:
    std::atomic<bool> m_stalled = false;
    std::atomic<qint64> m_written = 0;
    std::atomic<qint64> m_stalledAt = 0;
    QByteArray m_played;
};
