#include "support/peers/BaresipPhone.h"

#include "support/WaitFor.h"
#include "support/peers/KamailioPbx.h"
#include "support/peers/LoopbackPorts.h"

#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtEndian>
#include <cmath>
#include <numbers>

namespace {

constexpr int sampleRate = 8000;
// aufile ends the call when its file ends: longer than any test's call.
constexpr int toneSeconds = 120;

// An 8 kHz 16-bit mono WAV file of a 440 Hz tone.
bool writeTone(const QString& path)
{
    QByteArray samples;
    samples.reserve(sampleRate * toneSeconds * 2);
    for (int i = 0; i < sampleRate * toneSeconds; ++i) {
        const auto sample = qToLittleEndian(
            static_cast<qint16>(8000.0 * std::sin(2.0 * std::numbers::pi * 440.0 * i / sampleRate)));
        samples.append(reinterpret_cast<const char*>(&sample), 2);
    }
    auto le32 = [](quint32 value) {
        const quint32 little = qToLittleEndian(value);
        return QByteArray(reinterpret_cast<const char*>(&little), 4);
    };
    auto le16 = [](quint16 value) {
        const quint16 little = qToLittleEndian(value);
        return QByteArray(reinterpret_cast<const char*>(&little), 2);
    };
    const QByteArray wav = "RIFF" + le32(36 + samples.size()) + "WAVEfmt " + le32(16) + le16(1) + le16(1) +
                           le32(sampleRate) + le32(sampleRate * 2) + le16(2) + le16(16) + "data" +
                           le32(samples.size()) + samples;
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(wav) == wav.size();
}

} // namespace

BaresipPhone::BaresipPhone(const QByteArray& user, const KamailioPbx& pbx) : m_user(user), m_pbx(pbx) {}

BaresipPhone::~BaresipPhone()
{
    Stop();
}

QByteArray BaresipPhone::Uri() const
{
    return m_pbx.UserUri(m_user);
}

bool BaresipPhone::Start()
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("baresip"));
    // The SIP port and the next one (baresip takes it for TLS), the control port and
    // ten ports for RTP and RTCP.
    const quint16 sipPort = LoopbackPorts::Free(2);
    const quint16 controlPort = LoopbackPorts::Free();
    const quint16 rtpPorts = LoopbackPorts::Free(10);
    if (program.isEmpty() || !sipPort || !controlPort || !rtpPorts || !m_folder.isValid() ||
        !writeConfiguration(sipPort, controlPort, rtpPorts)) {
        m_problem = QStringLiteral("baresip, free ports or its configuration folder are missing");
        return false;
    }
    if (!m_process.Start(program, {QStringLiteral("-f"), m_folder.path()},
                         m_folder.filePath(QStringLiteral("baresip.log"))) ||
        !m_control.Connect(controlPort)) {
        m_problem = QStringLiteral("baresip did not start:\n") + Report();
        Stop();
        return false;
    }
    // Registration is not announced to a connection opened after it: ask.
    if (!waitFor([this] { return !m_process.Running() || registered(); }, 10000) || !m_process.Running()) {
        m_problem = QStringLiteral("baresip did not register at the exchange:\n") + Report();
        Stop();
        return false;
    }
    return true;
}

void BaresipPhone::Stop()
{
    m_process.Stop();
}

bool BaresipPhone::writeConfiguration(quint16 sipPort, quint16 controlPort, quint16 rtpPorts)
{
    const QString tone = m_folder.filePath(QStringLiteral("tone.wav"));
    const QString address = QString::fromLatin1(m_pbx.Address());
    const QString config = QStringLiteral("poll_method epoll\n"
                                          "sip_listen %1:%2\n"
                                          "net_interface %1\n"
                                          "audio_source aufile,%3\n"
                                          "audio_player\n"
                                          "audio_alert\n"
                                          "rtp_ports %4-%5\n"
                                          "call_max_calls 1\n"
                                          "statmode_default off\n"
                                          "module_path /usr/lib/baresip/modules\n"
                                          "module g711.so\n"
                                          "module aufile.so\n"
                                          "module_app account.so\n"
                                          "module_app menu.so\n"
                                          "module_app ctrl_tcp.so\n"
                                          "ctrl_tcp_listen %1:%6\n")
                               .arg(address)
                               .arg(sipPort)
                               .arg(tone)
                               .arg(rtpPorts)
                               .arg(rtpPorts + 9)
                               .arg(controlPort);
    const QString account =
        QStringLiteral("<%1>;auth_pass=%2;outbound=\"sip:%3:%4\";regint=600;"
                       "answermode=manual;audio_codecs=PCMA\n")
            .arg(QString::fromLatin1(Uri()), QString::fromLatin1(m_pbx.Password()), address)
            .arg(m_pbx.Port());
    QFile configFile(m_folder.filePath(QStringLiteral("config")));
    QFile accountsFile(m_folder.filePath(QStringLiteral("accounts")));
    return writeTone(tone) && configFile.open(QIODevice::WriteOnly) &&
           configFile.write(config.toUtf8()) > 0 && accountsFile.open(QIODevice::WriteOnly) &&
           accountsFile.write(account.toUtf8()) > 0;
}

bool BaresipPhone::registered()
{
    QString info;
    // "> sip:200@127.0.0.1   OK  kamailio ... Expires 600s", the status in terminal colours.
    static const QRegularExpression colours(QStringLiteral("\x1b\\[[0-9;]*m"));
    static const QRegularExpression confirmed(QStringLiteral("\\bOK\\b"));
    return m_control.Command(QStringLiteral("reginfo"), {}, &info, 1000) &&
           info.remove(colours).contains(confirmed);
}

int BaresipPhone::ReceivedRtpPackets()
{
    QString statistics;
    if (!m_control.Command(QStringLiteral("audio_debug"), {}, &statistics))
        return -1;
    // "member 0x...: lost=0 Jitter=1.0ms RTT=0.2ms\n IP=...:port psent=250 rcvd=303"
    static const QRegularExpression received(QStringLiteral("rcvd=(\\d+)"));
    const QRegularExpressionMatch match = received.match(statistics);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

QString BaresipPhone::Report() const
{
    return QStringLiteral("--- baresip %1 events\n").arg(QString::fromLatin1(m_user)) + m_control.EventLog() +
           QStringLiteral("--- baresip log\n") + m_process.LogTail();
}
