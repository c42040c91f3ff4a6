#include "softphone/SessionTimerAnswer.h"

#include "softphone/SipNameAddr.h"

namespace {

bool supportsTimer(const SipMessage& request)
{
    for (const QByteArray& value : request.HeaderValues("Supported"))
        for (const QByteArray& option : value.split(','))
            if (option.trimmed().toLower() == "timer")
                return true;
    return false;
}

} // namespace

QByteArray SessionTimerAnswer(const SipMessage& request)
{
    const QByteArray expires = request.HeaderValue("Session-Expires");
    const qsizetype semicolon = expires.indexOf(';');
    const QByteArray interval = (semicolon < 0 ? expires : expires.left(semicolon)).trimmed();
    bool isNumber = false;
    interval.toUInt(&isNumber);
    if (!isNumber)
        return {};
    const QByteArray refresher = SipNameAddr::Parameter(expires, "refresher").toLower();
    if (refresher == "uas" || (refresher.isEmpty() && !supportsTimer(request)))
        return {};
    return "Session-Expires: " + interval + ";refresher=uac\r\nRequire: timer\r\n";
}
