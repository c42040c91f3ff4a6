#include "orders/intake/CallerNumber.h"

#include <gtest/gtest.h>

namespace {
const QString Masked = QStringLiteral("**********");

CallerNumber caller(const char* callerId, const char* cityCode = "", const char* digitsToDelete = "")
{
    return CallerNumber::fromCallerId(QString::fromUtf8(callerId), QString::fromUtf8(cityCode),
                                      QString::fromUtf8(digitsToDelete));
}
} // namespace

TEST(CallerNumber, TakesTheUserPartOfTheAddress)
{
    const CallerNumber plain = caller("sip:0671234567@10.0.0.1");
    EXPECT_EQ(plain.fullAddress, QStringLiteral("sip:0671234567@10.0.0.1"));
    EXPECT_EQ(plain.withPrefix, QStringLiteral("0671234567"));
    EXPECT_EQ(caller("\"Бабуся\" <SIP:0671234567@pbx.local>").withPrefix, QStringLiteral("0671234567"));
    EXPECT_EQ(caller("<Sip:0671234567@pbx>;tag=1").withPrefix, QStringLiteral("0671234567"))
        << "the scheme is case-insensitive";
    EXPECT_EQ(caller("  sip: 555 @host").withPrefix, QStringLiteral("555"));
    EXPECT_EQ(caller("0671234567").withPrefix, QStringLiteral("0671234567")) << "no scheme, no host";
    EXPECT_EQ(caller("sip:+380671234567;phone-context=+380@gw").withPrefix, QStringLiteral("+380671234567"))
        << "user parameters are not part of the number";
    EXPECT_EQ(caller("sip:%2A21%23@pbx").withPrefix, QStringLiteral("*21#")) << "escapes are decoded";
    EXPECT_EQ(caller("sip:anonymous@anonymous.invalid").withPrefix, QString());
    EXPECT_EQ(caller("").normalised, QString());
}

TEST(CallerNumber, KeepsOnlyTelephoneCharactersAndAtMost32OfThem)
{
    EXPECT_EQ(caller("sip:067-123-45-67@h").withPrefix, QStringLiteral("0671234567"));
    EXPECT_EQ(caller("sip:(044) 123 45 67@h").withPrefix, QStringLiteral("0441234567"));
    EXPECT_EQ(caller("sip:1' OR '1'='1@h").withPrefix, QStringLiteral("111")) << "quotes never reach SQL";
    EXPECT_EQ(caller("sip:12%'--[x]@h").withPrefix, QStringLiteral("12"))
        << "LIKE wildcards and the description's brackets are dropped";
    EXPECT_EQ(caller("sip:12\r\n34\x01@h").withPrefix, QStringLiteral("1234"));
    EXPECT_EQ(caller("sip:١٢٣@h").withPrefix, QString()) << "only ASCII digits";

    const QString longNumber = QString(40, QLatin1Char('7'));
    const CallerNumber longCaller = caller(("sip:" + longNumber.toStdString() + "@h").c_str(), "", "3");
    EXPECT_EQ(longCaller.withPrefix, QString(CallerNumber::MaxLength, QLatin1Char('7')));
    EXPECT_EQ(longCaller.normalised.size(), CallerNumber::MaxLength);
    EXPECT_EQ(CallerNumber::telephoneCharacters(QStringLiteral("+3 8(0)-*#")), QStringLiteral("+380*#"));
}

TEST(CallerNumber, LosesTheCityCodesLengthWhenTheCodeOccurs)
{
    const CallerNumber city = caller("sip:0432551122@pbx", "0432", "3");
    EXPECT_EQ(city.withPrefix, QStringLiteral("0432551122"));
    EXPECT_EQ(city.withoutDigits, Masked);
    EXPECT_EQ(city.withoutCode, QStringLiteral("551122"));
    EXPECT_EQ(city.normalised, QStringLiteral("551122"));

    // The code counts wherever it occurs, and wins over the "+" rule: the code's length is
    // still taken from the front.
    EXPECT_EQ(caller("sip:+380432551122@pbx", "0432", "3").normalised, QStringLiteral("432551122"));
    EXPECT_EQ(caller("sip:0432551122@pbx", " 0432 ", "").normalised, QStringLiteral("551122"))
        << "the INI value is trimmed";
}

TEST(CallerNumber, LosesDeleteznakCharactersOnlyFromAPlusNumberOutsideTheCode)
{
    const CallerNumber mobile = caller("sip:+380671234567@pbx", "0432", "3");
    EXPECT_EQ(mobile.withoutDigits, QStringLiteral("0671234567"));
    EXPECT_EQ(mobile.withoutCode, Masked);
    EXPECT_EQ(mobile.normalised, QStringLiteral("0671234567"));

    EXPECT_EQ(caller("sip:+380671234567@pbx", "", "3").normalised, QStringLiteral("0671234567"))
        << "no city code";
    EXPECT_EQ(caller("sip:0671234567@pbx", "0432", "3").normalised, QStringLiteral("0671234567"))
        << "no plus: the number stays as it is";
    EXPECT_EQ(caller("sip:0671234567@pbx", "", "").withoutDigits, QStringLiteral("0671234567"));
    for (const char* unreadable : {"", "abc", "-2", "0", "3x"})
        EXPECT_EQ(caller("sip:+380671234567@pbx", "", unreadable).normalised, QStringLiteral("+380671234567"))
            << unreadable;
    EXPECT_EQ(caller("sip:+38@pbx", "", "5").normalised, QString()) << "a count past the end empties it";
}
