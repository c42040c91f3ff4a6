#pragma once

#include "softphone/DigestChallenge.h"

#include <QByteArray>
#include <QList>
#include <optional>

// The Authorization (or Proxy-Authorization) line answering a Digest challenge with
// MD5 (RFC 2617 section 3.2.2) or SHA-256 (RFC 7616 section 3.4). Without qop the
// response is H(HA1:nonce:HA2); when the challenge offers qop "auth" the line carries
// qop, nc and cnonce as well.
class DigestAuthorization
{
public:
    enum class Algorithm { Md5, Sha256 };

    struct Request
    {
        QByteArray login;
        // A password written "{" + 32 hex digits + "}" is the precomputed MD5 HA1.
        QByteArray password;
        QByteArray method;
        QByteArray uri;
    };

    // The algorithm a challenge names: MD5 when it names none; nothing for one we do
    // not support (the names are compared exactly, as the server wrote them).
    static std::optional<Algorithm> AlgorithmOf(const DigestChallenge& challenge);
    // Of several challenges (one per WWW-Authenticate or Proxy-Authenticate header)
    // the strongest we can answer: SHA-256 before MD5, except that a precomputed MD5
    // HA1 can answer only MD5. Nothing when none is usable.
    static std::optional<DigestChallenge> Choose(const QList<QByteArray>& headers,
                                                 const QByteArray& password);

    // HA1 := H(login:realm:password), or the braced HA1 given as the password (MD5).
    static QByteArray HA1(const QByteArray& login, const QByteArray& realm, const QByteArray& password,
                          Algorithm algorithm = Algorithm::Md5);
    // request-digest of RFC 2617 section 3.2.2.1; qop empty means the RFC 2069 form.
    static QByteArray Response(const QByteArray& ha1, const QByteArray& nonce, const QByteArray& method,
                               const QByteArray& uri, const QByteArray& qop = {},
                               const QByteArray& nonceCount = {}, const QByteArray& cnonce = {},
                               Algorithm algorithm = Algorithm::Md5);

    // The whole header line ending in CR LF; prefix is "Proxy-" after a 407.
    // cnonce is used only when the challenge asks for qop=auth. A challenge with an
    // unsupported algorithm is answered as MD5; Choose keeps those out.
    static QByteArray Line(const QByteArray& prefix, const DigestChallenge& challenge, const Request& request,
                           const QByteArray& cnonce);
};
