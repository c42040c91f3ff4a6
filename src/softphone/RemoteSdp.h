#pragma once

#include <QByteArray>
#include <optional>

// Where the other side wants its audio, read from its SDP (RFC 4566) line by line;
// lines end in CR LF or LF. A media-level "c=" line overrides the session-level one.
struct RemoteSdp
{
    QByteArray address; // dotted IPv4
    quint16 port = 0;

    // Nothing unless there is an IPv4 connection address (not 0.0.0.0, which means
    // "on hold") and an audio port from 1 to 65535.
    static std::optional<RemoteSdp> Parse(const QByteArray& sdp);
};
