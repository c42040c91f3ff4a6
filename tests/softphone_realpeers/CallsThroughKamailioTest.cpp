#include "../softphone/SoftphoneTestSupport.h"
#include "RealPeersFixture.h"

namespace {

QString closedReason(BaresipPhone& telephone)
{
    return telephone.WaitForEvent(QStringLiteral("CALL_CLOSED")).value(QStringLiteral("param")).toString();
}

} // namespace

// Calls between the dispatcher's line and baresip, both registered at Kamailio, which
// record-routes every call. After each call the line must take the next one.
class CallsThroughKamailio : public RealPeersFixture
{
protected:
    void SetUp() override
    {
        RealPeersFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_TRUE(m_line.Register(m_world.Pbx())) << report();
        m_line.Sip().SetAcceptIncoming(true);
        m_line.TakeWire();
        m_line.TakeStates();
    }

    // baresip calls the line; the line answers and both hear each other.
    void takeCallFromTelephone()
    {
        ASSERT_TRUE(telephone().Dial(m_world.Pbx().UserUri("101")));
        ASSERT_TRUE(m_line.WaitForState(TSIPClient::Incoming)) << report();
        m_line.Sip().Answer();
        ASSERT_FALSE(telephone().WaitForEvent(QStringLiteral("CALL_ESTABLISHED")).isEmpty()) << report();
        expectAudioBothWays();
    }

    // The line calls baresip, which answers; both hear each other.
    void callTelephone()
    {
        m_line.Sip().Call("200");
        ASSERT_FALSE(telephone().WaitForEvent(QStringLiteral("CALL_INCOMING")).isEmpty()) << report();
        ASSERT_TRUE(telephone().Accept());
        ASSERT_TRUE(m_line.WaitForState(TSIPClient::Connected)) << report();
        expectAudioBothWays();
    }

    // Half a second of the tone reaches the headset, and baresip receives the line's RTP.
    void expectAudioBothWays()
    {
        const qint64 before = m_line.PlayedBytes();
        EXPECT_TRUE(WaitUntil([&] { return m_line.PlayedBytes() - before >= 8000; }, 5000))
            << "played " << m_line.PlayedBytes() - before << "\n"
            << report();
        EXPECT_TRUE(WaitUntil([&] { return telephone().ReceivedRtpPackets() >= 10; }, 5000)) << report();
    }

    // The line hangs up a connected call and is ready again.
    void hangUpFromLine()
    {
        m_line.Sip().Hangup();
        EXPECT_FALSE(closedReason(telephone()).isEmpty()) << report();
        EXPECT_TRUE(m_line.WaitForState(TSIPClient::Ready)) << report();
    }
};

TEST_F(CallsThroughKamailio, TelephoneCallsTheLineWhichAnswersThenTheTelephoneHangsUp)
{
    takeCallFromTelephone();
    ASSERT_TRUE(telephone().Hangup());
    ASSERT_TRUE(m_line.WaitForState(TSIPClient::RemoteHungUp)) << report();
    EXPECT_EQ(m_line.CallEnds(), 1);
    EXPECT_EQ(m_line.TakeWire(), "< INVITE, > 180, > 200, < ACK, < BYE, > 200") << report();
    EXPECT_EQ(m_line.TakeStates(), (std::vector<int>{15, 17, 12, 14}));
    EXPECT_EQ(m_line.Sip().SessionCount(), 0);

    takeCallFromTelephone();
    hangUpFromLine();
    EXPECT_EQ(m_line.CallEnds(), 2);
}

TEST_F(CallsThroughKamailio, LineCallsTheTelephoneWhichAnswersThenTheLineHangsUp)
{
    callTelephone();
    hangUpFromLine();
    EXPECT_EQ(m_line.CallEnds(), 1);
    // The exchange asks the caller to authenticate the INVITE first.
    EXPECT_EQ(m_line.TakeWire(), "> INVITE, < 407, > ACK, > INVITE, < 100, < 180, < 200, > ACK, > BYE, < 200")
        << report();

    callTelephone();
    ASSERT_TRUE(telephone().Hangup());
    EXPECT_TRUE(m_line.WaitForState(TSIPClient::RemoteHungUp)) << report();
    EXPECT_EQ(m_line.CallEnds(), 2);
}

