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

// True when the offer's first audio stream is active (port not 0) and lists payload
// type 8, the static PCMA type of RFC 3551: the only audio this phone sends and
// plays (an answer may only pick what the offer lists, RFC 3264 section 6).
bool OffersPcma(const QByteArray& sdp);
