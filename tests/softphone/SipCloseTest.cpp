#include "SipClientFixture.h"

using ClosingTheLine = SipClientFixture;

TEST_F(ClosingTheLine, PlainCloseRemovesTheRegistration)
{
    Register();
    m_client.Close();
    const QByteArray unregister = m_peer.Receive(1000);
    EXPECT_TRUE(unregister.startsWith("REGISTER ")) << unregister.left(80).constData();
    EXPECT_EQ(HeaderOf(unregister, "Expires"), "0");
    EXPECT_FALSE(m_client.IsOpen());
}

TEST_F(ClosingTheLine, KeepingTheRegistrationSendsNothing)
{
    Register();
    m_client.CloseKeepingRegistration();
    EXPECT_FALSE(m_client.IsOpen());
    EXPECT_FALSE(m_client.Registered());
    EXPECT_TRUE(m_peer.Receive(300).isEmpty());
}
