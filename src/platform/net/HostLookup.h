#pragma once

#include <QByteArray>
#include <optional>

// Host name and IPv4 address look-up. Addresses are in host byte order. A failed
// look-up is an empty optional, so it can never be mistaken for 255.255.255.255.

// The name parsed as a dotted IPv4 address, else the first IPv4 address of a DNS
// look-up; nothing for an empty or unknown name.
std::optional<quint32> ResolveHost(const QByteArray& name);

// The computer's host name; "localhost" when it cannot be read.
QByteArray LocalHostName();

// An IPv4 address of this computer that other systems can reach: the host name's
// address unless that is a loopback address, else the first non-loopback address of
// an interface that is up, else loopback when the computer has nothing else.
std::optional<quint32> LocalAddress();
