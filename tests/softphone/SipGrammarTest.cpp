#include "softphone/RemoteSdp.h"
#include "softphone/RouteSet.h"
#include "softphone/SessionTimerAnswer.h"
#include "softphone/SipNameAddr.h"

#include <gtest/gtest.h>

namespace {

SipMessage requestWith(const QByteArray& headers)
{
    return *SipMessage::Frame("UPDATE sip:101@x SIP/2.0\r\nCall-ID: c\r\n" + headers +
                              "Content-Length: 0\r\n\r\n");
}

} // namespace

TEST(SipNameAddrs, UriKeepsItsParametersAndDropsTheHeaders)
{
    EXPECT_EQ(SipNameAddr::Uri("\"A, B\" <sip:a@h:5070;transport=udp>;tag=9"), "sip:a@h:5070;transport=udp");
    EXPECT_EQ(SipNameAddr::Uri("sip:a@h;tag=9"), "sip:a@h");
    EXPECT_EQ(SipNameAddr::Uri(""), "");
    EXPECT_EQ(SipNameAddr::Uri("<sip:unclosed@h"), "sip:unclosed@h");
}

TEST(SipNameAddrs, ParametersAreReadAfterTheUriOnly)
{
    EXPECT_EQ(SipNameAddr::Parameter("<sip:a@h;tag=inside>;tag=outside;x=1", "tag"), "outside");
    EXPECT_EQ(SipNameAddr::Parameter("SIP/2.0/UDP h:5060;rport;branch=z9hG4bKabc;received=1.2.3.4", "branch"),
              "z9hG4bKabc");
    EXPECT_EQ(SipNameAddr::Parameter("<sip:a@h>; Expires=60", "expires"), "60");
    EXPECT_EQ(SipNameAddr::Parameter("<sip:a@h>;tagx=1", "tag"), "");
    EXPECT_EQ(SipNameAddr::Parameter("<sip:a@h>;tag", "tag"), "");
    EXPECT_EQ(SipNameAddr::Parameter("<sip:a@h>", "tag"), "");
}

TEST(SipNameAddrs, EntriesSplitAtCommasOutsideAnglesAndQuotes)
{
    EXPECT_EQ(SipNameAddr::Entries({"<sip:p1;lr>, <sip:p2;lr,odd>", "\"x, y\" <sip:p3>", " "}),
              (QList<QByteArray>{"<sip:p1;lr>", "<sip:p2;lr,odd>", "\"x, y\" <sip:p3>"}));
    EXPECT_TRUE(SipNameAddr::Entries({}).isEmpty());
}

TEST(RouteSets, LooseRoutersKeepTheTargetAsRequestUri)
{
    const RouteSet caller = RouteSet::ForCaller({"<sip:far;lr>", "<sip:near;lr>"});
    EXPECT_EQ(caller.RequestUri("sip:callee@10.0.0.9"), "sip:callee@10.0.0.9");
    EXPECT_EQ(caller.RouteLines("sip:callee@10.0.0.9"), "Route: <sip:near;lr>\r\nRoute: <sip:far;lr>\r\n");
    const RouteSet callee = RouteSet::ForCallee({"<sip:far;lr>, <sip:near;lr>"});
    EXPECT_EQ(callee.RouteLines("sip:t"), "Route: <sip:far;lr>\r\nRoute: <sip:near;lr>\r\n");
    EXPECT_EQ(RouteSet().RouteLines("sip:t"), "");
    EXPECT_EQ(RouteSet().RequestUri("sip:t"), "sip:t");
}

TEST(RouteSets, AStrictRouterBecomesTheRequestUriAndTheTargetGoesLast)
{
    const RouteSet strict = RouteSet::ForCallee({"<sip:strict.example>", "<sip:loose;lr>"});
    EXPECT_EQ(strict.RequestUri("sip:callee@h"), "sip:strict.example");
    EXPECT_EQ(strict.RouteLines("sip:callee@h"), "Route: <sip:loose;lr>\r\nRoute: <sip:callee@h>\r\n");
}

TEST(SessionTimerAnswers, TheRequesterStaysTheRefresher)
{
    EXPECT_EQ(SessionTimerAnswer(requestWith("Session-Expires: 90;refresher=uac\r\n")),
              "Session-Expires: 90;refresher=uac\r\nRequire: timer\r\n");
    EXPECT_EQ(SessionTimerAnswer(requestWith("Supported: 100rel, timer\r\nSession-Expires: 1800\r\n")),
              "Session-Expires: 1800;refresher=uac\r\nRequire: timer\r\n");
}

TEST(SessionTimerAnswers, NoTimerWhenTheRequesterWillNotRefresh)
{
    EXPECT_EQ(SessionTimerAnswer(requestWith("Session-Expires: 90;refresher=uas\r\n")), "");
    EXPECT_EQ(SessionTimerAnswer(requestWith("Session-Expires: 90\r\n")), "");
    EXPECT_EQ(SessionTimerAnswer(requestWith("Session-Expires: soon;refresher=uac\r\n")), "");
    EXPECT_EQ(SessionTimerAnswer(requestWith("")), "");
}

TEST(PcmaOffers, OnlyAnActiveAudioStreamListingPayload8Qualifies)
{
    EXPECT_TRUE(OffersPcma("v=0\r\nm=audio 4000 RTP/AVP 0 8 101\r\n"));
    EXPECT_TRUE(OffersPcma("m=audio 4000/2 RTP/AVP 8\n"));
    EXPECT_FALSE(OffersPcma("m=audio 4000 RTP/AVP 0 18\r\n"));
    EXPECT_FALSE(OffersPcma("m=audio 0 RTP/AVP 8\r\n")) << "a refused stream";
    EXPECT_FALSE(OffersPcma("m=video 4000 RTP/AVP 8\r\n"));
    EXPECT_FALSE(OffersPcma("m=audio 4000 RTP/AVP\r\n"));
    EXPECT_FALSE(OffersPcma("m=audio 4000 RTP/AVP 88\r\n"));
    EXPECT_FALSE(OffersPcma(""));
}
