#pragma once

#include <QString>
#include <QUrl>

// The online map search used where the city map is not in use: the search page's address
// with "?text=" and the city name and the place, UTF-8 and form-encoded.
namespace MapSearchAddress {

// The search page used when the settings name none.
QString defaultSearchPage();
// A space becomes "+", A-Z, a-z, 0-9 and "_" stay, every other UTF-8 byte is "%XX"
// (upper-case hex), so each Cyrillic letter is two escapes.
QByteArray formEncode(const QString& text);
// searchPage + "?text=" + the encoded "city place"; a house label is searched as its
// street and house number.
QUrl forLabel(const QString& searchPage, const QString& city, const QString& label);

} // namespace MapSearchAddress
