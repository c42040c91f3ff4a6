#include "orders/intake/WebDistanceReply.h"

#include <QStringList>
#include <QXmlStreamReader>
#include <cmath>

namespace {

using Outcome = WebDistanceReply::Outcome;

// A header block larger than this is not a distance service's.
constexpr qsizetype kMaxHeaderSize = 64 * 1024;
constexpr double kOutOfTownMetres = 15000;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// token characters of a field name (RFC 9110 section 5.6.2).
bool isTokenChar(char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isDigit(c))
        return true;
    return QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

// status-line = HTTP-version SP status-code SP [ reason-phrase ] (RFC 9112 section 4);
// a missing SP before an empty reason is accepted, as section 4 lets clients be lenient.
bool readStatusLine(QByteArrayView line, int& status, QString& reason)
{
    constexpr qsizetype kVersionLength = 8; // "HTTP/1.0"
    if (line.size() < kVersionLength + 4 || !line.startsWith("HTTP/") || !isDigit(line[5]) ||
        line[6] != '.' || !isDigit(line[7]) || line[8] != ' ')
        return false;
    if (!isDigit(line[9]) || !isDigit(line[10]) || !isDigit(line[11]))
        return false;
    if (line.size() > 12 && line[12] != ' ')
        return false;
    status = (line[9] - '0') * 100 + (line[10] - '0') * 10 + (line[11] - '0');
    reason = line.size() > 13 ? QString::fromLatin1(line.sliced(13)) : QString();
    return true;
}

// The next line from pos, without its LF and a CR before it: a recipient may take a
// bare LF as the end of a line (RFC 9112 section 2.2). None when no LF has come yet.
std::optional<QByteArrayView> nextLine(QByteArrayView bytes, qsizetype& pos)
{
    if (pos >= bytes.size())
        return std::nullopt;
    const qsizetype end = bytes.indexOf('\n', pos);
    if (end < 0)
        return std::nullopt;
    QByteArrayView line = bytes.sliced(pos, end - pos);
    if (!line.isEmpty() && line.back() == '\r')
        line.chop(1);
    pos = end + 1;
    return line;
}

struct Framing
{
    std::optional<qsizetype> contentLength;
    bool transferEncoding = false;
};

// One field line; false when it is not "name: value".
bool readField(QByteArrayView line, Framing& framing)
{
    const qsizetype colon = line.indexOf(':');
    // No whitespace between the name and the colon (RFC 9112 section 5.1).
    if (colon <= 0)
        return false;
    const QByteArrayView name = line.first(colon);
    for (char c : name)
        if (!isTokenChar(c))
            return false;
    const QByteArrayView value = line.sliced(colon + 1).trimmed();
    if (name.compare("Transfer-Encoding", Qt::CaseInsensitive) == 0)
        framing.transferEncoding = true;
    if (name.compare("Content-Length", Qt::CaseInsensitive) == 0) {
        // Digits only, small enough for a distance reply; several fields must agree
        // (RFC 9112 section 6.3, rule 5).
        if (value.isEmpty() || value.size() > 9)
            return false;
        qsizetype length = 0;
        for (char c : value) {
            if (!isDigit(c))
                return false;
            length = length * 10 + (c - '0');
        }
        if (length > WebDistanceReply::kMaxReplySize)
            return false;
        if (framing.contentLength && *framing.contentLength != length)
            return false;
        framing.contentLength = length;
    }
    return true;
}

// The metres of <value>: "." or "," as the decimal mark; nothing for anything that is
// not a finite, non-negative number.
std::optional<double> metresOf(const QString& text)
{
    QString number = text.trimmed();
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double metres = number.toDouble(&ok);
    if (!ok || !std::isfinite(metres) || metres < 0)
        return std::nullopt;
    return metres;
}

const QString kLineBreak = QStringLiteral("\r");

QString explanationOf(const QString& status)
{
    if (status == QLatin1String("ZERO_RESULTS"))
        return QStringList{QStringLiteral("Немає можливості розрахувати автомобільний шлях."),
                           QStringLiteral("Так як можливо між цими пунктами немає автомобільних доріг "
                                          "(різні континенти, тощо)"),
                           QStringLiteral("Змініть / доповніть на потрібні показники ваші дані")}
            .join(kLineBreak);
    if (status == QLatin1String("NOT_FOUND"))
        return QStringList{QStringLiteral("Один або декілька пунктів не найдено."),
                           QStringLiteral("Перевірте вірність вводу адрес."),
                           QStringLiteral("Змініть / доповніть на потрібні показники ваші дані")}
            .join(kLineBreak);
    return QString();
}

} // namespace

