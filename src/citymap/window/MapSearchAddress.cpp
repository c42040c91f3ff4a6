#include "citymap/window/MapSearchAddress.h"

#include "citymap/window/MapLabel.h"

namespace MapSearchAddress {

QString defaultSearchPage()
{
    return QStringLiteral("https://www.openstreetmap.org/search");
}

QByteArray formEncode(const QString& text)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray encoded;
    for (const char c : text.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == ' ')
            encoded += '+';
        else if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                 (byte >= '0' && byte <= '9') || byte == '_')
            encoded += char(byte);
        else {
            encoded += '%';
            encoded += hex[byte >> 4];
            encoded += hex[byte & 0x0F];
        }
    }
    return encoded;
}

QUrl forLabel(const QString& searchPage, const QString& city, const QString& label)
{
    const QString page = searchPage.trimmed().isEmpty() ? defaultSearchPage() : searchPage.trimmed();
    const QByteArray query = formEncode(city + QLatin1Char(' ') + MapLabel::searchWords(label));
    // Already encoded: the address must carry these bytes exactly.
    return QUrl::fromEncoded(page.toUtf8() + "?text=" + query, QUrl::TolerantMode);
}

} // namespace MapSearchAddress
