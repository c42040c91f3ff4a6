#pragma once

#include "softphone/DigestChallenge.h"

#include <QByteArray>

// The Authorization (or Proxy-Authorization) line answering a Digest challenge with
// MD5 (RFC 2617 section 3.2.2). Without qop the response is MD5(HA1:nonce:HA2); when
// the challenge offers qop "auth" the line carries qop, nc and cnonce as well.
class DigestAuthorization
{
public:
    struct Request
    {
        QByteArray login;
        // A password written "{" + 32 hex digits + "}" is the precomputed HA1.
        QByteArray password;
        QByteArray method;
        QByteArray uri;
    };

    // HA1 := MD5(login:realm:password), or the braced HA1 given as the password.
    static QByteArray HA1(const QByteArray& login, const QByteArray& realm, const QByteArray& password);
    // request-digest of RFC 2617 section 3.2.2.1; qop empty means the RFC 2069 form.
    static QByteArray Response(const QByteArray& ha1, const QByteArray& nonce, const QByteArray& method,
                               const QByteArray& uri, const QByteArray& qop = {},
                               const QByteArray& nonceCount = {}, const QByteArray& cnonce = {});

    // The whole header line ending in CR LF; prefix is "Proxy-" after a 407.
    // cnonce is used only when the challenge asks for qop=auth.
    static QByteArray Line(const QByteArray& prefix, const DigestChallenge& challenge, const Request& request,
                           const QByteArray& cnonce);
};
