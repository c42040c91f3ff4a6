#pragma once

#include "support/peers/BaresipPhone.h"
#include "support/peers/KamailioPbx.h"

#include <QStringList>
#include <memory>
#include <vector>

// A telephone exchange (Kamailio) with a telephone (baresip) registered at it, both on
// loopback ports of their own: the world a dispatcher's line lives in. Tests put it in
// their fixture, check TAXI_REQUIRE_REAL_PEERS(PbxAndTelephone::Programs()) first and
// run inside in-loopback-namespace.sh.
class PbxAndTelephone
{
public:
    explicit PbxAndTelephone(const QByteArray& telephoneUser = "200");
    ~PbxAndTelephone();

    static QStringList Programs() { return {QStringLiteral("kamailio"), QStringLiteral("baresip")}; }

    // Starts the exchange and the telephone; false with the reason in Problem().
    bool Start();
    // The telephones first, then the exchange.
    void Stop();

    KamailioPbx& Pbx() { return m_pbx; }
    BaresipPhone& Telephone() { return *m_telephones.front(); }
    // Another telephone registered at the same exchange, or null (see Problem()).
    BaresipPhone* AddTelephone(const QByteArray& user);

    const QString& Problem() const { return m_problem; }
    // The telephones' events and the logs, for a failure message.
    QString Report() const;

private:
    KamailioPbx m_pbx;
    std::vector<std::unique_ptr<BaresipPhone>> m_telephones;
    QString m_problem;
};
