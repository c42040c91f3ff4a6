#pragma once

#include <QString>
#include <optional>

// One point of an order's route as the route list holds it, and the one place that
// builds and reads that text:
//   a building          "[" street "]{" house "}" flat   then the marker
//   a named map object   name                             then the marker
// The marker is "<" map point number ">" for a point of the internal city map and
// "</E>" for a point off it. The order stores a point without its marker (the stored
// pick-up and destination texts), and the marker is found again from the map when an
// order is edited.
//
// "<" and ">" never appear inside the parts: a flat typed as "кв. 5 <3>" would read back
// as map point 3 and measure a wrong route. The builders refuse such parts.
class RouteItem
{
public:
    static const QString kForbiddenMarksMessage;
    static const QString kOffMapMarker; // "</E>"

    // mapPoint > 0: a point of the internal map; 0 (or less): off the map.
    static std::optional<RouteItem> building(const QString& street, const QString& house, const QString& flat,
                                             qint64 mapPoint);
    static std::optional<RouteItem> named(const QString& name, qint64 mapPoint);
    // An address typed on the outside-address tab, off the map.
    static std::optional<RouteItem> offMapBuilding(const QString& street, const QString& house,
                                                   const QString& flat)
    {
        return building(street, house, flat, 0);
    }
    static std::optional<RouteItem> offMapText(const QString& text) { return named(text, 0); }

    // A stored pick-up or destination text with the marker the map gives it. The
    // stored text is what stood before a marker, so anything from a "<" on is dropped,
    // as are stray ">"; none for a text that is empty then.
    static std::optional<RouteItem> fromStored(const QString& stored, qint64 mapPoint);

    // Reads an item text back; none for a text that is not one (no marker, a marker
    // that is not "<digits>" or "</E>", marks inside the parts).
    static std::optional<RouteItem> parse(const QString& itemText);

    bool isBuilding() const { return m_building; }
    bool onMap() const { return m_mapPoint > 0; }
    qint64 mapPoint() const { return m_mapPoint; }
    const QString& street() const { return m_street; } // buildings only
    const QString& house() const { return m_house; }   // buildings only
    const QString& flat() const { return m_flat; }     // buildings only
    // The item without its marker: what an order stores as its pick-up or destination.
    const QString& stored() const { return m_body; }
    // "[street]{house}" of a building, the name of anything else: the map label the
    // point is looked up by.
    QString place() const;
    // The whole item text, marker included.
    QString text() const;

    bool operator==(const RouteItem& other) const = default;

    // "[street]{house}" cut off an address, only when it holds "]{" and a "}" after it;
    // otherwise the address as it is.
    static QString placeOf(const QString& address);

private:
    RouteItem() = default;
    static bool hasMarks(const QString& part);
    static RouteItem fromBody(const QString& body, qint64 mapPoint);

    bool m_building = false;
    QString m_street;
    QString m_house;
    QString m_flat;
    QString m_body;
    qint64 m_mapPoint = 0;
};
