#include "softphone/DigestAuthorization.h"

#include <QCryptographicHash>

namespace {

QByteArray md5Hex(const QByteArray& text)
{
    return QCryptographicHash::hash(text, QCryptographicHash::Md5).toHex();
}

QByteArray quoted(const QByteArray& value)
{
    return '"' + value + '"';
}

bool offersAuthQop(const QByteArray& qopOptions)
{
    for (const QByteArray& option : qopOptions.split(','))
        if (option.trimmed() == "auth")
            return true;
    return false;
}

} // namespace

QByteArray DigestAuthorization::HA1(const QByteArray& login, const QByteArray& realm,
                                    const QByteArray& password)
{
    if (password.size() == 34 && password.startsWith('{') && password.endsWith('}'))
        return password.mid(1, 32);
    return md5Hex(login + ':' + realm + ':' + password);
}

QByteArray DigestAuthorization::Response(const QByteArray& ha1, const QByteArray& nonce,
                                         const QByteArray& method, const QByteArray& uri,
                                         const QByteArray& qop, const QByteArray& nonceCount,
                                         const QByteArray& cnonce)
{
    const QByteArray ha2 = md5Hex(method + ':' + uri);
    if (qop.isEmpty())
        return md5Hex(ha1 + ':' + nonce + ':' + ha2);
    return md5Hex(ha1 + ':' + nonce + ':' + nonceCount + ':' + cnonce + ':' + qop + ':' + ha2);
}

QByteArray DigestAuthorization::Line(const QByteArray& prefix, const DigestChallenge& challenge,
                                     const Request& request, const QByteArray& cnonce)
{
    const QByteArray realm = challenge.Parameter("realm");
    const QByteArray nonce = challenge.Parameter("nonce");
    const bool withQop = offersAuthQop(challenge.Parameter("qop"));
    static const QByteArray firstNonceCount = "00000001";

    const QByteArray ha1 = HA1(request.login, realm, request.password);
    const QByteArray response =
        withQop ? Response(ha1, nonce, request.method, request.uri, "auth", firstNonceCount, cnonce)
                : Response(ha1, nonce, request.method, request.uri);

    QByteArray line = prefix + "Authorization: Digest username=" + quoted(request.login) +
                      ",realm=" + quoted(realm) + ",nonce=" + quoted(nonce) +
                      ",response=" + quoted(response) + ",uri=" + quoted(request.uri) +
                      ",algorithm=MD5,opaque=" + quoted(challenge.Parameter("opaque"));
    if (withQop)
        line += ",qop=auth,nc=" + firstNonceCount + ",cnonce=" + quoted(cnonce);
    return line + "\r\n";
}
