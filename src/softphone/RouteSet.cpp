#include "softphone/RouteSet.h"

#include "softphone/SipNameAddr.h"

#include <algorithm>

RouteSet RouteSet::ForCallee(const QList<QByteArray>& recordRoute)
{
    RouteSet routes;
    routes.m_routes = SipNameAddr::Entries(recordRoute);
    return routes;
}

RouteSet RouteSet::ForCaller(const QList<QByteArray>& recordRoute)
{
    RouteSet routes = ForCallee(recordRoute);
    std::reverse(routes.m_routes.begin(), routes.m_routes.end());
    return routes;
}

bool RouteSet::firstIsStrict() const
{
    if (m_routes.isEmpty())
        return false;
    const QByteArray uri = SipNameAddr::Uri(m_routes.first());
    for (const QByteArray& parameter : uri.split(';').mid(1))
        if (parameter.trimmed().toLower() == "lr" || parameter.trimmed().toLower().startsWith("lr="))
            return false;
    return true;
}

QByteArray RouteSet::RequestUri(const QByteArray& remoteTarget) const
{
    if (!firstIsStrict())
        return remoteTarget;
    return SipNameAddr::Uri(m_routes.first());
}

QByteArray RouteSet::RouteLines(const QByteArray& remoteTarget) const
{
    QByteArray lines;
    const qsizetype first = firstIsStrict() ? 1 : 0;
    for (qsizetype i = first; i < m_routes.size(); ++i)
        lines += "Route: " + m_routes[i] + "\r\n";
    if (first == 1)
        lines += "Route: <" + remoteTarget + ">\r\n";
    return lines;
}
