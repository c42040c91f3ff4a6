#include "../softphone/SoftphoneTestSupport.h"
#include "RealPeersFixture.h"

using RegistrationAtKamailio = RealPeersFixture;

TEST_F(RegistrationAtKamailio, AnswersTheDigestChallengeAndUnregisters)
{
    ASSERT_TRUE(m_line.Register(m_world.Pbx())) << report();
    EXPECT_TRUE(m_line.Sip().Registered());
    EXPECT_EQ(m_line.TakeWire(), "> REGISTER, < 401, > REGISTER, < 200") << report();

    // The exchange challenges the removal too.
    m_line.Sip().Disconnect();
    ASSERT_TRUE(m_line.WaitForState(TSIPClient::Disconnected)) << report();
    EXPECT_FALSE(m_line.Sip().Registered());
    EXPECT_EQ(m_line.TakeWire(), "> REGISTER, < 401, > REGISTER, < 200") << report();
}

TEST_F(RegistrationAtKamailio, TheExchangeNoLongerKnowsAnUnregisteredLine)
{
    ASSERT_TRUE(m_line.Register(m_world.Pbx())) << report();
    m_line.Sip().Disconnect();
    ASSERT_TRUE(m_line.WaitForState(TSIPClient::Disconnected)) << report();
    ASSERT_TRUE(telephone().Dial(m_world.Pbx().UserUri("101")));
    EXPECT_EQ(
        telephone().WaitForEvent(QStringLiteral("CALL_CLOSED")).value(QStringLiteral("param")).toString(),
        QStringLiteral("404 Not Found"))
        << report();
}