WebDistanceReply::Outcome WebDistanceReply::parse(const QByteArray& bytes, bool closed, WebDistanceReply& out)
{
    const Outcome unfinished = closed ? Outcome::Malformed : Outcome::NeedsMoreBytes;
    if (bytes.size() > kMaxReplySize)
        return Outcome::Malformed;

    WebDistanceReply reply;
    qsizetype pos = 0;
    const std::optional<QByteArrayView> statusLine = nextLine(bytes, pos);
    if (!statusLine)
        return bytes.size() > kMaxHeaderSize ? Outcome::Malformed : unfinished;
    if (!readStatusLine(*statusLine, reply.m_httpStatus, reply.m_reasonPhrase))
        return Outcome::Malformed;
    // An HTTP/1.0 request is never answered with an interim response (RFC 9110 section 15.2).
    if (reply.m_httpStatus < 200)
        return Outcome::Malformed;

    Framing framing;
    bool fieldSeen = false;
    for (;;) {
        const std::optional<QByteArrayView> line = nextLine(bytes, pos);
        if (!line)
            return pos > kMaxHeaderSize || bytes.size() > kMaxHeaderSize ? Outcome::Malformed : unfinished;
        if (line->isEmpty())
            break;
        if (pos > kMaxHeaderSize)
            return Outcome::Malformed;
        // A folded line continues the previous field (RFC 9112 section 5.2); only
        // Content-Length is read, and a folded length is not a number.
        if (line->front() == ' ' || line->front() == '\t') {
            if (!fieldSeen)
                return Outcome::Malformed;
            continue;
        }
        if (!readField(*line, framing))
            return Outcome::Malformed;
        fieldSeen = true;
    }
    // The request is HTTP/1.0, so a server must not send Transfer-Encoding (RFC 9112
    // section 6.1): a reply with it cannot be framed.
    if (framing.transferEncoding)
        return Outcome::Malformed;

    QByteArray body;
    // 204 and 304 have no body (RFC 9112 section 6.3, rule 1).
    if (reply.m_httpStatus != 204 && reply.m_httpStatus != 304) {
        const qsizetype available = bytes.size() - pos;
        if (framing.contentLength) {
            if (available < *framing.contentLength)
                return unfinished;
            body = bytes.mid(pos, *framing.contentLength);
        } else {
            if (!closed)
                return Outcome::NeedsMoreBytes;
            body = bytes.mid(pos);
        }
    }
    // Only a 200 carries the distance matrix; any other status is shown by its code.
    if (reply.m_httpStatus == 200 && !reply.readBody(body))
        return Outcome::Malformed;
    out = reply;
    return Outcome::Complete;
}

bool WebDistanceReply::readBody(const QByteArray& body)
{
    QXmlStreamReader xml(body);
    QString responseStatus;
    std::optional<QString> elementStatus;
    std::optional<QString> origin;
    std::optional<QString> destination;
    int depth = 0;
    int elementDepth = 0;  // depth of the first <element>, 0 outside it
    int distanceDepth = 0; // depth of the first <distance>, 0 outside it
    bool elementDone = false;
    bool distanceDone = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (depth == elementDepth) {
                elementDepth = 0;
                elementDone = true;
            }
            if (depth == distanceDepth) {
                distanceDepth = 0;
                distanceDone = true;
            }
            --depth;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        ++depth;
        const QStringView name = xml.name();
        // Each leaf is read whole: readElementText() ends on its end tag, so the depth
        // goes back down here.
        auto leafText = [&xml, &depth]() {
            const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            --depth;
            return text;
        };
        if (name == QLatin1String("element") && !elementDone && elementDepth == 0) {
            elementDepth = depth;
        } else if (name == QLatin1String("distance") && !distanceDone && distanceDepth == 0) {
            distanceDepth = depth;
        } else if (name == QLatin1String("status")) {
            if (elementDepth != 0 && !elementStatus)
                elementStatus = leafText();
            else if (depth == 2 && responseStatus.isEmpty())
                responseStatus = leafText();
        } else if (name == QLatin1String("origin_address") && !origin) {
            origin = leafText();
        } else if (name == QLatin1String("destination_address") && !destination) {
            destination = leafText();
        } else if (name == QLatin1String("value") && distanceDepth != 0 && !m_distanceValue) {
            m_distanceValue = leafText();
        }
    }
    if (xml.hasError())
        return false;
    m_status = elementStatus ? *elementStatus : responseStatus;
    m_originAddress = origin.value_or(QString());
    m_destinationAddress = destination.value_or(QString());
    return true;
}

WebDistanceResult WebDistanceReply::result() const
{
    WebDistanceResult page;
    page.originAddress = m_originAddress;
    page.destinationAddress = m_destinationAddress;
    if (m_httpStatus != 200) {
        page.errorName = QStringLiteral("HTTP %1 %2").arg(m_httpStatus).arg(m_reasonPhrase).trimmed();
        return page;
    }
    page.errorName = m_status;
    if (m_status != QLatin1String("OK")) {
        page.explanation = explanationOf(m_status);
        return page;
    }
    const std::optional<double> metres = m_distanceValue ? metresOf(*m_distanceValue) : std::nullopt;
    if (!metres) {
        // An answer without a distance is not a trip of 0 km.
        page.explanation = QStringLiteral("Сайт не повідомив відстань між пунктами.");
        return page;
    }
    page.success = true;
    page.errorName.clear();
    page.kilometres = kilometresText(*metres);
    page.outOfTown = *metres > kOutOfTownMetres;
    return page;
}

QString WebDistanceReply::kilometresText(double metres)
{
    QString text;
    // Whole metres are written exactly; 14999 m is 14,999 and never 14,9990000001.
    if (metres == std::floor(metres) && metres < 1e15) {
        const auto whole = static_cast<qint64>(metres);
        text = QString::number(whole / 1000);
        QString rest = QStringLiteral("%1").arg(whole % 1000, 3, 10, QLatin1Char('0'));
        while (rest.endsWith(QLatin1Char('0')))
            rest.chop(1);
        if (!rest.isEmpty())
            text += QLatin1Char(',') + rest;
        return text;
    }
    text = QString::number(metres / 1000, 'g', 15);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}
