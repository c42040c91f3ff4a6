#include "WebDistanceStandIn.h"

#include <QHash>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTextStream>
#include <QTimer>
#include <QXmlStreamWriter>
#include <memory>

namespace {

// A request line and a few header lines: anything longer is not the workstation's.
constexpr qsizetype kMaxRequestSize = 16 * 1024;
// A client that connects and never finishes its request is let go.
constexpr int kIdleMs = 30000;
// The duration in the reply: an average speed of 50 km/h.
constexpr double kMetresPerSecond = 50000.0 / 3600.0;

QByteArray plainAnswer(const QByteArray& statusLine, const QByteArray& text)
{
    return "HTTP/1.0 " + statusLine + "\r\nContent-Type: text/plain; charset=UTF-8\r\nContent-Length: " +
           QByteArray::number(text.size()) + "\r\nConnection: close\r\n\r\n" + text;
}

// The query's values: "+" is a blank and "%XX" a byte, as the order form escapes them
// (application/x-www-form-urlencoded); the bytes are UTF-8.
QHash<QString, QString> queryValues(const QByteArray& query)
{
    QHash<QString, QString> values;
    for (const QByteArray& pair : query.split('&')) {
        const qsizetype equals = pair.indexOf('=');
        if (equals <= 0)
            continue;
        QByteArray value = pair.mid(equals + 1);
        value.replace('+', ' ');
        const QString key = QString::fromUtf8(QByteArray::fromPercentEncoding(pair.left(equals)));
        // The first of a repeated key counts.
        if (!values.contains(key))
            values.insert(key, QString::fromUtf8(QByteArray::fromPercentEncoding(value)));
    }
    return values;
}

bool hasLetter(const QString& text)
{
    for (const QChar c : text)
        if (c.isLetter())
            return true;
    return false;
}

QString normalised(const QString& text)
{
    return text.simplified().toLower();
}

// The town a place names: its first word of more than three letters, so that "с.",
// "м." or "смт" before a name do not make two villages one town.
QString townOf(const QString& text)
{
    static const QRegularExpression separators(QStringLiteral("[^\\p{L}\\p{N}]+"));
    for (const QString& word : text.split(separators, Qt::SkipEmptyParts))
        if (word.size() > 3)
            return word;
    return QString();
}

// FNV-1a: the same number in every run, unlike qHash, which is seeded per process.
quint32 stableHash(const QByteArray& bytes)
{
    quint32 hash = 2166136261u;
    for (const char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 16777619u;
    }
    return hash;
}

// The address the service "found": the place as typed, in the country.
QString addressOf(const QString& place)
{
    const QString simplified = place.simplified();
    return hasLetter(simplified) ? simplified + QStringLiteral(", Україна") : simplified;
}

QByteArray xmlAnswer(const QString& status, const QString& origin, const QString& destination,
                     const QString& elementStatus, qint64 metres)
{
    QByteArray body;
    QXmlStreamWriter xml(&body);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("DistanceMatrixResponse"));
    xml.writeTextElement(QStringLiteral("status"), status);
    if (status == QLatin1String("OK")) {
        xml.writeTextElement(QStringLiteral("origin_address"), addressOf(origin));
        xml.writeTextElement(QStringLiteral("destination_address"), addressOf(destination));
        xml.writeStartElement(QStringLiteral("row"));
        xml.writeStartElement(QStringLiteral("element"));
        xml.writeTextElement(QStringLiteral("status"), elementStatus);
        if (elementStatus == QLatin1String("OK")) {
            const qint64 seconds = qRound64(double(metres) / kMetresPerSecond);
            xml.writeStartElement(QStringLiteral("duration"));
            xml.writeTextElement(QStringLiteral("value"), QString::number(seconds));
            xml.writeTextElement(QStringLiteral("text"), QStringLiteral("%1 хв").arg((seconds + 59) / 60));
            xml.writeEndElement();
            xml.writeStartElement(QStringLiteral("distance"));
            xml.writeTextElement(QStringLiteral("value"), QString::number(metres));
            xml.writeTextElement(QStringLiteral("text"),
                                 QStringLiteral("%1 км").arg(double(metres) / 1000.0, 0, 'f', 1));
            xml.writeEndElement();
        }
        xml.writeEndElement(); // element
        xml.writeEndElement(); // row
    } else {
        xml.writeTextElement(QStringLiteral("error_message"),
                             status == QLatin1String("REQUEST_DENIED")
                                 ? QStringLiteral("The provided API key is invalid.")
                                 : QStringLiteral("Both origins and destinations are required."));
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return "HTTP/1.0 200 OK\r\nContent-Type: application/xml; charset=UTF-8\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

} // namespace

WebDistanceStandIn::WebDistanceStandIn(Options options) : m_options(std::move(options))
{
    QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] { accept(); });
}

