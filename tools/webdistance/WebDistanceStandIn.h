#pragma once

#include <QByteArray>
#include <QString>
#include <QTcpServer>

// A stand-in for the web distance service, for the demo desk and the tests: it listens
// on 127.0.0.1 only and answers the order form's distance request (one GET over HTTP/1.0,
// the places in "origins" and "destinations") with the distance matrix XML the
// workstation reads, then closes the connection. The distance is made up from the two
// place texts, the same every time for the same two places:
//   - an end without a letter in it (say "123456789") is NOT_FOUND;
//   - two places of one town (the same first word of more than three letters, as the
//     order form puts the own city first) are 1.2 to 10 km apart;
//   - places of two towns are 8 to 60 km apart.
class WebDistanceStandIn
{
public:
    struct Options
    {
        quint16 port = 0; // 0: any free port
        QString path = QStringLiteral("/maps/api/distancematrix/xml");
        QString apiKey; // when set, a request without this key is denied
    };

    explicit WebDistanceStandIn(Options options);

    // False with the reason when the port cannot be had.
    bool listen(QString& error);
    quint16 port() const { return m_server.serverPort(); }

    // The made-up distance in metres between two place texts, whichever is the start.
    static qint64 metresBetween(const QString& origin, const QString& destination);
    // The whole answer to one request: status line, header lines and body.
    QByteArray answer(const QByteArray& request) const;

private:
    void accept();

    Options m_options;
    QTcpServer m_server;
};
