#include "SoftphoneTestSupport.h"
#include "softphone/StunBindingResponse.h"
#include "softphone/TSTUNClient.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

// RFC 5769 section 2.2, "Sample IPv4 response": SOFTWARE (11 bytes, padded),
// XOR-MAPPED-ADDRESS 192.0.2.1:32853, MESSAGE-INTEGRITY, FINGERPRINT.
const QByteArray rfc5769Response = QByteArray::fromHex("0101003c2112a442b7e7a701bc34d686fa87dfae"
                                                       "8022000b7465737420766563746f7220"
                                                       "002000080001a147e112a643"
                                                       "000800142b91f599fd9e90c38c7489f92af9ba53f06be7d7"
                                                       "80280004c07d4c96");

QByteArray transactionIdOf(const QByteArray& message)
{
    return message.mid(4, 16);
}

} // namespace

TEST(StunParsing, Rfc5769ResponseHasNoMappedAddressAndIsWalkedSafely)
{
    EXPECT_FALSE(StunBindingResponse::MappedAddress(rfc5769Response, transactionIdOf(rfc5769Response)));
    // Every truncation of it is refused without reading past its end.
    for (qsizetype size = 0; size < rfc5769Response.size(); ++size)
        EXPECT_FALSE(
            StunBindingResponse::MappedAddress(rfc5769Response.left(size), transactionIdOf(rfc5769Response)));
}

TEST(StunParsing, AttributesAreSteppedOverByTheirPaddedLength)
{
    // The same response with its XOR-MAPPED-ADDRESS turned into a plain MAPPED-ADDRESS:
    // it is found only when the 11-byte SOFTWARE value is stepped over as 12 bytes.
    QByteArray response = rfc5769Response;
    response.replace(36, 12, QByteArray::fromHex("000100080001a147c0000201"));
    const auto mapped = StunBindingResponse::MappedAddress(response, transactionIdOf(response));
    ASSERT_TRUE(mapped);
    EXPECT_EQ(mapped->dottedAddress(), "192.0.2.1");
    EXPECT_EQ(mapped->port, 0xA147);
}

TEST(StunParsing, SkipsOtherTransactionsTypesFamiliesAndLengths)
{
    const QByteArray id = QByteArray(16, '\x42');
    const QByteArray mappedV4 = QByteArray::fromHex("000100080001d431c0000202");
    const QByteArray mappedV6 = QByteArray::fromHex("0001001400020001") + QByteArray(16, '\x01');
    const QByteArray source = QByteArray::fromHex("000400080001000101020304");
    const auto response = [&](quint16 type, const QByteArray& attributes, int lengthAdjust = 0) {
        QByteArray header(4, '\0');
        qToBigEndian<quint16>(type, header.data());
        qToBigEndian<quint16>(quint16(attributes.size() + lengthAdjust), header.data() + 2);
        return header + id + attributes;
    };
    EXPECT_TRUE(StunBindingResponse::MappedAddress(response(0x0101, source + mappedV4), id));
    EXPECT_FALSE(
        StunBindingResponse::MappedAddress(response(0x0101, source + mappedV4), QByteArray(16, '\x43')));
    EXPECT_FALSE(StunBindingResponse::MappedAddress(response(0x0111, mappedV4), id)); // error response
    EXPECT_FALSE(StunBindingResponse::MappedAddress(response(0x0101, mappedV6), id));
    EXPECT_FALSE(StunBindingResponse::MappedAddress(response(0x0101, {}), id));          // exactly 20 bytes
    EXPECT_FALSE(StunBindingResponse::MappedAddress(response(0x0101, mappedV4, 4), id)); // longer than sent
    QByteArray overlong = response(0x0101, mappedV4);
    overlong[23] = char(0x40); // attribute claims more than the message holds
    EXPECT_FALSE(StunBindingResponse::MappedAddress(overlong, id));
}

TEST(StunClient, EmptyHostSendsNothing)
{
    TSTUNClient client;
    client.SetLocalPort(0);
    bool result = false;
    QObject::connect(&client, &TSTUNClient::OnResult, &client, [&] { result = true; });
    EXPECT_FALSE(client.Query(""));
    EXPECT_FALSE(client.IsOpen());
    PumpEvents(100);
    EXPECT_FALSE(result);
    EXPECT_EQ(client.MappedAddress(), 0u);
}

TEST(StunClient, LostRequestIsSentAgainAndTheAnswerEndsTheQuery)
{
    LoopbackPeer server;
    TSTUNClient client;
    client.SetLocalPort(0);
    client.SetServerPort(server.Port());
    client.SetRetransmitT1(50);
    int results = 0;
    QObject::connect(&client, &TSTUNClient::OnResult, &client, [&] { ++results; });
    ASSERT_TRUE(client.Query("127.0.0.1"));
    const QByteArray request = server.Receive();
    ASSERT_EQ(request.size(), 20);
    EXPECT_EQ(request.left(4), QByteArray::fromHex("00010000"));
    EXPECT_EQ(request.mid(4), client.TransactionId());
    EXPECT_EQ(server.Receive(), request) << "sent again while unanswered";

    const quint16 clientPort = server.LastSender().port;
    server.Send(QByteArray::fromHex("01010000") + client.TransactionId(), clientPort); // no attributes
    server.Send(QByteArray::fromHex("0101000c") + client.TransactionId() +
                    QByteArray::fromHex("000100080001d431c0000202"),
                clientPort);
    ASSERT_TRUE(WaitUntil([&] { return results == 1; }));
    EXPECT_EQ(client.MappedAddressText(), "192.0.2.2");
    EXPECT_EQ(client.MappedPort(), 0xD431);
    EXPECT_FALSE(client.IsOpen());
    while (!server.Receive(50).isEmpty()) {
    }
    EXPECT_TRUE(server.Receive(300).isEmpty()) << "nothing is sent after the answer";
}
