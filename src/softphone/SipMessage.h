#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <optional>

// One received SIP message framed from one datagram (no reassembly: RFC 3261
// section 18.3 lets a UDP datagram carry exactly one message). Header names are
// matched with their exact case; the compact forms are not recognised.
class SipMessage
{
public:
    // The message, or nothing for a keep-alive datagram or one that cannot be framed:
    // no blank line, no "Content-Length: " header, a length that does not fit the
    // datagram (a body up to three bytes short of its length is still taken).
    static std::optional<SipMessage> Frame(const QByteArray& datagram);

    const QByteArray& Datagram() const { return m_datagram; }
    // From the first byte through the CR LF that ends the last header line.
    const QByteArray& Head() const { return m_head; }
    const QByteArray& Body() const { return m_body; }

    // Value of the first header line with this name: spaces after the colon skipped,
    // up to the end of the line. Empty when absent.
    QByteArray HeaderValue(QByteArrayView name) const;
    // Values of every header line with this name, in order (used to echo all Vias).
    QList<QByteArray> HeaderValues(QByteArrayView name) const;

    bool IsResponse() const { return m_datagram.startsWith("SIP/2.0 "); }
    // True for a request of this method ("INVITE" matches "INVITE ...").
    bool IsRequest(QByteArrayView method) const;
    // Status code of a response, or nothing for a bad status line or a code outside
    // 100..699.
    std::optional<int> StatusCode() const;
    // The status line from its 9th character to the end of the line.
    QByteArray ReasonText() const;

    QByteArray CSeqMethod() const;
    std::optional<quint32> CSeqNumber() const;

private:
    QByteArray m_datagram;
    QByteArray m_head;
    QByteArray m_body;
};
