#pragma once

#include <QByteArray>

// What one request of ours is made of, kept by its transaction so that the ACK of a
// refused INVITE and a CANCEL repeat its Request-URI, Via, From, Call-ID, CSeq
// number and Route (RFC 3261 sections 9.1 and 17.1.1.3).
struct OutgoingRequest
{
    QByteArray method;
    QByteArray uri;
    QByteArray viaPrefix; // "Via: SIP/2.0/UDP host:port;rport;branch=z9hG4bK"
    QByteArray branchId;
    QByteArray fromLine; // ends in CR LF
    QByteArray toValue;
    QByteArray callId;
    quint32 cseq = 0;
    QByteArray routeLines; // each ends in CR LF

    // The request line, Via, From, To, Call-ID, CSeq, Max-Forwards and Route, then the
    // extra headers (each ending in CR LF), Content-Length and the body.
    QByteArray Text(const QByteArray& extraHeaders = {}, const QByteArray& body = {}) const;

    // The same transaction under another method (ACK, CANCEL).
    OutgoingRequest WithMethod(const QByteArray& otherMethod) const;
};
