#include "orders/intake/WebDistanceClient.h"

#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "support/WaitFor.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <deque>
#include <gtest/gtest.h>
#include <memory>

namespace {

// What the stand-in service does with one connection, once the request has come.
struct Behaviour
{
    enum Kind { Reply, CloseWithoutData, NeverAnswer } kind = Reply;
    QByteArray reply;
    int pieceSize = 0; // 0: in one write
    bool closeAfterReply = true;
};

// A distance service on 127.0.0.1 at a free port: it records each request and answers
// the connections in turn as told.
class StandInService
{
public:
    StandInService()
    {
        EXPECT_TRUE(m_server.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] { accept(); });
    }
    quint16 port() const { return m_server.serverPort(); }
    void then(Behaviour behaviour) { m_behaviours.push_back(std::move(behaviour)); }
    const QList<QByteArray>& requests() const { return m_requests; }
    int connections() const { return m_connections; }

private:
    void accept()
    {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            ++m_connections;
            Behaviour behaviour;
            if (!m_behaviours.empty()) {
                behaviour = m_behaviours.front();
                m_behaviours.pop_front();
            }
            auto request = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request, behaviour] {
                *request += socket->readAll();
                // The request ends with an empty line, LF LF or CR LF CR LF.
                if (!request->endsWith("\n\n") && !request->endsWith("\r\n\r\n"))
                    return;
                m_requests.append(*request);
                answer(socket, behaviour);
            });
        }
    }

    void answer(QTcpSocket* socket, const Behaviour& behaviour)
    {
        if (behaviour.kind == Behaviour::NeverAnswer)
            return;
        if (behaviour.kind == Behaviour::CloseWithoutData) {
            socket->disconnectFromHost();
            return;
        }
        const int size = behaviour.pieceSize > 0 ? behaviour.pieceSize : int(behaviour.reply.size());
        auto pieces = std::make_shared<std::deque<QByteArray>>();
        for (qsizetype at = 0; at < behaviour.reply.size(); at += size)
            pieces->push_back(behaviour.reply.mid(at, size));
        sendNext(socket, pieces, behaviour.closeAfterReply);
    }

    // One piece per turn of the event loop, a little apart, so that they arrive apart.
    void sendNext(QTcpSocket* socket, std::shared_ptr<std::deque<QByteArray>> pieces, bool close)
    {
        if (pieces->empty()) {
            if (close)
                socket->disconnectFromHost();
            return;
        }
        socket->write(pieces->front());
        socket->flush();
        pieces->pop_front();
        QTimer::singleShot(2, socket, [this, socket, pieces, close] { sendNext(socket, pieces, close); });
    }

    QTcpServer m_server;
    std::deque<Behaviour> m_behaviours;
    QList<QByteArray> m_requests;
    int m_connections = 0;
};

QByteArray okReply(const QByteArray& metres, bool withLength = false)
{
    const QByteArray body =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><DistanceMatrixResponse><status>OK</status>"
        "<origin_address>Луцьк, вулиця Соборності, 5</origin_address>"
        "<destination_address>Ківерці, Україна</destination_address><row><element><status>OK</status>"
        "<duration><value>900</value></duration><distance><value>" +
        metres + "</value><text>км</text></distance></element></row></DistanceMatrixResponse>";
    QByteArray headers = "HTTP/1.0 200 OK\r\nContent-Type: application/xml; charset=UTF-8\r\n";
    if (withLength)
        headers += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    return headers + "\r\n" + body;
}

class WebDistanceClientTest : public ::testing::Test
{
protected:
    static constexpr int kTimeoutMs = 400;