TEST_F(CallsThroughKamailio, WrongNumberIsRefusedByTheExchangeAndTheLineTakesTheNextCall)
{
    m_line.Sip().Call("999");
    ASSERT_TRUE(WaitUntil([this] { return m_line.CallEnds() == 1; }, 10000)) << report();
    EXPECT_TRUE(m_line.Sip().LastReason().startsWith("404")) << m_line.Sip().LastReason().constData();
    EXPECT_EQ(m_line.TakeWire(), "> INVITE, < 407, > ACK, > INVITE, < 404, > ACK") << report();
    EXPECT_EQ(m_line.Sip().State(), TSIPClient::CallFailed);
    PumpEvents(300);
    EXPECT_EQ(m_line.CallEnds(), 1);

    callTelephone();
    hangUpFromLine();
}

TEST_F(CallsThroughKamailio, BusyTelephoneAndTheLineTakesTheNextCall)
{
    BaresipPhone* other = m_world.AddTelephone("300");
    ASSERT_NE(other, nullptr) << m_world.Problem().toStdString();
    ASSERT_TRUE(other->Dial(telephone().Uri()));
    ASSERT_FALSE(telephone().WaitForEvent(QStringLiteral("CALL_INCOMING")).isEmpty()) << report();
    ASSERT_TRUE(telephone().Accept());
    ASSERT_FALSE(other->WaitForEvent(QStringLiteral("CALL_ESTABLISHED")).isEmpty()) << report();

    m_line.Sip().Call("200");
    ASSERT_TRUE(WaitUntil([this] { return m_line.CallEnds() == 1; }, 10000)) << report();
    EXPECT_TRUE(m_line.Sip().LastReason().startsWith("486")) << m_line.Sip().LastReason().constData();
    EXPECT_EQ(m_line.TakeWire(), "> INVITE, < 407, > ACK, > INVITE, < 100, < 486, > ACK") << report();
    EXPECT_EQ(m_line.Sip().State(), TSIPClient::Unavailable);

    ASSERT_TRUE(other->Hangup());
    ASSERT_FALSE(closedReason(telephone()).isEmpty());
    callTelephone();
    hangUpFromLine();
}

TEST_F(CallsThroughKamailio, TelephoneDeclinesAndTheLineTakesTheNextCall)
{
    m_line.Sip().Call("200");
    ASSERT_FALSE(telephone().WaitForEvent(QStringLiteral("CALL_INCOMING")).isEmpty()) << report();
    ASSERT_TRUE(telephone().Hangup());
    ASSERT_TRUE(WaitUntil([this] { return m_line.CallEnds() == 1; }, 10000)) << report();
    EXPECT_TRUE(m_line.Sip().LastReason().startsWith("486")) << m_line.Sip().LastReason().constData();
    EXPECT_EQ(m_line.TakeWire(), "> INVITE, < 407, > ACK, > INVITE, < 100, < 180, < 486, > ACK") << report();
    EXPECT_EQ(m_line.Sip().State(), TSIPClient::Unavailable);

    takeCallFromTelephone();
    ASSERT_TRUE(telephone().Hangup());
    EXPECT_TRUE(m_line.WaitForState(TSIPClient::RemoteHungUp)) << report();
}

TEST_F(CallsThroughKamailio, ReinviteFromTheTelephoneKeepsTheCallAndItsAudio)
{
    takeCallFromTelephone();
    m_line.TakeWire();
    ASSERT_TRUE(telephone().Reinvite());
    ASSERT_EQ(
        telephone().WaitForEvent(QStringLiteral("CALL_REMOTE_SDP")).value(QStringLiteral("param")).toString(),
        QStringLiteral("answer"))
        << report();
    EXPECT_EQ(m_line.Sip().State(), TSIPClient::Connected);
    expectAudioBothWays();
    ASSERT_TRUE(telephone().Hangup());
    ASSERT_TRUE(m_line.WaitForState(TSIPClient::RemoteHungUp)) << report();
    EXPECT_EQ(m_line.TakeWire(), "< INVITE, > 200, < ACK, < BYE, > 200") << report();
    EXPECT_EQ(m_line.CallEnds(), 1);

    callTelephone();
    hangUpFromLine();
}
