#include "../softphone/SoftphoneTestSupport.h"
#include "PanelFixture.h"
#include "foundation/SqlLiteral.h"
#include "platform/audio/AudioFormat.h"
#include "softphone/TSIPClient.h"
#include "support/peers/PbxAndTelephone.h"
#include "support/peers/RealPeers.h"

#include <QTimer>
#include <QtEndian>
#include <cmath>

// The dispatcher's panel registered as 101 at Kamailio, with baresip "200" as the
// caller, a fresh database and a fake headset whose microphone speaks (a 300 Hz tone, so
// the silence gate lets it through) every 30 ms.
class PanelAgainstPeers : public PanelFixture
{
protected:
    void SetUp() override
    {
        PanelFixture::SetUp();
        if (HasFatalFailure())
            return;
        TAXI_REQUIRE_REAL_PEERS(PbxAndTelephone::Programs());
        ASSERT_TRUE(m_world.Start()) << m_world.Problem().toStdString();
        addDispatcher(dispatcher(), 3);
        writeHeadsetFile(QStringLiteral("Fake Headset Microphone"), QStringLiteral("Fake Headset"));
        setSipSettings({operatorEntry(dispatcher(), QStringLiteral("1"), QString::fromLatin1(m_world.Pbx().Address()),
                                      QString::number(m_world.Pbx().Port()), QStringLiteral("101"),
                                      QString::fromLatin1(m_world.Pbx().Password()))});
        // Loopback is the only network here.
        panel->sip().SetLocalMedia("127.0.0.1", 5004);
        panel->setBeepOnIncoming(false);
        QObject::connect(form.get(), &OrderFormController::showRequested, form.get(), [this] { form->shown(); });

        QByteArray voice(AudioFormat::BytesPerSecond, '\0');
        for (int i = 0; i < AudioFormat::SampleRate; ++i)
            qToLittleEndian(static_cast<qint16>(6000 * std::sin(2 * M_PI * 300 * i / AudioFormat::SampleRate)),
                            voice.data() + 2 * i);
        audio.setMicrophoneSignal(voice);
        QObject::connect(&m_microphone, &QTimer::timeout, [this] {
            if (FakeAudioInput* input = audio.openInput())
                input->deliverBuffers(1);
        });
        m_microphone.start(30);
    }

    void TearDown() override
    {
        m_microphone.stop();
        PanelFixture::TearDown();
        m_world.Stop();
    }

    bool configureAndRegister()
    {
        return panel->configureFor(dispatcher()) &&
               WaitUntil([&] { return panel->sip().State() == TSIPClient::Ready && !panel->ringing(); }, 5000);
    }
    BaresipPhone& telephone() { return m_world.Telephone(); }
    std::string report() const
    {
        return (m_world.Report() + QStringLiteral("\n--- messages\n") + ws->prompts.messages().join('\n'))
            .toStdString();
    }

    PbxAndTelephone m_world;
    QTimer m_microphone;
};

