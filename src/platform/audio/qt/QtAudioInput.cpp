#include "platform/audio/qt/QtAudioInput.h"

#include "platform/audio/qt/QtAudioFormat.h"

#include <QAudioSource>

QtAudioInput::QtAudioInput() = default;

QtAudioInput::~QtAudioInput()
{
    close();
}

bool QtAudioInput::open(int deviceIndex, int bufferBytes, BufferReady onBuffer)
{
    close();
    const std::optional<QAudioDevice> device =
        QtAudioFormat::pick(QMediaDevices::audioInputs(), QMediaDevices::defaultAudioInput(), deviceIndex);
    if (!device || bufferBytes <= 0 || !device->isFormatSupported(QtAudioFormat::headset()))
        return false;
    m_bufferBytes = bufferBytes;
    m_onBuffer = std::move(onBuffer);
    m_source = std::make_unique<QAudioSource>(*device, QtAudioFormat::headset());
    m_device = m_source->start();
    if (!m_device) {
        m_source.reset();
        return false;
    }
    QObject::connect(m_device, &QIODevice::readyRead, m_source.get(), [this] { readAvailable(); });
    return true;
}

void QtAudioInput::close()
{
    if (m_source)
        m_source->stop();
    m_source.reset();
    m_device = nullptr;
    m_collected.clear();
}

void QtAudioInput::readAvailable()
{
    m_collected.append(m_device->readAll());
    while (m_collected.size() >= m_bufferBytes) {
        const QByteArray buffer = m_collected.left(m_bufferBytes);
        m_collected.remove(0, m_bufferBytes);
        m_onBuffer(buffer);
    }
}
