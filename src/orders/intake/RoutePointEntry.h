#pragma once

#include "orders/intake/RouteItem.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

struct DispatchContext;
class OrderIntake;

// The inputs of the first step that put points into the route list, without widgets:
// the internal-map area (a street or object search, the object categories, the names,
// the houses of a street and the flat) and the outside-address area (a start and a
// destination off the internal map, the own city's tariff grid and the distance it
// gives). The route list itself is the order's; every item goes in through RouteItem.
//
// The city map window is not known here: adding a house and showing a point are asked
// for by signals, and the window reports a house it created through houseCreated().
class RoutePointEntry : public QObject
{
    Q_OBJECT
public:
    static const QString kEmptyListMessage;
    static const QString kIncompleteMessage;
    static const QString kStartHouseMessage;
    static const QString kDestinationHouseMessage;
    static const QString kAddOutsideQuestion;
    static const QString kNoStreetPointsMessage;
    static const QString kNewHouseHint;
    static const QString kStreetsHint;
    static const QString kSettlementsHint;

    RoutePointEntry(DispatchContext& ctx, OrderIntake& intake, QObject* parent = nullptr);

    // ---- internal map --------------------------------------------------------------
    // A key other than Enter was released in the search box: the houses and the flat are
    // emptied and, for a text that is not empty, the names become the streets and the
    // objects on a street whose names hold it, sorted, the first one selected.
    void search(const QString& text);
    // The object categories for the drop-down; choosing one lists its objects.
    QStringList categories();
    void chooseCategory(const QString& category);
    const QStringList& names() const { return m_names; }
    void selectName(const QString& name) { m_selectedName = name; }
    const QString& selectedName() const { return m_selectedName; }

    enum class Taken {
        Nothing,     // an empty list (told so), a name not listed, a No or a failure
        ObjectAdded, // an object, added after the dispatcher's Yes
        Street,      // its houses are listed: the focus goes to the first house
    };
    // Enter in the search box or on a name, or a double-click on a name.
    Taken takeName();

    const QStringList& houses() const { return m_houses; }
    void selectHouse(const QString& house) { m_selectedHouse = house; }
    const QString& selectedHouse() const { return m_selectedHouse; }
    void setFlat(const QString& flat) { m_flat = flat; }
    const QString& flat() const { return m_flat; }
    // Enter in the flat box: the selected house of the selected street, after the
    // dispatcher's Yes. True when an item was added.
    bool addBuilding();

    // "Новий": only with the internal map in use and a name selected.
    bool newHouseAvailable() const;
    void newHouse();

    // ---- outside addresses ---------------------------------------------------------
    enum class End { Start, Destination };
    struct OutsideEnd
    {
        QString place;
        QString house;
        QString flat; // the start only
        bool myCity = true;
    };
    const OutsideEnd& end(End which) const { return which == End::Start ? m_start : m_destination; }
    // A changed place looks the tariff-grid distance up again.
    void setPlace(End which, const QString& place);
    void setHouse(End which, const QString& house);
    void setStartFlat(const QString& flat);
    // Ticking or unticking "дані мого міста" resets the distance.
    void setMyCity(End which, bool myCity);
    // What an end's place box offers: the own city's streets, or the nearby settlements.
    QStringList placeChoices(End which);
    QString placeHint(End which) const;
    QString ownCity() const;

    // The distance of the outside addresses in kilometres, "000" (Price::kNoDistance) for none.
    const QString& calculatedDistance() const { return m_distance; }
    // Whether that distance is taken at the out-of-town tariff: only a distance the web
    // service measured and the dispatcher carried over can be; every other new distance
    // (the grid's, a reset) clears it, since it belongs to the distance it came with.
    bool calculatedOutOfTown() const { return m_distanceOutOfTown; }
    void setCalculatedDistance(const QString& distance, bool outOfTown = false);
    // "Ціна тарифної сітки", and on every change of a place.
    void lookUpGridDistance();
    // "Добавити дані до списка": the start and, when given, the destination replace the
    // whole route list, after the dispatcher's Yes. True when the list was replaced.
    bool addOutside();
    // After a save: both ends emptied and the distance gone.
    void clearOutside();

    // ---- route list ----------------------------------------------------------------
    // Shows the item at this index on the city map; points off the map are ignored.
    void showOnMap(int index);

public slots:
    // The map window created this house on this street.
    void houseCreated(const QString& street, const QString& house);

signals:
    void namesChanged();
    // The houses, the chosen house or the flat changed.
    void housesChanged();
    void outsideChanged();
    // Items were added or the list was replaced.
    void routeChanged();
    // The city map window in its add-a-house mode, centred on the street's first point.
    void newHouseRequested(const QString& street, int streetNumber, qint64 firstPoint);
    void showOnMapRequested(qint64 mapPoint, const QString& label);

private:
    void fillNames(QStringList names);
    void fillHouses(const QString& street);
    void clearHouses();
    bool append(const std::optional<RouteItem>& item, const QString& question);
    std::optional<RouteItem> outsideItem(const OutsideEnd& end) const;
    // The first column of a read; none after a failure, which is shown.
    QStringList readColumn(const QString& sql);
    void showFailure(const QString& error);

    DispatchContext& m_ctx;
    OrderIntake& m_intake;

    QStringList m_names;
    QString m_selectedName;
    QStringList m_houses;
    QString m_housesStreet; // the street the houses belong to
    QString m_selectedHouse;
    QString m_flat;

    OutsideEnd m_start;
    OutsideEnd m_destination;
    QString m_distance;
    bool m_distanceOutOfTown = false;
};