TEST_F(PanelAgainstPeers, AnIncomingCallRingsFindsTheClientAndHisOrderAndIsTalkedThrough)
{
    addClient(QStringLiteral("00042"), QStringLiteral("Петро"), QStringLiteral("200"));
    db->exec(QStringLiteral("INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_PRICHINA_DELETE, ZAMOVL_POCHAT_PUNKT, "
                            "ZAMOVL_POZIVNIY, ZAMOVL_FIO_TAXI, ZAMOVL_STATUS_ZAMOVL) VALUES (1234, %1, 'Шевченка 5', "
                            "7, 'Іван', 0)")
                 .arg(sql::text(QStringLiteral("{швидке}   тел.:[200]   тариф:[Місто]  ()"))));
    ASSERT_TRUE(configureAndRegister()) << report();
    EXPECT_TRUE(panel->stripExpanded());
    EXPECT_EQ(panel->groupCaption(), QStringLiteral("  Ваш внутрішній номер : [101] > 101@127.0.0.1  "));
    EXPECT_EQ(panel->statusLine(), QStringLiteral("........."));
    EXPECT_EQ(panel->sip().BoundPort(), 46503);

    ASSERT_TRUE(telephone().Dial(m_world.Pbx().UserUri("101")));
    ASSERT_TRUE(WaitUntil([&] { return panel->sip().State() == TSIPClient::Incoming; }, 10000)) << report();
    EXPECT_TRUE(panel->ringing());
    EXPECT_EQ(panel->statusLine(), QStringLiteral("200"));
    EXPECT_EQ(panel->incomingCount(), 1);
    EXPECT_EQ(panel->ringingOrder(), std::optional<QString>(QStringLiteral("№ 1234, Шевченка 5, 7 Іван")));
    ASSERT_TRUE(form->currentClient().has_value());
    EXPECT_EQ(form->currentClient()->name, QStringLiteral("Петро"));
    ASSERT_FALSE(form->telephoneHistory().entries().isEmpty());
    EXPECT_TRUE(form->telephoneHistory().entries()[0].endsWith(QStringLiteral("]> 200")));

    panel->accept({});
    ASSERT_FALSE(telephone().WaitForEvent(QStringLiteral("CALL_ESTABLISHED")).isEmpty()) << report();
    EXPECT_EQ(panel->sip().State(), TSIPClient::Connected);
    EXPECT_FALSE(panel->ringing());
    EXPECT_EQ(panel->ringingOrder(), std::nullopt);

    // Both ways: baresip's tone is played on the headset, the dispatcher's voice reaches
    // baresip; the lamp's hint counts the call.
    EXPECT_TRUE(WaitUntil([&] { return audio.lastPlayback() && audio.lastPlayback()->writtenBytes() > 8000; }, 5000))
        << report();
    EXPECT_TRUE(WaitUntil([&] { return telephone().ReceivedRtpPackets() > 20; }, 5000)) << report();
    EXPECT_TRUE(WaitUntil([&] { return panel->lampHint() == QStringLiteral("00:01"); }, 3000))
        << panel->lampHint().toStdString();

    ASSERT_TRUE(telephone().Hangup());
    ASSERT_TRUE(WaitUntil([&] { return panel->sip().State() == TSIPClient::RemoteHungUp; })) << report();
    EXPECT_EQ(panel->statusLine(), QStringLiteral("Опонент повісив трубку ..."));
    EXPECT_EQ(panel->lampHint(), QStringLiteral("--:--"));
    EXPECT_FALSE(panel->ringing());
    // The hang-up button now only takes the line back to idle.
    panel->rejectOrHangUp();
    EXPECT_EQ(panel->statusLine(), QStringLiteral("........."));
}

TEST_F(PanelAgainstPeers, AMissedCallNamesTheCallerIsListedWithTheClientAndIsCalledBack)
{
    addClient(QStringLiteral("00043"), QStringLiteral("Марія"), QStringLiteral("200"));
    panel->setBeepOnIncoming(true);
    ASSERT_TRUE(configureAndRegister()) << report();

    ASSERT_TRUE(telephone().Dial(m_world.Pbx().UserUri("101")));
    ASSERT_TRUE(WaitUntil([&] { return panel->ringing() && panel->ringBeeping(); }, 10000)) << report();
    // The caller gives up before anyone answers.
    ASSERT_TRUE(telephone().Hangup());
    ASSERT_TRUE(WaitUntil([&] { return panel->sip().State() == TSIPClient::Missed; })) << report();
    EXPECT_EQ(panel->statusLine(), QStringLiteral("Пропущений виклик 200"));
    EXPECT_FALSE(panel->ringing());
    EXPECT_FALSE(panel->ringBeeping());
    EXPECT_EQ(panel->missedCount(), 1);
    ASSERT_EQ(panel->missedCalls().size(), 1);
    EXPECT_EQ(panel->missedCalls()[0].caller, QStringLiteral("200"));
    EXPECT_EQ(panel->missedCalls()[0].client, QStringLiteral("Марія"));
    EXPECT_EQ(panel->missedCalls()[0].at, clock.now());

    panel->callBack(0);
    // "Виклик 200 опонента" gives way at once to the agent's own states.
    EXPECT_EQ(panel->hangUpHint(), QStringLiteral("Закрити спробу виклику опонента"));
    EXPECT_FALSE(telephone().WaitForEvent(QStringLiteral("CALL_INCOMING")).isEmpty()) << report();
    EXPECT_TRUE(WaitUntil([&] { return panel->outgoingCount() == 1; })) << report();
    ASSERT_TRUE(telephone().Hangup());
    EXPECT_TRUE(WaitUntil([&] { return panel->sip().State() == TSIPClient::Unavailable; })) << report();
    EXPECT_TRUE(ws->prompts.messages().isEmpty()) << report();
}

