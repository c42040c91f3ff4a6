#include "orders/intake/WebDistanceReply.h"

#include <gtest/gtest.h>

namespace {

QByteArray matrix(const QByteArray& elementStatus, const QByteArray& distanceValue = "15200")
{
    QByteArray element = "<element><status>" + elementStatus + "</status>";
    if (!distanceValue.isNull())
        element += "<duration><value>1260</value><text>21 хв</text></duration>"
                   "<distance><value>" +
                   distanceValue + "</value><text>15,2 км</text></distance>";
    element += "</element>";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<DistanceMatrixResponse>"
           "<status>OK</status><origin_address>Луцьк, Волинська область, Україна</origin_address>"
           "<destination_address>Ківерці, Волинська область, Україна</destination_address>"
           "<row>" +
           element + "</row></DistanceMatrixResponse>\n";
}

QByteArray http(const QByteArray& body, const QByteArray& headers = "Content-Type: application/xml\r\n")
{
    return "HTTP/1.0 200 OK\r\n" + headers + "\r\n" + body;
}

WebDistanceReply::Outcome parsed(const QByteArray& bytes, bool closed = true)
{
    WebDistanceReply reply;
    return WebDistanceReply::parse(bytes, closed, reply);
}

WebDistanceResult resultOf(const QByteArray& bytes)
{
    WebDistanceReply reply;
    EXPECT_EQ(WebDistanceReply::parse(bytes, true, reply), WebDistanceReply::Outcome::Complete);
    return reply.result();
}

using Outcome = WebDistanceReply::Outcome;

} // namespace

TEST(WebDistanceReplyResult, AnOkReplyGivesKilometresAndTicksOutOfTownAbove15Km)
{
    const WebDistanceResult page = resultOf(http(matrix("OK")));
    EXPECT_TRUE(page.success);
    EXPECT_EQ(page.kilometres, QStringLiteral("15,2"));
    EXPECT_TRUE(page.outOfTown);
    EXPECT_EQ(page.originAddress, QStringLiteral("Луцьк, Волинська область, Україна"));
    EXPECT_EQ(page.destinationAddress, QStringLiteral("Ківерці, Волинська область, Україна"));
    EXPECT_TRUE(page.errorName.isEmpty());

    // The duration's <value> comes first in the element and is never taken as the distance.
    const std::pair<const char*, std::pair<const char*, bool>> cases[] = {
        {"14999", {"14,999", false}},  {"15000", {"15", false}},   {"15001", {"15,001", true}},
        {"0", {"0", false}},           {"200", {"0,2", false}},    {"1500.5", {"1,5005", false}},
        {"1500,5", {"1,5005", false}}, {" 42 ", {"0,042", false}},
    };
    for (const auto& [value, expected] : cases) {
        const WebDistanceResult result = resultOf(http(matrix("OK", value)));
        EXPECT_TRUE(result.success) << value;
        EXPECT_EQ(result.kilometres, QLatin1String(expected.first)) << value;
        EXPECT_EQ(result.outOfTown, expected.second) << value;
    }
}

TEST(WebDistanceReplyResult, AnOkReplyWithoutAReadableDistanceIsAnErrorPageNeverZeroKm)
{
    for (const QByteArray& value : {QByteArray(), QByteArray(""), QByteArray("abc"), QByteArray("-5"),
                                    QByteArray("inf"), QByteArray("nan")}) {
        const WebDistanceResult page = resultOf(http(matrix("OK", value)));
        EXPECT_FALSE(page.success) << value.constData();
        EXPECT_TRUE(page.kilometres.isEmpty()) << value.constData();
        EXPECT_FALSE(page.explanation.isEmpty()) << value.constData();
        EXPECT_FALSE(page.outOfTown);
    }
}

