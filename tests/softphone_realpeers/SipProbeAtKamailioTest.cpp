#include "../softphone/SoftphoneTestSupport.h"
#include "ProbeProcess.h"
#include "RealPeersFixture.h"

#include <QElapsedTimer>

namespace {

QString closedReason(BaresipPhone& telephone)
{
    return telephone.WaitForEvent(QStringLiteral("CALL_CLOSED")).value(QStringLiteral("param")).toString();
}

} // namespace

// The probe registered at Kamailio as 102, baresip calling it.
class ProbeAtKamailio : public RealPeersFixture
{
protected:
    // Starts the probe with these options besides the account's, and waits until it is
    // registered.
    void startProbe(const QStringList& options)
    {
        m_probePort = FreeUdpPort();
        ASSERT_TRUE(m_probe.Start(
            QStringList{QStringLiteral("--server"), QStringLiteral("127.0.0.1:%1").arg(m_world.Pbx().Port()),
                        QStringLiteral("--user"), QStringLiteral("102"), QStringLiteral("--password"),
                        QString::fromLatin1(m_world.Pbx().Password()), QStringLiteral("--local-port"),
                        QString::number(m_probePort), QStringLiteral("--rtp-port"),
                        QString::number(FreeUdpPortPair()), QStringLiteral("--local-address"),
                        QStringLiteral("127.0.0.1")} +
            options));
        ASSERT_TRUE(m_probe.WaitForOutput(QStringLiteral("event OnRegistered"))) << probeReport();
    }

    std::string probeReport() { return (m_probe.Output() + QLatin1Char('\n')).toStdString() + report(); }

    ProbeProcess m_probe;
    quint16 m_probePort = 0;
};

TEST_F(ProbeAtKamailio, RingingCallIsNeverAnsweredAndEndsWhenTheCallerCancels)
{
    startProbe({QStringLiteral("--ring"), QStringLiteral("--timeout"), QStringLiteral("20")});
    ASSERT_TRUE(telephone().Dial(m_world.Pbx().UserUri("102")));
    ASSERT_FALSE(telephone().WaitForEvent(QStringLiteral("CALL_RINGING")).isEmpty()) << probeReport();
    PumpEvents(1500);
    EXPECT_TRUE(m_probe.Output().contains(QStringLiteral("letting it ring")));
    EXPECT_FALSE(m_probe.Output().contains(QStringLiteral("state 12 Connected"))) << probeReport();

    ASSERT_TRUE(telephone().Hangup());
    EXPECT_EQ(m_probe.Finish(), 0) << probeReport();
    EXPECT_TRUE(m_probe.Output().contains(QStringLiteral("state 18 Missed"))) << probeReport();
    EXPECT_FALSE(closedReason(telephone()).isEmpty());
}

TEST_F(ProbeAtKamailio, AnswersAfterLettingTheCallRingThatLong)
{
    startProbe({QStringLiteral("--answer-after"), QStringLiteral("2"), QStringLiteral("--hangup-after"),
                QStringLiteral("1"), QStringLiteral("--timeout"), QStringLiteral("20")});
    ASSERT_TRUE(telephone().Dial(m_world.Pbx().UserUri("102")));
    ASSERT_FALSE(telephone().WaitForEvent(QStringLiteral("CALL_RINGING")).isEmpty()) << probeReport();
    QElapsedTimer ringing;
    ringing.start();
    ASSERT_FALSE(telephone().WaitForEvent(QStringLiteral("CALL_ESTABLISHED")).isEmpty()) << probeReport();
    EXPECT_GE(ringing.elapsed(), 1800);
    // The probe hangs up a second later.
    EXPECT_FALSE(closedReason(telephone()).isEmpty());
    EXPECT_EQ(m_probe.Finish(), 0) << probeReport();
    EXPECT_TRUE(m_probe.Output().contains(QStringLiteral("answering in 2 s"))) << probeReport();
}

TEST_F(ProbeAtKamailio, AnswerAfterZeroAnswersAtOnce)
{
    startProbe({QStringLiteral("--answer-after"), QStringLiteral("0"), QStringLiteral("--hangup-after"),
                QStringLiteral("1"), QStringLiteral("--timeout"), QStringLiteral("20")});
    QElapsedTimer dialled;
    dialled.start();
    ASSERT_TRUE(telephone().Dial(m_world.Pbx().UserUri("102")));
    ASSERT_FALSE(telephone().WaitForEvent(QStringLiteral("CALL_ESTABLISHED")).isEmpty()) << probeReport();
    EXPECT_LT(dialled.elapsed(), 1500);
    EXPECT_EQ(m_probe.Finish(), 0) << probeReport();
}

TEST_F(ProbeAtKamailio, UnregistersWhenItEnds)
{
    startProbe({QStringLiteral("--timeout"), QStringLiteral("1")});
    EXPECT_EQ(m_probe.Finish(), 2) << probeReport(); // timed out
    EXPECT_TRUE(m_probe.Output().contains(QStringLiteral("unregistering")));
    ASSERT_TRUE(telephone().Dial(m_world.Pbx().UserUri("102")));
    EXPECT_EQ(closedReason(telephone()), QStringLiteral("404 Not Found")) << probeReport();
}

TEST_F(ProbeAtKamailio, StayRegisteredLeavesTheRegistrationInPlace)
{
    startProbe({QStringLiteral("--stay-registered"), QStringLiteral("--timeout"), QStringLiteral("1")});
    EXPECT_EQ(m_probe.Finish(), 2) << probeReport();
    EXPECT_FALSE(m_probe.Output().contains(QStringLiteral("unregistering")));
    // The exchange still sends calls for 102 to where the probe was.
    LoopbackPeer whereTheProbeWas(m_probePort);
    ASSERT_TRUE(telephone().Dial(m_world.Pbx().UserUri("102")));
    const QByteArray invite = whereTheProbeWas.Receive(5000);
    EXPECT_TRUE(invite.startsWith("INVITE sip:102@127.0.0.1:" + QByteArray::number(m_probePort)))
        << invite.left(200).constData();
    whereTheProbeWas.Send(ResponseTo(invite, "486 Busy Here"), whereTheProbeWas.LastSender().port);
    EXPECT_TRUE(closedReason(telephone()).startsWith(QStringLiteral("486")));
}
