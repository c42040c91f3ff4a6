#include "softphone/StunBindingResponse.h"

#include <QtEndian>

namespace {
constexpr quint16 bindingRequest = 0x0001;
constexpr quint16 bindingResponse = 0x0101;
constexpr quint16 mappedAddress = 0x0001;
constexpr qsizetype headerSize = 20;
} // namespace

QByteArray StunBindingResponse::Request(const QByteArray& transactionId)
{
    QByteArray request(4, '\0');
    qToBigEndian<quint16>(bindingRequest, request.data());
    return request + transactionId.left(16);
}

std::optional<Ipv4Endpoint> StunBindingResponse::MappedAddress(const QByteArray& datagram,
                                                               const QByteArray& transactionId)
{
    const auto* bytes = reinterpret_cast<const uchar*>(datagram.constData());
    if (datagram.size() < headerSize || transactionId.size() != 16 || datagram.mid(4, 16) != transactionId)
        return std::nullopt;
    if (qFromBigEndian<quint16>(bytes) != bindingResponse)
        return std::nullopt;
    const qsizetype length = qFromBigEndian<quint16>(bytes + 2);
    if (length < 5 || datagram.size() < headerSize + length)
        return std::nullopt;

    const qsizetype end = headerSize + length;
    qsizetype at = headerSize;
    while (end - at > 4) {
        const quint16 type = qFromBigEndian<quint16>(bytes + at);
        const qsizetype valueLength = qFromBigEndian<quint16>(bytes + at + 2);
        const qsizetype value = at + 4;
        if (value + valueLength > end)
            return std::nullopt;
        if (type == mappedAddress && valueLength == 8 && qFromBigEndian<quint16>(bytes + value) == 0x0001)
            return Ipv4Endpoint{qFromBigEndian<quint32>(bytes + value + 4),
                                qFromBigEndian<quint16>(bytes + value + 2)};
        at = value + ((valueLength + 3) & ~qsizetype(3));
    }
    return std::nullopt;
}