TEST(WebDistanceReplyResult, ZeroResultsAndNotFoundExplainThemselvesOtherStatusesOnlyNameIt)
{
    WebDistanceResult page = resultOf(http(matrix("ZERO_RESULTS", QByteArray())));
    EXPECT_FALSE(page.success);
    EXPECT_EQ(page.errorName, QStringLiteral("ZERO_RESULTS"));
    EXPECT_EQ(
        page.explanation,
        QStringLiteral("Немає можливості розрахувати автомобільний шлях.\rТак як можливо між цими пунктами "
                       "немає автомобільних доріг (різні континенти, тощо)\rЗмініть / доповніть на "
                       "потрібні показники ваші дані"));
    EXPECT_EQ(page.originAddress, QStringLiteral("Луцьк, Волинська область, Україна"));

    // A distance beside a status other than OK is not shown.
    page = resultOf(http(matrix("NOT_FOUND")));
    EXPECT_FALSE(page.success);
    EXPECT_EQ(page.errorName, QStringLiteral("NOT_FOUND"));
    EXPECT_EQ(page.explanation,
              QStringLiteral("Один або декілька пунктів не найдено.\rПеревірте вірність вводу "
                             "адрес.\rЗмініть / доповніть на потрібні показники ваші дані"));
    EXPECT_TRUE(page.kilometres.isEmpty());

    page = resultOf(http(matrix("MAX_ROUTE_LENGTH_EXCEEDED", QByteArray())));
    EXPECT_EQ(page.errorName, QStringLiteral("MAX_ROUTE_LENGTH_EXCEEDED"));
    EXPECT_TRUE(page.explanation.isEmpty());

    // A refused key has no element: the response's own status names the error.
    page = resultOf(http("<DistanceMatrixResponse><status>REQUEST_DENIED</status><error_message>The "
                         "provided API key is invalid.</error_message></DistanceMatrixResponse>"));
    EXPECT_FALSE(page.success);
    EXPECT_EQ(page.errorName, QStringLiteral("REQUEST_DENIED"));

    // Any HTTP status but 200 is named by its code; its body is not read.
    page = resultOf("HTTP/1.1 403 Forbidden\r\nContent-Type: text/html\r\n\r\n<html><p>Forbidden");
    EXPECT_FALSE(page.success);
    EXPECT_EQ(page.errorName, QStringLiteral("HTTP 403 Forbidden"));
}

TEST(WebDistanceReplyFraming, EveryPrefixNeedsMoreBytesAndNeverFillsTheOutput)
{
    const QByteArray withoutLength = http(matrix("OK"));
    const QByteArray body = matrix("OK");
    const QByteArray withLength =
        http(body, "Content-Length: " + QByteArray::number(body.size()) + "\r\n") + "trailing junk";
    WebDistanceReply sentinel;
    ASSERT_EQ(WebDistanceReply::parse(http(matrix("NOT_FOUND")), true, sentinel), Outcome::Complete);

    const qsizetype rootEnd =
        withoutLength.indexOf("</DistanceMatrixResponse>") + qsizetype(strlen("</DistanceMatrixResponse>"));
    for (qsizetype cut = 0; cut < withoutLength.size(); ++cut) {
        WebDistanceReply out = sentinel;
        // The body has no length: only the close ends it (RFC 9112 section 6.3).
        ASSERT_EQ(WebDistanceReply::parse(withoutLength.left(cut), false, out), Outcome::NeedsMoreBytes)
            << cut;
        ASSERT_EQ(out.status(), QStringLiteral("NOT_FOUND")) << cut;
        // Closed inside the document: truncated, and the output stays as it was.
        if (cut < rootEnd) {
            ASSERT_EQ(WebDistanceReply::parse(withoutLength.left(cut), true, out), Outcome::Malformed) << cut;
            ASSERT_EQ(out.status(), QStringLiteral("NOT_FOUND")) << cut;
        } else {
            ASSERT_EQ(WebDistanceReply::parse(withoutLength.left(cut), true, out), Outcome::Complete) << cut;
            ASSERT_EQ(out.status(), QStringLiteral("OK")) << cut;
        }
    }
    EXPECT_EQ(parsed(withoutLength, false), Outcome::NeedsMoreBytes);
    EXPECT_EQ(parsed(withoutLength, true), Outcome::Complete);

    const qsizetype end = withLength.size() - qsizetype(strlen("trailing junk"));
    for (qsizetype cut = 0; cut < end; ++cut) {
        ASSERT_EQ(parsed(withLength.left(cut), false), Outcome::NeedsMoreBytes) << cut;
        // Closed before Content-Length bytes came: truncated.
        ASSERT_EQ(parsed(withLength.left(cut), true), Outcome::Malformed) << cut;
    }
    // With a length the reply is complete before the close; bytes past it are not read.
    WebDistanceReply out;
    ASSERT_EQ(WebDistanceReply::parse(withLength, false, out), Outcome::Complete);
    EXPECT_EQ(out.result().kilometres, QStringLiteral("15,2"));
}

