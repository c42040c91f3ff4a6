#include "platform/audio/qt/QtAudioOutput.h"

#include "platform/audio/qt/QtAudioFormat.h"

#include <QAudioSink>
#include <QMetaObject>
#include <QTimer>

namespace {

// Moves what waits into the sink as far as it has room, and updates the count of
// bytes the device has played: everything accepted minus what it still buffers.
void feed(QtAudioOutput::Sink& state)
{
    if (!state.sink || !state.device)
        return;
    if (!state.waiting.isEmpty()) {
        const qint64 taken = state.device->write(state.waiting);
        if (taken > 0) {
            state.waiting.remove(0, taken);
            state.accepted += taken;
        }
    }
    const qint64 buffered = state.sink->bufferSize() - state.sink->bytesFree();
    state.played = state.accepted - std::max<qint64>(0, buffered);
}

void release(QtAudioOutput::Sink& state)
{
    delete state.pump;
    if (state.sink)
        state.sink->stop();
    delete state.sink;
    state.pump = nullptr;
    state.sink = nullptr;
    state.device = nullptr;
    state.waiting.clear();
}

} // namespace

QtAudioOutput::QtAudioOutput(QObject* guiThreadObject)
    : m_home(guiThreadObject), m_sink(std::make_shared<Sink>())
{
}

QtAudioOutput::~QtAudioOutput()
{
    close();
}

bool QtAudioOutput::open(int deviceIndex)
{
    close();
    const std::optional<QAudioDevice> device =
        QtAudioFormat::pick(QMediaDevices::audioOutputs(), QMediaDevices::defaultAudioOutput(), deviceIndex);
    if (!device || !device->isFormatSupported(QtAudioFormat::headset()))
        return false;
    m_sink = std::make_shared<Sink>();
    m_sink->open = true;
    QMetaObject::invokeMethod(
        m_home,
        [state = m_sink, chosen = *device] {
            if (!state->open)
                return;
            state->sink = new QAudioSink(chosen, QtAudioFormat::headset());
            state->device = state->sink->start();
            state->pump = new QTimer;
            QObject::connect(state->pump, &QTimer::timeout, state->pump, [raw = state.get()] { feed(*raw); });
            state->pump->start(10);
        },
        Qt::QueuedConnection);
    return true;
}

void QtAudioOutput::close()
{
    if (!m_sink->open)
        return;
    m_sink->open = false;
    QMetaObject::invokeMethod(
        m_home, [state = m_sink] { release(*state); }, Qt::QueuedConnection);
}

bool QtAudioOutput::isOpen() const
{
    return m_sink->open;
}

int QtAudioOutput::write(const char* pcm, int bytes)
{
    if (!m_sink->open)
        return 1;
    QMetaObject::invokeMethod(
        m_home,
        [state = m_sink, data = QByteArray(pcm, bytes)] {
            state->waiting.append(data);
            feed(*state);
        },
        Qt::QueuedConnection);
    return 0;
}

qint64 QtAudioOutput::playedBytes() const
{
    return m_sink->played;
}
