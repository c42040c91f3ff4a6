#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// What the route result window shows for one web distance reply: its success page
// ("TRUE") with the distance, or its error page ("ERROR") with the status as the error
// name and the explanation.
struct WebDistanceResult
{
    bool success = false;
    QString errorName;
    QString originAddress;
    QString destinationAddress;
    QString explanation; // lines joined by CR
    QString kilometres;  // decimal comma, as many decimals as the metres need: "15,2"
    // "відстань приймати по тарифу за містом": more than 15 km.
    bool outOfTown = false;

    bool operator==(const WebDistanceResult&) const = default;
};

// The reply of the web distance service: an HTTP response whose body is the XML of the
// distance matrix. parse() reads everything received so far; it fills its output only
// when it returns Complete.
class WebDistanceReply
{
public:
    enum class Outcome { Complete, NeedsMoreBytes, Malformed };

    // More than this is never a distance reply; the client stops collecting there.
    static constexpr qsizetype kMaxReplySize = 1024 * 1024;

    // closed: the service has closed the connection, which ends a body sent without
    // Content-Length (RFC 9112 section 6.3, rule 8).
    static Outcome parse(const QByteArray& bytes, bool closed, WebDistanceReply& out);

    int httpStatus() const { return m_httpStatus; }
    const QString& reasonPhrase() const { return m_reasonPhrase; }
    // The status of the first element, or of the whole response when it has no element
    // (a refused key, an invalid request).
    const QString& status() const { return m_status; }
    const QString& originAddress() const { return m_originAddress; }
    const QString& destinationAddress() const { return m_destinationAddress; }
    // The text of <distance><value>, in metres; none when the reply holds no distance.
    const std::optional<QString>& distanceValue() const { return m_distanceValue; }

    // The page the route result window shows for this reply.
    WebDistanceResult result() const;

    // The kilometres of a distance in metres as shown: "15,2", "14,999", "0".
    static QString kilometresText(double metres);

private:
    bool readBody(const QByteArray& body);

    int m_httpStatus = 0;
    QString m_reasonPhrase;
    QString m_status;
    QString m_originAddress;
    QString m_destinationAddress;
    std::optional<QString> m_distanceValue;
};
