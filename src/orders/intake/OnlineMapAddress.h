#pragma once

#include <QPoint>
#include <QString>
#include <QUrl>

class SettingsStore;

// The binding of internal map coordinates to longitude and latitude (PRIVIAZKA_VISICOM
// of TARIF.INI): a reference point known both ways and the spans that match.
struct MapBinding
{
    double x = 0; // the reference point on the internal map
    double y = 0;
    double longitude = 0; // the same point on the globe
    double latitude = 0;
    double mapSpanX = 0; // a map span and the degrees it covers
    double mapSpanY = 0;
    double longitudeSpan = 0;
    double latitudeSpan = 0;

    static MapBinding fromSettings(const SettingsStore& settings);

    // Without a map span every point would divide by zero: the binding is not set up.
    bool usable() const { return mapSpanX != 0 && mapSpanY != 0; }
    // The reference coordinates count as whole numbers, as the binding was measured on
    // whole pixels.
    double longitudeOf(int mapX) const;
    double latitudeOf(int mapY) const;
};

// The address of a route between two points of the internal map in the online city-map
// service, opened in the web browser.
namespace OnlineMapAddress {

// The service's page; its fragment names the view and the route's two markers.
QString baseAddress();
// A coordinate with "." as the decimal separator and no needless zeros: "25.3415".
QString coordinate(double degrees);
// base "#lng=" start ";lat=" start ";z=10;map=ukraine_ru;lngm=" start ";latm=" start
// ";lngms=" start ";latms=" start ";lngmf=" destination ";latmf=" destination ";".
QUrl route(const QString& base, const MapBinding& binding, QPoint start, QPoint destination);

} // namespace OnlineMapAddress
