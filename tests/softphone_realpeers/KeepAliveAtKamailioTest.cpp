#include "../softphone/SoftphoneTestSupport.h"
#include "RealPeersFixture.h"

// The line asks the exchange every 300 ms whether it is there, with T1 at 50 ms (an
// answer is awaited for 300 ms).
class KeepAliveAtKamailio : public RealPeersFixture
{
protected:
    void SetUp() override
    {
        RealPeersFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        m_line.Sip().SetRetransmitT1(50);
        m_line.Sip().SetKeepAliveInterval(300);
        m_line.Sip().SetAcceptIncoming(true);
        ASSERT_TRUE(m_line.Register(m_world.Pbx())) << report();
        m_line.TakeWire();
    }

    // Waits until the wire since the last call holds this sequence.
    bool wireShows(const std::string& sequence, int timeoutMs)
    {
        std::string wire;
        return WaitUntil(
            [&] {
                wire += ", " + m_line.TakeWire();
                return wire.find(sequence) != std::string::npos;
            },
            timeoutMs);
    }
};

TEST_F(KeepAliveAtKamailio, TheExchangeAnswersTheLinesQuestionsAboutItself)
{
    ASSERT_TRUE(wireShows("> OPTIONS, < 200", 3000)) << report();
    EXPECT_TRUE(m_line.Sip().ServerAnswering());
    EXPECT_EQ(m_line.Sip().State(), TSIPClient::Ready);
}

TEST_F(KeepAliveAtKamailio, AStoppedExchangeIsNoticedAndTheLineRegistersAgainWhenItReturns)
{
    m_world.Pbx().Stop();
    ASSERT_TRUE(WaitUntil([&] { return !m_line.Sip().ServerAnswering(); }, 3000)) << report();
    // The registration itself has half an hour to go: only the keep-alive saw it.
    EXPECT_TRUE(m_line.Sip().Registered());
    m_line.TakeWire();

    ASSERT_TRUE(m_world.Pbx().Start()) << report();
    ASSERT_TRUE(WaitUntil([&] { return m_line.Sip().ServerAnswering(); }, 5000)) << report();
    // The restarted exchange forgot every registration; the line is found again at
    // once, not in fifteen minutes.
    ASSERT_TRUE(wireShows("> REGISTER, < 401, > REGISTER, < 200", 3000)) << report();
    BaresipPhone* caller = m_world.AddTelephone("300");
    ASSERT_NE(caller, nullptr) << m_world.Problem().toStdString();
    ASSERT_TRUE(caller->Dial(m_world.Pbx().UserUri("101")));
    EXPECT_TRUE(m_line.WaitForState(TSIPClient::Incoming)) << report();
}
