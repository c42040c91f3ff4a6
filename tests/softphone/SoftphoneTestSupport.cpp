#include "SoftphoneTestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// The softphone runs on a Qt event loop; one application object serves every test.
class QtApplicationEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "test_softphone";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            m_app = new QCoreApplication(argc, argv);
    }

private:
    QCoreApplication* m_app = nullptr;
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

} // namespace

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

void PumpEvents(int milliseconds)
{
    WaitUntil([] { return false; }, milliseconds);
}

LoopbackPeer::LoopbackPeer()
{
    m_socket.open();
    m_socket.bind(0);
    m_port = m_socket.localPort();
}

LoopbackPeer::LoopbackPeer(quint16 port)
{
    m_socket.open();
    m_socket.bind(port);
    m_port = m_socket.localPort();
}

QByteArray LoopbackPeer::Receive(int timeoutMs)
{
    QByteArray datagram;
    WaitUntil(
        [&] {
            if (!m_socket.waitReadable(0))
                return false;
            QByteArray buffer(65535, '\0');
            const long got = m_socket.receive(buffer.data(), buffer.size(), m_lastSender);
            if (got < 0)
                return false;
            datagram = buffer.left(got);
            return true;
        },
        timeoutMs);
    return datagram;
}

void LoopbackPeer::Send(const QByteArray& datagram, quint16 toPort)
{
    m_socket.sendTo({0x7F000001, toPort}, datagram.constData(), datagram.size());
}

quint16 FreeUdpPort()
{
    UdpSocket probe;
    probe.open();
    probe.bind(0);
    return probe.localPort();
}

bool UdpPortIsTaken(quint16 port)
{
    // Each line of /proc/net/udp{,6} after the title: "sl local_address:PORT rem_address ...",
    // the port in four upper-case hex digits.
    const QByteArray wanted = ':' + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    for (const char* table : {"/proc/net/udp", "/proc/net/udp6"}) {
        QFile file(QString::fromLatin1(table));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        file.readLine();
        while (!file.atEnd()) {
            const QList<QByteArray> fields = file.readLine().simplified().split(' ');
            if (fields.size() > 1 && fields[1].endsWith(wanted))
                return true;
        }
    }
    return false;
}

quint16 FreeUdpPortPair()
{
    for (;;) {
        const quint16 port = FreeUdpPort() & 0xFFFE;
        UdpSocket first;
        UdpSocket second;
        if (port > 1024 && first.open() && first.bind(port) && second.open() && second.bind(port + 1))
            return port;
    }
}

QByteArray HeaderOf(const QByteArray& message, const QByteArray& name)
{
    const QByteArray needle = "\r\n" + name + ": ";
    const qsizetype at = message.indexOf(needle);
    if (at < 0)
        return {};
    const qsizetype start = at + needle.size();
    return message.mid(start, message.indexOf("\r\n", start) - start);
}

bool MatchesTemplate(const QByteArray& message, const QByteArray& pattern)
{
    QString expression = QRegularExpression::escape(QString::fromLatin1(pattern));
    expression.replace(QStringLiteral("\\<HEX\\>"), QStringLiteral("[0-9A-F]{32}"));
    expression.replace(QStringLiteral("\\<N\\>"), QStringLiteral("[0-9]+"));
    const QRegularExpression regex(QRegularExpression::anchoredPattern(expression),
                                   QRegularExpression::DotMatchesEverythingOption);
    return regex.match(QString::fromLatin1(message)).hasMatch();
}

QByteArray ResponseTo(const QByteArray& request, const QByteArray& status, const QByteArray& extraHeaders,
                      const QByteArray& body)
{
    QByteArray response = "SIP/2.0 " + status + "\r\n";
    for (const QByteArray& line : request.left(request.indexOf("\r\n\r\n")).split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.startsWith("Via:") || trimmed.startsWith("From:") || trimmed.startsWith("To:") ||
            trimmed.startsWith("Call-ID:") || trimmed.startsWith("CSeq:"))
            response += trimmed + "\r\n";
    }
    return response + extraHeaders + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}
