#pragma once

#include <QByteArray>
#include <QList>

// The proxies a dialog's requests pass through (RFC 3261 section 12.1): the
// Record-Route entries of the request that set the dialog up (as a callee) or of its
// answer in reverse order (as a caller).
class RouteSet
{
public:
    RouteSet() = default;
    // recordRoute: the values of every Record-Route header, in message order.
    static RouteSet ForCallee(const QList<QByteArray>& recordRoute);
    static RouteSet ForCaller(const QList<QByteArray>& recordRoute);

    bool IsEmpty() const { return m_routes.isEmpty(); }
    const QList<QByteArray>& Routes() const { return m_routes; }

    // Request-URI and Route lines of a request to the remote target (section
    // 12.2.1.1): with a loose router first the target stays the Request-URI; a strict
    // router takes the Request-URI itself and the target goes last in the Route.
    QByteArray RequestUri(const QByteArray& remoteTarget) const;
    QByteArray RouteLines(const QByteArray& remoteTarget) const;

private:
    bool firstIsStrict() const;

    QList<QByteArray> m_routes; // name-addr entries, "<sip:...;lr>"
};
