#include "softphone/DigestAuthorization.h"

#include <gtest/gtest.h>

TEST(DigestVectors, Rfc2617Section3_5)
{
    const QByteArray ha1 = DigestAuthorization::HA1("Mufasa", "testrealm@host.com", "Circle Of Life");
    EXPECT_EQ(DigestAuthorization::Response(ha1, "dcd98b7102dd2f0e8b11d0f600bfb0c093", "GET",
                                            "/dir/index.html", "auth", "00000001", "0a4f113b"),
              "6629fae49393a05397450978507c4ef1");
}

TEST(DigestVectors, Rfc7616Section3_9_1Md5)
{
    const QByteArray ha1 = DigestAuthorization::HA1("Mufasa", "http-auth@example.org", "Circle of Life");
    EXPECT_EQ(DigestAuthorization::Response(ha1, "7ypf/xlj9XXwfDPEoM4URrv/xwf94BcCAzFZH4GiTo0v", "GET",
                                            "/dir/index.html", "auth", "00000001",
                                            "f2/wE4q74E6zIJEtWaHKaf5wv/H5QzzpXusqGemxURZJ"),
              "8ca523f5e9506fed4657c9700eebdbec");
}

TEST(DigestHa1, BracedThirtyTwoCharactersAreUsedAsHa1)
{
    const QByteArray ha1 = "0123456789abcdef0123456789abcdef";
    EXPECT_EQ(DigestAuthorization::HA1("u", "r", '{' + ha1 + '}'), ha1);
    // 33 and 35 characters in braces are ordinary passwords.
    EXPECT_EQ(DigestAuthorization::HA1("u", "r", '{' + ha1.left(31) + '}').size(), 32);
    EXPECT_NE(DigestAuthorization::HA1("u", "r", '{' + ha1.left(31) + '}'), ha1.left(31));
    EXPECT_NE(DigestAuthorization::HA1("u", "r", '{' + ha1 + "0}"), ha1 + '0');
    EXPECT_EQ(DigestAuthorization::HA1("u", "r", "p"), DigestAuthorization::HA1("u", "r", "p"));
}

TEST(DigestChallengeTokens, ReadsQuotedAndPlainValues)
{
    const auto challenge = DigestChallenge::Parse(
        R"(Digest realm="a, b", nonce=abc=, algorithm=MD5,opaque="x\"y",  stale=FALSE)");
    ASSERT_TRUE(challenge);
    EXPECT_EQ(challenge->Parameter("realm"), "a, b");
    EXPECT_EQ(challenge->Parameter("nonce"), "abc=");
    EXPECT_EQ(challenge->Parameter("algorithm"), "MD5");
    EXPECT_EQ(challenge->Parameter("opaque"), "x\"y");
    EXPECT_EQ(challenge->Parameter("Stale"), "FALSE");
    EXPECT_FALSE(challenge->HasParameter("qop"));
}

TEST(DigestChallengeTokens, NameInsideAnotherValueIsNotTheParameter)
{
    const auto challenge = DigestChallenge::Parse(R"(Digest nonce="realm=evil", realm="good")");
    ASSERT_TRUE(challenge);
    EXPECT_EQ(challenge->Parameter("realm"), "good");
}

TEST(DigestChallengeTokens, RefusesOtherSchemesAndBrokenLists)
{
    EXPECT_FALSE(DigestChallenge::Parse("Basic realm=\"x\""));
    EXPECT_FALSE(DigestChallenge::Parse("Digest realm=\"unterminated"));
    EXPECT_FALSE(DigestChallenge::Parse("Digest realm"));
    EXPECT_FALSE(DigestChallenge::Parse("Digest =x"));
    EXPECT_FALSE(DigestChallenge::Parse("Digest realm=\"a\" nonce=\"b\""));
    EXPECT_TRUE(DigestChallenge::Parse("Digest"));
}

TEST(DigestLine, WithoutQopHasTheFixedLayout)
{
    const auto challenge = DigestChallenge::Parse(R"(Digest realm="asterisk", nonce="4b1a")");
    ASSERT_TRUE(challenge);
    const DigestAuthorization::Request request{"101", "secret", "REGISTER", "sip:pbx"};
    const QByteArray ha1 = DigestAuthorization::HA1("101", "asterisk", "secret");
    const QByteArray response = DigestAuthorization::Response(ha1, "4b1a", "REGISTER", "sip:pbx");
    EXPECT_EQ(DigestAuthorization::Line("", *challenge, request, "c"),
              "Authorization: Digest username=\"101\",realm=\"asterisk\",nonce=\"4b1a\",response=\"" +
                  response + "\",uri=\"sip:pbx\",algorithm=MD5,opaque=\"\"\r\n");
    EXPECT_TRUE(DigestAuthorization::Line("Proxy-", *challenge, request, "c")
                    .startsWith("Proxy-Authorization: Digest username="));
}

TEST(DigestLine, AnswersQopAuthWithCountAndClientNonce)
{
    const auto challenge =
        DigestChallenge::Parse(R"(Digest realm="r", nonce="n", qop="auth,auth-int", opaque="o")");
    ASSERT_TRUE(challenge);
    const QByteArray line = DigestAuthorization::Line("", *challenge, {"u", "p", "INVITE", "sip:1@r"}, "cn");
    const QByteArray expected = DigestAuthorization::Response(DigestAuthorization::HA1("u", "r", "p"), "n",
                                                              "INVITE", "sip:1@r", "auth", "00000001", "cn");
    EXPECT_TRUE(line.contains(",response=\"" + expected + '"'));
    EXPECT_TRUE(line.endsWith(",opaque=\"o\",qop=auth,nc=00000001,cnonce=\"cn\"\r\n"));
}