TEST_F(PanelAgainstPeers, TheHealthLightLapsesWhenTheExchangeStopsAndTurnsGreenWhenItIsBack)
{
    panel->sip().SetRetransmitT1(50);
    panel->setKeepAliveInterval(300);
    ASSERT_TRUE(configureAndRegister()) << report();
    ASSERT_TRUE(WaitUntil([&] { return panel->health() == SoftphonePanel::Health::Registered; })) << report();
    EXPECT_EQ(panel->healthText(), QStringLiteral("зареєстровано о ") + clock.now().toString(QStringLiteral("hh:mm:ss")));

    m_world.Pbx().Stop();
    EXPECT_TRUE(WaitUntil([&] { return panel->health() == SoftphonePanel::Health::Lapsed; }, 4000)) << report();
    ASSERT_TRUE(m_world.Pbx().Start()) << report();
    EXPECT_TRUE(WaitUntil([&] { return panel->health() == SoftphonePanel::Health::Registered; }, 5000)) << report();
}

TEST_F(PanelAgainstPeers, AnOfferWithoutAnAddressEndsTheCallWithAMessage)
{
    // baresip always sends a good offer; a malformed one comes from a sipp-like raw
    // INVITE sent straight to the line, past the exchange.
    ASSERT_TRUE(configureAndRegister()) << report();
    LoopbackPeer peer;
    const QByteArray sdp = "v=0\r\no=x 1 1 IN IP4 127.0.0.1\r\ns=-\r\nt=0 0\r\nm=audio 4000 RTP/AVP 8\r\n";
    QByteArray invite = "INVITE sip:101@127.0.0.1:46503 SIP/2.0\r\n"
                        "Via: SIP/2.0/UDP 127.0.0.1:@P@;branch=z9hG4bKbad1\r\n"
                        "From: <sip:0671234567@127.0.0.1>;tag=bad\r\n"
                        "To: <sip:101@127.0.0.1>\r\n"
                        "Call-ID: bad-sdp@127.0.0.1\r\n"
                        "CSeq: 1 INVITE\r\n"
                        "Contact: <sip:0671234567@127.0.0.1:@P@>\r\n"
                        "Max-Forwards: 70\r\n"
                        "Content-Type: application/sdp\r\n"
                        "Content-Length: @L@\r\n\r\n" + sdp;
    invite.replace("@P@", QByteArray::number(peer.Port())).replace("@L@", QByteArray::number(sdp.size()));
    peer.Send(invite, 46503);
    QByteArray answer;
    ASSERT_TRUE(WaitUntil([&] {
        const QByteArray got = peer.Receive(100);
        if (got.startsWith("SIP/2.0 486"))
            answer = got;
        return !answer.isEmpty();
    }, 5000)) << report();
    EXPECT_EQ(ws->prompts.messages(),
              QStringList{QStringLiteral("Опонент не вказав, куди надсилати звук (невірний опис медіа SDP). "
                                         "Звінок завершено.")});
    EXPECT_FALSE(panel->ringing());
}