    WebDistanceClientTest()
    {
        const QString group = SettingsStore::kServerGroup;
        m_settings.setValue(group, SettingKeys::kWebDistanceHost, QStringLiteral("127.0.0.1"));
        m_settings.setValue(group, SettingKeys::kWebDistancePort, QString::number(m_service.port()));
        m_settings.setValue(group, SettingKeys::kWebDistancePath,
                            QStringLiteral("/maps/api/distancematrix/xml"));
        m_settings.setValue(group, SettingKeys::kWebDistanceTimeout, QString::number(kTimeoutMs));
        m_settings.setValue(SettingsStore::kUserGroup, SettingKeys::kMyCity, QStringLiteral("Луцьк"));
        QObject::connect(&m_client, &WebDistanceClient::resultReady, &m_client,
                         [this](const WebDistanceResult& result) { m_results.append(result); });
        QObject::connect(&m_client, &WebDistanceClient::failed, &m_client,
                         [this](const QString& message) { m_failures.append(message); });
    }

    static WebDistancePlaces places()
    {
        return {QStringLiteral("Соборності"), QStringLiteral("5"), true,
                QStringLiteral("Ківерці"),    QString(),           false};
    }
    // Waits for the end of the calculation, then a little more: exactly one ending comes.
    bool ended()
    {
        const bool done = waitFor([this] { return m_results.size() + m_failures.size() > 0; }, 3000);
        settle(50);
        return done && m_results.size() + m_failures.size() == 1 && !m_client.busy();
    }

    StandInService m_service;
    SettingsStore m_settings;
    WebDistanceClient m_client{m_settings};
    QList<WebDistanceResult> m_results;
    QStringList m_failures;
};

} // namespace

TEST_F(WebDistanceClientTest, AReplyInManyPiecesGivesTheDistanceForTheEscapedCyrillicRequest)
{
    m_service.then({Behaviour::Reply, okReply("15200"), 7, true});
    m_client.calculate(places());
    ASSERT_TRUE(ended()) << m_failures.join(QLatin1Char('|')).toStdString();
    ASSERT_EQ(m_results.size(), 1);
    EXPECT_TRUE(m_results[0].success);
    EXPECT_EQ(m_results[0].kilometres, QStringLiteral("15,2"));
    EXPECT_TRUE(m_results[0].outOfTown);
    EXPECT_EQ(m_results[0].originAddress, QStringLiteral("Луцьк, вулиця Соборності, 5"));
    ASSERT_EQ(m_service.requests().size(), 1);
    EXPECT_EQ(m_service.requests()[0],
              QByteArray(
                  "GET /maps/api/distancematrix/xml?origins=%D0%9B%D1%83%D1%86%D1%8C%D0%BA+%D0%A1%D0%BE%D0%B1"
                  "%D0%BE%D1%80%D0%BD%D0%BE%D1%81%D1%82%D1%96+5&destinations=%D0%9A%D1%96%D0%B2%D0%B5%D1%80"
                  "%D1%86%D1%96&mode=driving&language=uk-UK&sensor=false HTTP/1.0\n\n"));
}

TEST_F(WebDistanceClientTest, AReplyWithItsLengthEndsBeforeTheServiceCloses)
{
    m_service.then({Behaviour::Reply, okReply("14999", true), 0, false});
    m_client.calculate(places());
    ASSERT_TRUE(ended());
    ASSERT_EQ(m_results.size(), 1);
    EXPECT_EQ(m_results[0].kilometres, QStringLiteral("14,999"));
    EXPECT_FALSE(m_results[0].outOfTown);
}

TEST_F(WebDistanceClientTest, ServiceStatusesAndUnreadableRepliesReachTheDispatcher)
{
    const QByteArray notFound =
        "HTTP/1.0 200 OK\r\n\r\n<DistanceMatrixResponse><status>OK</status><row><element><status>NOT_FOUND"
        "</status></element></row></DistanceMatrixResponse>";
    m_service.then({Behaviour::Reply, notFound, 5, true});
    m_client.calculate(places());
    ASSERT_TRUE(ended());
    ASSERT_EQ(m_results.size(), 1);
    EXPECT_FALSE(m_results[0].success);
    EXPECT_EQ(m_results[0].errorName, QStringLiteral("NOT_FOUND"));
    EXPECT_TRUE(m_results[0].explanation.startsWith(QStringLiteral("Один або декілька пунктів не найдено.")));

    m_results.clear();
    m_service.then({Behaviour::Reply, "<html>Bad gateway</html>", 0, true});
    m_client.calculate(places());
    ASSERT_TRUE(ended());
    EXPECT_EQ(m_failures, QStringList{WebDistanceClient::kUnreadableReplyMessage});
}

