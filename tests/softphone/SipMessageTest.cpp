#include "softphone/SipMessage.h"

#include <gtest/gtest.h>

namespace {

const QByteArray okHead = "SIP/2.0 200 OK\r\n"
                          "Via: SIP/2.0/UDP a;branch=z9hG4bK1\r\n"
                          "Via: SIP/2.0/UDP b;branch=z9hG4bK2\r\n"
                          "Call-ID: abc@host\r\n"
                          "CSeq: 7 REGISTER\r\n"
                          "Content-Length: 4\r\n\r\n";

} // namespace

TEST(SipMessageFraming, TakesHeadAndBodyOfAWellFormedMessage)
{
    const auto message = SipMessage::Frame(okHead + "abcdEXTRA");
    ASSERT_TRUE(message);
    EXPECT_TRUE(message->Head().endsWith("Content-Length: 4\r\n"));
    EXPECT_EQ(message->Body(), "abcd");
    EXPECT_TRUE(message->IsResponse());
    EXPECT_EQ(message->StatusCode(), 200);
    EXPECT_EQ(message->ReasonText(), "200 OK");
    EXPECT_EQ(message->CSeqMethod(), "REGISTER");
    EXPECT_EQ(message->CSeqNumber(), 7u);
}

TEST(SipMessageFraming, IgnoresKeepAliveOnlyAtTheStart)
{
    EXPECT_FALSE(SipMessage::Frame("Cirpack KeepAlive Packet\r\nContent-Length: 0\r\n\r\n"));
    EXPECT_TRUE(
        SipMessage::Frame("OPTIONS x SIP/2.0\r\nX: Cirpack KeepAlive Packet\r\nContent-Length: 0\r\n\r\n"));
}

TEST(SipMessageFraming, DropsWhatCannotBeFramed)
{
    EXPECT_FALSE(SipMessage::Frame("SIP/2.0 200 OK\r\nContent-Length: 0\r\n"));     // no blank line
    EXPECT_FALSE(SipMessage::Frame("SIP/2.0 200 OK\r\nContent-length: 0\r\n\r\n")); // other case
    EXPECT_FALSE(SipMessage::Frame("SIP/2.0 200 OK\r\nl: 0\r\n\r\n"));              // compact form
    EXPECT_FALSE(SipMessage::Frame("SIP/2.0 200 OK\r\nContent-Length: x\r\n\r\n")); // no digits
    EXPECT_FALSE(SipMessage::Frame("SIP/2.0 200 OK\r\nContent-Length: 99999999999999999999999\r\n\r\n"));
    EXPECT_FALSE(SipMessage::Frame(QByteArray()));
    // The header in the body does not count.
    EXPECT_FALSE(SipMessage::Frame("SIP/2.0 200 OK\r\nX: y\r\n\r\nContent-Length: 0\r\n"));
}

TEST(SipMessageFraming, LengthPaddedWithBlanksIsRead)
{
    const auto message = SipMessage::Frame("SIP/2.0 200 OK\r\nContent-Length:   3\r\n\r\nabc");
    ASSERT_TRUE(message);
    EXPECT_EQ(message->Body(), "abc");
}

TEST(SipMessageFraming, ToleratesABodyUpToThreeBytesShort)
{
    const QByteArray head = "INVITE sip:a SIP/2.0\r\nContent-Length: 10\r\n\r\n";
    const auto shortByThree = SipMessage::Frame(head + "1234567");
    ASSERT_TRUE(shortByThree);
    EXPECT_EQ(shortByThree->Body(), "1234567");
    EXPECT_FALSE(SipMessage::Frame(head + "123456"));
}

TEST(SipMessageHeaders, MatchNamesExactlyAndTakeTheFirst)
{
    const auto message = SipMessage::Frame(okHead + "abcd");
    ASSERT_TRUE(message);
    EXPECT_EQ(message->HeaderValue("Call-ID"), "abc@host");
    EXPECT_EQ(message->HeaderValue("Call-Id"), "");
    EXPECT_EQ(message->HeaderValue("Via"), "SIP/2.0/UDP a;branch=z9hG4bK1");
    EXPECT_EQ(message->HeaderValues("Via").size(), 2);
    EXPECT_EQ(message->HeaderValue("SIP/2.0 200 OK"), ""); // the start line is no header
    EXPECT_EQ(message->HeaderValue("Missing"), "");
}

TEST(SipMessageHeaders, ValueWithoutSpaceAndAtTheEndOfTheHead)
{
    const auto message = SipMessage::Frame("BYE x SIP/2.0\r\nTo:<sip:a>\r\nContent-Length: 0\r\n\r\n");
    ASSERT_TRUE(message);
    EXPECT_EQ(message->HeaderValue("To"), "<sip:a>");
    EXPECT_EQ(message->HeaderValue("Content-Length"), "0");
    EXPECT_TRUE(message->IsRequest("BYE"));
    EXPECT_FALSE(message->IsRequest("BY"));
}

TEST(SipMessageStatus, RejectsBadStatusLines)
{
    const auto statusOf = [](const QByteArray& line) {
        return SipMessage::Frame(line + "\r\nContent-Length: 0\r\n\r\n")->StatusCode();
    };
    EXPECT_EQ(statusOf("SIP/2.0 486 Busy here"), 486);
    EXPECT_EQ(statusOf("SIP/2.0 100"), 100);
    EXPECT_FALSE(statusOf("SIP/2.0 099 Low"));
    EXPECT_FALSE(statusOf("SIP/2.0 700 High"));
    EXPECT_FALSE(statusOf("SIP/2.0 4294967496 Wraps"));
    EXPECT_FALSE(statusOf("SIP/2.0 OK"));
    EXPECT_FALSE(statusOf("SIP/2.1 200 OK"));
}
