#pragma once

#include <QByteArray>
#include <QtGlobal>

// An IPv4 address and UDP port, both in host byte order.
struct Ipv4Endpoint
{
    quint32 address = 0;
    quint16 port = 0;

    bool operator==(const Ipv4Endpoint&) const = default;

    // Dotted quad of the address, e.g. "10.0.0.5".
    QByteArray dottedAddress() const;
    static QByteArray dotted(quint32 address);
};