TEST_F(WebDistanceClientTest, NoReplyRefusedOrSilentServicesEndInTheirMessages)
{
    // Closed without a byte.
    m_service.then({Behaviour::CloseWithoutData, {}, 0, true});
    m_client.calculate(places());
    ASSERT_TRUE(ended());
    EXPECT_EQ(m_failures, QStringList{WebDistanceClient::kNoConnectionMessage});
    EXPECT_EQ(m_failures[0], QStringLiteral("Немає зєднання з сайтом !!!\rПеревірте інтернет зєднання !!!"));

    // Never answers: the timeout ends it, not sooner.
    m_failures.clear();
    m_service.then({Behaviour::NeverAnswer, {}, 0, false});
    QElapsedTimer clock;
    clock.start();
    m_client.calculate(places());
    ASSERT_TRUE(ended());
    EXPECT_GE(clock.elapsed(), kTimeoutMs - 20);
    EXPECT_EQ(m_failures, QStringList{WebDistanceClient::kLostConnectionMessage});
    EXPECT_EQ(m_service.requests().size(), 2);

    // A port nobody listens on: refused at once.
    QTcpServer closedPort;
    ASSERT_TRUE(closedPort.listen(QHostAddress::LocalHost, 0));
    const quint16 port = closedPort.serverPort();
    closedPort.close();
    m_settings.setValue(SettingsStore::kServerGroup, SettingKeys::kWebDistancePort, QString::number(port));
    m_failures.clear();
    m_client.calculate(places());
    ASSERT_TRUE(ended());
    EXPECT_EQ(m_failures, QStringList{QStringLiteral("Пропало зєднання з сайтом !!!\rПопробуйте ще раз.")});
}

TEST_F(WebDistanceClientTest, BothEndsAreNeededBeforeAnyConnection)
{
    WebDistancePlaces noStart = places();
    noStart.startPlace = QStringLiteral("   ");
    m_client.calculate(noStart);
    WebDistancePlaces noDestination = places();
    noDestination.destinationPlace.clear();
    noDestination.destinationMyCity = true;
    m_client.calculate(noDestination);
    settle(100);
    EXPECT_EQ(m_failures, (QStringList{QStringLiteral("Не вибраний початковий пункт"),
                                       WebDistanceClient::kNoDestinationMessage}));
    EXPECT_EQ(m_service.connections(), 0);
    EXPECT_FALSE(m_client.busy());
}

TEST_F(WebDistanceClientTest, ANewCalculationOrCancelDropsTheOneInProgress)
{
    m_service.then({Behaviour::NeverAnswer, {}, 0, false});
    m_service.then({Behaviour::Reply, okReply("3000"), 11, true});
    m_client.calculate(places());
    ASSERT_TRUE(waitFor([this] { return m_service.requests().size() == 1; }));
    m_client.calculate(places());
    ASSERT_TRUE(ended());
    ASSERT_EQ(m_results.size(), 1);
    EXPECT_EQ(m_results[0].kilometres, QStringLiteral("3"));
    // The first one's timeout is gone with it.
    settle(kTimeoutMs + 100);
    EXPECT_TRUE(m_failures.isEmpty());

    m_results.clear();
    m_service.then({Behaviour::Reply, okReply("3000"), 0, true});
    m_client.calculate(places());
    m_client.cancel();
    settle(kTimeoutMs + 100);
    EXPECT_TRUE(m_results.isEmpty());
    EXPECT_TRUE(m_failures.isEmpty());
    EXPECT_FALSE(m_client.busy());
}
