#include "orders/intake/CallerNumber.h"

#include <QByteArray>

namespace {
const QString Masked = QStringLiteral("**********");

// The user part of a SIP or tel address: the text before the first "@" after the
// scheme, without user parameters (RFC 3966 section 3 puts ";phone-context=" and the
// like after the number) and with escapes decoded, since RFC 3261 section 19.1.2 makes
// a sender escape "#" as "%23".
QString userPart(const QString& address)
{
    QString text = address.left(address.indexOf(QLatin1Char('@')));
    // RFC 3261 section 19.1.4: the scheme is compared without regard to case.
    const int scheme = text.indexOf(QLatin1String("sip:"), 0, Qt::CaseInsensitive);
    if (scheme >= 0)
        text = text.mid(scheme + 4);
    const int parameters = text.indexOf(QLatin1Char(';'));
    if (parameters >= 0)
        text.truncate(parameters);
    return QString::fromUtf8(QByteArray::fromPercentEncoding(text.trimmed().toUtf8()));
}
} // namespace

QString CallerNumber::telephoneCharacters(const QString& text)
{
    QString kept;
    for (const QChar c : text) {
        if (kept.size() == MaxLength)
            break;
        const char16_t u = c.unicode();
        if ((u >= u'0' && u <= u'9') || u == u'+' || u == u'*' || u == u'#')
            kept.append(c);
    }
    return kept;
}

CallerNumber CallerNumber::fromCallerId(const QString& callerId, const QString& cityCode,
                                        const QString& digitsToDelete)
{
    CallerNumber caller;
    caller.fullAddress = callerId;
    caller.withPrefix = telephoneCharacters(userPart(callerId));

    const QString code = cityCode.trimmed();
    if (!code.isEmpty() && caller.withPrefix.contains(code)) {
        caller.withoutDigits = Masked;
        caller.withoutCode = caller.withPrefix.mid(code.size());
        caller.normalised = caller.withoutCode;
        return caller;
    }

    bool readable = false;
    const int count = digitsToDelete.trimmed().toInt(&readable);
    QString number = caller.withPrefix;
    if (readable && count > 0 && number.startsWith(QLatin1Char('+')))
        number.remove(0, count);
    caller.withoutDigits = number;
    caller.withoutCode = Masked;
    caller.normalised = number;
    return caller;
}