TEST(WebDistanceReplyFraming, OddButLegalRepliesAreRead)
{
    const QByteArray body = matrix("OK", "3400");
    const QByteArray replies[] = {
        // Bare LF line ends (RFC 9112 section 2.2), no reason phrase, lower-case names.
        "HTTP/1.0 200\ncontent-length: " + QByteArray::number(body.size()) + "\n\n" + body,
        // A folded field line (RFC 9112 section 5.2) and two equal lengths.
        "HTTP/1.1 200 OK\r\nServer: stand-in\r\n  folded on\r\nContent-Length: " +
            QByteArray::number(body.size()) + "\r\nContent-Length:" + QByteArray::number(body.size()) +
            "\r\n\r\n" + body,
        // No header fields at all.
        "HTTP/1.0 200 OK\r\n\r\n" + body,
    };
    for (const QByteArray& reply : replies) {
        const WebDistanceResult page = resultOf(reply);
        EXPECT_TRUE(page.success) << reply.constData();
        EXPECT_EQ(page.kilometres, QStringLiteral("3,4"));
    }
    // 204 has no body, whatever follows.
    WebDistanceReply out;
    EXPECT_EQ(WebDistanceReply::parse("HTTP/1.0 204 No Content\r\n\r\n", false, out), Outcome::Complete);
    EXPECT_EQ(out.result().errorName, QStringLiteral("HTTP 204 No Content"));
}

TEST(WebDistanceReplyFraming, MalformedRepliesAreRejected)
{
    const QByteArray body = matrix("OK");
    const QByteArray replies[] = {
        // Status lines.
        "<DistanceMatrixResponse/>",
        "HTTP/1.0 2000 OK\r\n\r\n" + body,
        "HTTP/1.0 20 OK\r\n\r\n" + body,
        "HTTP/1.0 200OK\r\n\r\n" + body,
        "HTTP/x.0 200 OK\r\n\r\n" + body,
        "HTTPS/1.0 200 OK\r\n\r\n" + body,
        "HTTP/1.0\r\n\r\n",
        "HTTP/1.0 100 Continue\r\n\r\nHTTP/1.0 200 OK\r\n\r\n" + body,
        // Fields.
        "HTTP/1.0 200 OK\r\nno colon here\r\n\r\n" + body,
        "HTTP/1.0 200 OK\r\nContent-Length : 5\r\n\r\n" + body,
        "HTTP/1.0 200 OK\r\n: no name\r\n\r\n" + body,
        "HTTP/1.0 200 OK\r\n folded first\r\n\r\n" + body,
        "HTTP/1.0 200 OK\r\nContent-Length: 12a\r\n\r\n" + body,
        "HTTP/1.0 200 OK\r\nContent-Length: -1\r\n\r\n" + body,
        "HTTP/1.0 200 OK\r\nContent-Length: \r\n\r\n" + body,
        "HTTP/1.0 200 OK\r\nContent-Length: 99999999999999\r\n\r\n" + body,
        "HTTP/1.0 200 OK\r\nContent-Length: 10\r\nContent-Length: 11\r\n\r\n" + body,
        "HTTP/1.0 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nabcde\r\n0\r\n\r\n",
        // Bodies.
        "HTTP/1.0 200 OK\r\n\r\n",
        "HTTP/1.0 200 OK\r\n\r\n<DistanceMatrixResponse><status>OK</status>",
        "HTTP/1.0 200 OK\r\n\r\n" + body + "<second/>",
        "HTTP/1.0 200 OK\r\n\r\n<a><b></a></b>",
        "HTTP/1.0 200 OK\r\n\r\nnot xml at all",
        "HTTP/1.0 200 OK\r\n\r\n" + QByteArray(WebDistanceReply::kMaxReplySize, ' '),
        QByteArray(70 * 1024, 'H'),
    };
    for (const QByteArray& reply : replies) {
        WebDistanceReply out;
        EXPECT_EQ(WebDistanceReply::parse(reply, true, out), Outcome::Malformed)
            << reply.left(80).constData();
        EXPECT_EQ(out.httpStatus(), 0);
    }
    // An endless header block is malformed before the close, too.
    EXPECT_EQ(parsed("HTTP/1.0 200 OK\r\n" + QByteArray(70 * 1024, 'x'), false), Outcome::Malformed);
}
