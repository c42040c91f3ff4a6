#include "RealPeersFixture.h"

#include "support/peers/RealPeers.h"

void RealPeersFixture::SetUp()
{
    TAXI_REQUIRE_REAL_PEERS(PbxAndTelephone::Programs());
    ASSERT_TRUE(m_world.Start()) << m_world.Problem().toStdString();
}

std::string RealPeersFixture::report() const
{
    return (m_world.Report() + QStringLiteral("--- dispatcher's line\n") + m_line.Trace()).toStdString();
}
