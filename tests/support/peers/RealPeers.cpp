#include "support/peers/RealPeers.h"

#include <QStandardPaths>

QString RealPeers::Unavailable(const QStringList& programs)
{
    for (const QString& program : programs)
        if (QStandardPaths::findExecutable(program).isEmpty() &&
            QStandardPaths::findExecutable(program, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")})
                .isEmpty())
            return program + QStringLiteral(" is not installed: tests against it not run");
    if (qEnvironmentVariable("TAXI_LOOPBACK_NAMESPACE") != QStringLiteral("inside"))
        return QStringLiteral(
            "not inside a loopback-only network namespace (run through "
            "tests/support/peers/in-loopback-namespace.sh): tests against real peers not run");
    return {};
}

bool RealPeers::Required()
{
    return qEnvironmentVariable("CI") == QStringLiteral("true");
}
