#include "platform/net/Ipv4Endpoint.h"

QByteArray Ipv4Endpoint::dotted(quint32 address)
{
    return QByteArray::number((address >> 24) & 0xFF) + '.' + QByteArray::number((address >> 16) & 0xFF) +
           '.' + QByteArray::number((address >> 8) & 0xFF) + '.' + QByteArray::number(address & 0xFF);
}

QByteArray Ipv4Endpoint::dottedAddress() const
{
    return dotted(address);
}
