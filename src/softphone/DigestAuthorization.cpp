#include "softphone/DigestAuthorization.h"

#include <QCryptographicHash>

namespace {

using Algorithm = DigestAuthorization::Algorithm;

QByteArray hashHex(const QByteArray& text, Algorithm algorithm)
{
    return QCryptographicHash::hash(text, algorithm == Algorithm::Sha256 ? QCryptographicHash::Sha256
                                                                         : QCryptographicHash::Md5)
        .toHex();
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

bool isPrecomputedHa1(const QByteArray& password)
{
    return password.size() == 34 && password.startsWith('{') && password.endsWith('}');
}

} // namespace

std::optional<Algorithm> DigestAuthorization::AlgorithmOf(const DigestChallenge& challenge)
{
    if (!challenge.HasParameter("algorithm"))
        return Algorithm::Md5;
    const QByteArray name = challenge.Parameter("algorithm");
    if (name == "MD5")
        return Algorithm::Md5;
    if (name == "SHA-256")
        return Algorithm::Sha256;
    return std::nullopt;
}

std::optional<DigestChallenge> DigestAuthorization::Choose(const QList<QByteArray>& headers,
                                                           const QByteArray& password)
{
    std::optional<DigestChallenge> md5;
    for (const QByteArray& header : headers) {
        const std::optional<DigestChallenge> challenge = DigestChallenge::Parse(header);
        if (!challenge)
            continue;
        const std::optional<Algorithm> algorithm = AlgorithmOf(*challenge);
        if (algorithm == Algorithm::Sha256 && !isPrecomputedHa1(password))
            return challenge;
        if (algorithm == Algorithm::Md5 && !md5)
            md5 = challenge;
    }
    return md5;
}

QByteArray DigestAuthorization::HA1(const QByteArray& login, const QByteArray& realm,
                                    const QByteArray& password, Algorithm algorithm)
{
    if (algorithm == Algorithm::Md5 && isPrecomputedHa1(password))
        return password.mid(1, 32);
    return hashHex(login + ':' + realm + ':' + password, algorithm);
}

QByteArray DigestAuthorization::Response(const QByteArray& ha1, const QByteArray& nonce,
                                         const QByteArray& method, const QByteArray& uri,
                                         const QByteArray& qop, const QByteArray& nonceCount,
                                         const QByteArray& cnonce, Algorithm algorithm)
{
    const QByteArray ha2 = hashHex(method + ':' + uri, algorithm);
    if (qop.isEmpty())
        return hashHex(ha1 + ':' + nonce + ':' + ha2, algorithm);
    return hashHex(ha1 + ':' + nonce + ':' + nonceCount + ':' + cnonce + ':' + qop + ':' + ha2, algorithm);
}

QByteArray DigestAuthorization::Line(const QByteArray& prefix, const DigestChallenge& challenge,
                                     const Request& request, const QByteArray& cnonce)
{
    const Algorithm algorithm = AlgorithmOf(challenge).value_or(Algorithm::Md5);
    const QByteArray realm = challenge.Parameter("realm");
    const QByteArray nonce = challenge.Parameter("nonce");
    const bool withQop = offersAuthQop(challenge.Parameter("qop"));
    static const QByteArray firstNonceCount = "00000001";

    const QByteArray ha1 = HA1(request.login, realm, request.password, algorithm);
    const QByteArray response =
        withQop
            ? Response(ha1, nonce, request.method, request.uri, "auth", firstNonceCount, cnonce, algorithm)
            : Response(ha1, nonce, request.method, request.uri, {}, {}, {}, algorithm);

    QByteArray line = prefix + "Authorization: Digest username=" + quoted(request.login) +
                      ",realm=" + quoted(realm) + ",nonce=" + quoted(nonce) +
                      ",response=" + quoted(response) + ",uri=" + quoted(request.uri) +
                      ",algorithm=" + (algorithm == Algorithm::Sha256 ? "SHA-256" : "MD5") +
                      ",opaque=" + quoted(challenge.Parameter("opaque"));
    if (withQop)
        line += ",qop=auth,nc=" + firstNonceCount + ",cnonce=" + quoted(cnonce);
    return line + "\r\n";
}
