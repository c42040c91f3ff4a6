#pragma once

#include "platform/net/Ipv4Endpoint.h"

#include <QByteArray>
#include <optional>

// The MAPPED-ADDRESS of a STUN Binding Response (RFC 3489 section 11.2.1) to our
// Binding Request. Every length is checked against the datagram and attributes are
// stepped over by their length padded to four bytes (RFC 5389 section 15).
class StunBindingResponse
{
public:
    // The 20-byte Binding Request with this 16-byte transaction id.
    static QByteArray Request(const QByteArray& transactionId);
    // The mapped IPv4 address and port, or nothing when the datagram is not a
    // well-formed Binding Response to this transaction with an IPv4 MAPPED-ADDRESS.
    static std::optional<Ipv4Endpoint> MappedAddress(const QByteArray& datagram,
                                                     const QByteArray& transactionId);
};
