#include "softphone/SipMessage.h"

namespace {

constexpr QByteArrayView keepAlive = "Cirpack KeepAlive Packet";
constexpr QByteArrayView contentLength = "Content-Length: ";

// Leading decimal digits; nothing when there are none or the value exceeds the limit.
std::optional<quint64> leadingNumber(QByteArrayView text, quint64 limit)
{
    quint64 value = 0;
    qsizetype digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        value = value * 10 + static_cast<quint64>(text[digits] - '0');
        if (value > limit)
            return std::nullopt;
        ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    return value;
}

QByteArray valueAt(const QByteArray& head, qsizetype start)
{
    while (start < head.size() && head[start] == ' ')
        ++start;
    qsizetype end = head.indexOf('\r', start);
    if (end < 0)
        end = head.size();
    return head.mid(start, end - start);
}

} // namespace

std::optional<SipMessage> SipMessage::Frame(const QByteArray& datagram)
{
    if (QByteArrayView(datagram).startsWith(keepAlive))
        return std::nullopt;
    const qsizetype blank = datagram.indexOf("\r\n\r\n");
    if (blank < 0)
        return std::nullopt;

    SipMessage message;
    message.m_head = datagram.left(blank + 2);
    const qsizetype lengthAt = message.m_head.indexOf(contentLength);
    if (lengthAt < 0)
        return std::nullopt;
    // Further blanks before the digits are allowed (RFC 3261 section 7.3.1 LWS);
    // some servers pad the number to a fixed width.
    qsizetype digitsAt = lengthAt + contentLength.size();
    while (digitsAt < message.m_head.size() &&
           (message.m_head[digitsAt] == ' ' || message.m_head[digitsAt] == '\t'))
        ++digitsAt;
    const std::optional<quint64> length =
        leadingNumber(QByteArrayView(message.m_head).sliced(digitsAt), 65535);
    if (!length)
        return std::nullopt;
    // The body starts after the blank line; up to three missing bytes are tolerated
    // because some servers count a trailing CR LF they do not send.
    const qsizetype bodyStart = blank + 4;
    if (static_cast<quint64>(datagram.size()) < static_cast<quint64>(blank + 1) + *length)
        return std::nullopt;
    message.m_body = datagram.mid(bodyStart, static_cast<qsizetype>(*length));
    message.m_datagram = datagram;
    return message;
}

QByteArray SipMessage::HeaderValue(QByteArrayView name) const
{
    const QByteArray needle = "\r\n" + name.toByteArray() + ':';
    const qsizetype at = m_head.indexOf(needle);
    if (at < 0)
        return {};
    return valueAt(m_head, at + needle.size());
}

QList<QByteArray> SipMessage::HeaderValues(QByteArrayView name) const
{
    const QByteArray needle = "\r\n" + name.toByteArray() + ':';
    QList<QByteArray> values;
    for (qsizetype at = m_head.indexOf(needle); at >= 0; at = m_head.indexOf(needle, at + needle.size()))
        values.append(valueAt(m_head, at + needle.size()));
    return values;
}

bool SipMessage::IsRequest(QByteArrayView method) const
{
    return m_datagram.size() > method.size() && QByteArrayView(m_datagram).startsWith(method) &&
           m_datagram[method.size()] == ' ';
}

std::optional<int> SipMessage::StatusCode() const
{
    if (!IsResponse())
        return std::nullopt;
    const std::optional<quint64> code = leadingNumber(QByteArrayView(m_datagram).sliced(8), 999);
    if (!code || *code < 100 || *code > 699)
        return std::nullopt;
    return static_cast<int>(*code);
}

QByteArray SipMessage::ReasonText() const
{
    qsizetype end = m_datagram.indexOf('\r');
    if (end < 0)
        end = m_datagram.size();
    return end > 8 ? m_datagram.mid(8, end - 8) : QByteArray();
}

QByteArray SipMessage::CSeqMethod() const
{
    const QByteArray cseq = HeaderValue("CSeq");
    const qsizetype space = cseq.indexOf(' ');
    return space < 0 ? QByteArray() : cseq.mid(space + 1).trimmed();
}

std::optional<quint32> SipMessage::CSeqNumber() const
{
    const std::optional<quint64> number = leadingNumber(HeaderValue("CSeq"), 0xFFFFFFFFu);
    if (!number)
        return std::nullopt;
    return static_cast<quint32>(*number);
}