bool WebDistanceStandIn::listen(QString& error)
{
    // Loopback only: the stand-in is for this desk, never for the network.
    if (m_server.listen(QHostAddress::LocalHost, m_options.port))
        return true;
    error = m_server.errorString();
    return false;
}

void WebDistanceStandIn::accept()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(kIdleMs, socket, [socket] { socket->abort(); });
        auto request = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
            if (socket->state() != QAbstractSocket::ConnectedState)
                return;
            *request += socket->readAll();
            QByteArray reply;
            if (request->size() > kMaxRequestSize)
                reply = plainAnswer("431 Request Header Fields Too Large", "request too large\n");
            // The order form ends its request with LF LF, or CR LF CR LF with a Host line.
            else if (request->contains("\n\n") || request->contains("\r\n\r\n"))
                reply = answer(*request);
            else
                return;
            socket->write(reply);
            // HTTP/1.0: the end of the connection ends the reply.
            socket->disconnectFromHost();
        });
    }
}

qint64 WebDistanceStandIn::metresBetween(const QString& origin, const QString& destination)
{
    QString a = normalised(origin);
    QString b = normalised(destination);
    if (a == b)
        return 0;
    if (b < a)
        std::swap(a, b);
    const quint32 hash = stableHash(a.toUtf8() + '\n' + b.toUtf8());
    if (!townOf(a).isEmpty() && townOf(a) == townOf(b))
        return 1200 + hash % 8800;
    return 8000 + hash % 52000;
}

QByteArray WebDistanceStandIn::answer(const QByteArray& request) const
{
    QByteArray line = request.left(request.indexOf('\n'));
    if (line.endsWith('\r'))
        line.chop(1);
    const QList<QByteArray> parts = line.split(' ');
    if (parts.size() != 3 || !parts[2].startsWith("HTTP/1."))
        return plainAnswer("400 Bad Request", "not an HTTP/1.x request line\n");
    if (parts[0] != "GET")
        return plainAnswer("405 Method Not Allowed", "only GET is answered\n");
    const QByteArray& target = parts[1];
    const qsizetype question = target.indexOf('?');
    const QByteArray path = question < 0 ? target : target.left(question);
    if (QString::fromUtf8(path) != m_options.path)
        return plainAnswer("404 Not Found", "no such path\n");
    const QHash<QString, QString> query = queryValues(question < 0 ? QByteArray() : target.mid(question + 1));

    const QString origin = query.value(QStringLiteral("origins"));
    const QString destination = query.value(QStringLiteral("destinations"));
    QString status = QStringLiteral("OK");
    if (!m_options.apiKey.isEmpty() && query.value(QStringLiteral("key")) != m_options.apiKey)
        status = QStringLiteral("REQUEST_DENIED");
    else if (origin.trimmed().isEmpty() || destination.trimmed().isEmpty())
        status = QStringLiteral("INVALID_REQUEST");
    const bool found = hasLetter(origin) && hasLetter(destination);
    const qint64 metres = found ? metresBetween(origin, destination) : 0;
    const QString elementStatus = found ? QStringLiteral("OK") : QStringLiteral("NOT_FOUND");

    QTextStream(stdout) << "webdistance: " << origin << " -> " << destination << ": "
                        << (status == QLatin1String("OK") ? elementStatus : status)
                        << (status == QLatin1String("OK") && found ? QStringLiteral(" %1 m").arg(metres)
                                                                   : QString())
                        << Qt::endl;
    return xmlAnswer(status, origin, destination, elementStatus, metres);
}
