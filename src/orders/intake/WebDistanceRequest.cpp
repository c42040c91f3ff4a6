#include "orders/intake/WebDistanceRequest.h"

#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"

namespace {

// A setting pasted into the request line or a header line must not end it early.
QString withoutControls(const QString& text)
{
    QString kept;
    for (const QChar c : text)
        if (c.unicode() >= 0x20 && c.unicode() != 0x7f)
            kept += c;
    return kept.trimmed();
}

} // namespace

WebDistanceEndpoint WebDistanceEndpoint::fromSettings(const SettingsStore& settings)
{
    WebDistanceEndpoint endpoint;
    const bool https = settings.value(SettingKeys::kWebDistanceScheme)
                           .trimmed()
                           .compare(QLatin1String("https"), Qt::CaseInsensitive) == 0;
    endpoint.scheme = https ? Scheme::Https : Scheme::Http;
    endpoint.host = settings.value(SettingKeys::kWebDistanceHost).trimmed();
    const int port = settings.value(SettingKeys::kWebDistancePort).trimmed().toInt();
    // 0, or anything that is no port, means the scheme's own (RFC 9110 sections 4.2.1, 4.2.2).
    endpoint.port = port > 0 && port <= 65535 ? static_cast<quint16>(port) : (https ? 443 : 80);
    endpoint.path = withoutControls(settings.value(SettingKeys::kWebDistancePath));
    endpoint.path.remove(QLatin1Char(' '));
    if (!endpoint.path.startsWith(QLatin1Char('/')))
        endpoint.path.prepend(QLatin1Char('/'));
    endpoint.hostHeader = withoutControls(settings.value(SettingKeys::kWebDistanceHostHeader));
    endpoint.apiKey = settings.value(SettingKeys::kWebDistanceApiKey).trimmed();
    const int timeout = settings.value(SettingKeys::kWebDistanceTimeout).trimmed().toInt();
    endpoint.timeoutMs = timeout > 0 ? timeout : kDefaultTimeoutMs;
    return endpoint;
}

QString WebDistanceRequest::placeText(const QString& myCity, const QString& place, const QString& house,
                                      bool myCityTicked)
{
    if (!myCityTicked)
        return place;
    return myCity + QLatin1Char(' ') + place + QLatin1Char(' ') + house;
}

QByteArray WebDistanceRequest::encoded(const QString& text)
{
    static const char kHex[] = "0123456789ABCDEF";
    QByteArray escaped;
    for (const char byte : text.toUtf8()) {
        const auto c = static_cast<unsigned char>(byte);
        if (c == ' ') {
            escaped += '+';
        } else if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_') {
            escaped += static_cast<char>(c);
        } else {
            escaped += '%';
            escaped += kHex[c >> 4];
            escaped += kHex[c & 0x0f];
        }
    }
    return escaped;
}

QByteArray WebDistanceRequest::text(const WebDistanceEndpoint& endpoint, const QString& origin,
                                    const QString& destination)
{
    QByteArray request = "GET " + endpoint.path.toUtf8();
    request += endpoint.path.contains(QLatin1Char('?')) ? '&' : '?';
    request += "origins=" + encoded(origin) + "&destinations=" + encoded(destination) +
               "&mode=driving&language=uk-UK&sensor=false";
    if (!endpoint.apiKey.isEmpty())
        request += "&key=" + encoded(endpoint.apiKey);
    request += " HTTP/1.0";
    if (endpoint.hostHeader.isEmpty())
        return request + "\n\n";
    // Header lines end in CR LF (RFC 9112 section 2.1).
    return request + "\r\nHost: " + endpoint.hostHeader.toUtf8() + "\r\n\r\n";
}
