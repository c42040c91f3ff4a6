#include "softphone/DigestAuthorization.h"

#include <gtest/gtest.h>

using Algorithm = DigestAuthorization::Algorithm;

TEST(DigestVectors, Rfc7616Section3_9_1Sha256)
{
    const QByteArray ha1 =
        DigestAuthorization::HA1("Mufasa", "http-auth@example.org", "Circle of Life", Algorithm::Sha256);
    EXPECT_EQ(DigestAuthorization::Response(
                  ha1, "7ypf/xlj9XXwfDPEoM4URrv/xwf94BcCAzFZH4GiTo0v", "GET", "/dir/index.html", "auth",
                  "00000001", "f2/wE4q74E6zIJEtWaHKaf5wv/H5QzzpXusqGemxURZJ", Algorithm::Sha256),
              "753927fa0e85d155564e2e272a28d1802ca10daf4496794697cf8db5856cb6c1");
}

TEST(DigestChoice, Sha256BeatsMd5InEitherOrderAndUnknownAlgorithmsAreSkipped)
{
    const QByteArray md5 = "Digest realm=\"r\",nonce=\"m\"";
    const QByteArray sha = "Digest realm=\"r\",nonce=\"s\",algorithm=SHA-256";
    EXPECT_EQ(DigestAuthorization::Choose({md5, sha}, "pw")->Parameter("nonce"), "s");
    EXPECT_EQ(DigestAuthorization::Choose({sha, md5}, "pw")->Parameter("nonce"), "s");
    EXPECT_EQ(DigestAuthorization::Choose({"Digest realm=\"r\",nonce=\"x\",algorithm=SHA-512-256", md5}, "pw")
                  ->Parameter("nonce"),
              "m");
    EXPECT_EQ(
        DigestAuthorization::Choose({"Basic realm=\"r\"", "Digest broken=", md5}, "pw")->Parameter("nonce"),
        "m");
    EXPECT_FALSE(DigestAuthorization::Choose({"Digest realm=\"r\",nonce=\"x\",algorithm=md5"}, "pw"));
    EXPECT_FALSE(DigestAuthorization::Choose({}, "pw"));
}

TEST(DigestChoice, APrecomputedMd5Ha1AnswersOnlyMd5)
{
    const QByteArray ha1 = "{0123456789abcdef0123456789abcdef}";
    const QByteArray sha = "Digest realm=\"r\",nonce=\"s\",algorithm=SHA-256";
    EXPECT_EQ(DigestAuthorization::Choose({sha, "Digest realm=\"r\",nonce=\"m\""}, ha1)->Parameter("nonce"),
              "m");
    EXPECT_FALSE(DigestAuthorization::Choose({sha}, ha1));
}

TEST(DigestLine, NamesTheAlgorithmItAnswers)
{
    const auto challenge = DigestChallenge::Parse("Digest realm=\"r\",nonce=\"n\",algorithm=SHA-256");
    const QByteArray line =
        DigestAuthorization::Line("", *challenge, {"101", "pw", "REGISTER", "sip:h"}, "c");
    const QByteArray response =
        DigestAuthorization::Response(DigestAuthorization::HA1("101", "r", "pw", Algorithm::Sha256), "n",
                                      "REGISTER", "sip:h", {}, {}, {}, Algorithm::Sha256);
    EXPECT_EQ(line, "Authorization: Digest username=\"101\",realm=\"r\",nonce=\"n\",response=\"" + response +
                        "\",uri=\"sip:h\",algorithm=SHA-256,opaque=\"\"\r\n");
    EXPECT_EQ(response.size(), 64);
}
