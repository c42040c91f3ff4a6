#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPair>
#include <optional>

// A WWW-Authenticate or Proxy-Authenticate challenge read by a tokenizer
// (RFC 7235 section 2.1: auth-scheme, then comma-separated name=token or
// name=quoted-string pairs), so "realm" inside another value is never mistaken for
// the parameter.
class DigestChallenge
{
public:
    // The parameters of a "Digest" challenge; nothing for another scheme or a
    // malformed parameter list.
    static std::optional<DigestChallenge> Parse(QByteArrayView header);

    // The value of a parameter (name compared without regard to case, RFC 7616
    // section 3.3); empty when absent.
    QByteArray Parameter(QByteArrayView name) const;
    bool HasParameter(QByteArrayView name) const;

private:
    QList<QPair<QByteArray, QByteArray>> m_parameters;
};
