#include "support/peers/KamailioPbx.h"

#include "platform/net/UdpSocket.h"
#include "support/WaitFor.h"
#include "support/peers/LoopbackPorts.h"

#include <QFile>
#include <QStandardPaths>

KamailioPbx::KamailioPbx(const QByteArray& password) : m_password(password) {}

KamailioPbx::~KamailioPbx()
{
    Stop();
}

bool KamailioPbx::Start()
{
    const QString program = QStandardPaths::findExecutable(
        QStringLiteral("kamailio"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin")});
    // A restart keeps its port: the phones registered there are to find it again.
    if (m_port == 0)
        m_port = LoopbackPorts::Free();
    QFile::remove(m_folder.filePath(QStringLiteral("kamailio.pid")));
    if (program.isEmpty() || m_port == 0 || !m_folder.isValid()) {
        m_problem = QStringLiteral("kamailio, a free port or a temporary folder is missing");
        return false;
    }
    // Runtime folder, PID file and working folder of its own: a stale instance with the
    // same PID file would refuse to start.
    const QStringList arguments{
        QStringLiteral("-f"),  QStringLiteral(TAXI_PEERS_DIR "/kamailio.cfg"),
        QStringLiteral("-A"),  QStringLiteral("PBX_PASSWORD=\"%1\"").arg(QString::fromLatin1(m_password)),
        QStringLiteral("-l"),  QStringLiteral("udp:%1:%2").arg(QString::fromLatin1(Address())).arg(m_port),
        QStringLiteral("-DD"), QStringLiteral("-E"),
        QStringLiteral("-Y"),  m_folder.path(),
        QStringLiteral("-P"),  m_folder.filePath(QStringLiteral("kamailio.pid")),
        QStringLiteral("-w"),  m_folder.path(),
        QStringLiteral("-m"),  QStringLiteral("32"),
        QStringLiteral("-M"),  QStringLiteral("4")};
    if (!m_process.Start(program, arguments, m_folder.filePath(QStringLiteral("kamailio.log")))) {
        m_problem = QStringLiteral("kamailio did not start");
        return false;
    }
    if (!waitFor([this] { return !m_process.Running() || answersOptions(); }, 10000) ||
        !m_process.Running()) {
        m_problem = QStringLiteral("kamailio did not come up:\n") + Log();
        Stop();
        return false;
    }
    return true;
}

void KamailioPbx::Stop()
{
    m_process.Stop();
}

bool KamailioPbx::answersOptions()
{
    UdpSocket socket;
    if (!socket.open() || !socket.bind(0))
        return false;
    QByteArray options = "OPTIONS sip:127.0.0.1:@PBX@ SIP/2.0\r\n"
                         "Via: SIP/2.0/UDP 127.0.0.1:@LOCAL@;branch=z9hG4bKready@LOCAL@\r\n"
                         "From: <sip:ready@127.0.0.1>;tag=ready\r\n"
                         "To: <sip:127.0.0.1>\r\n"
                         "Call-ID: ready-@LOCAL@\r\n"
                         "CSeq: 1 OPTIONS\r\n"
                         "Max-Forwards: 70\r\n"
                         "Content-Length: 0\r\n\r\n";
    options.replace("@PBX@", QByteArray::number(m_port))
        .replace("@LOCAL@", QByteArray::number(socket.localPort()));
    socket.sendTo({0x7F000001, m_port}, options.constData(), options.size());
    if (!socket.waitReadable(200))
        return false;
    char reply[2048];
    Ipv4Endpoint from;
    const long got = socket.receive(reply, sizeof reply, from);
    return got > 0 && QByteArray(reply, got).startsWith("SIP/2.0 200");
}
