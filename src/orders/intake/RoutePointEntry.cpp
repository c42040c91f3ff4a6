#include "orders/intake/RoutePointEntry.h"

#include "citymap/CityMapData.h"
#include "dispatch/DispatchContext.h"
#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"
#include "orders/intake/OrderIntake.h"
#include "orders/intake/Price.h"
#include "orders/intake/TariffGrid.h"
#include "platform/Prompts.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>

const QString RoutePointEntry::kEmptyListMessage = QStringLiteral("Список пустий !!!");
const QString RoutePointEntry::kIncompleteMessage = QStringLiteral("Параметри не всі введені і/або не вірні");
const QString RoutePointEntry::kStartHouseMessage = QStringLiteral("Вкажіть квартиру початкового пункта !!!");
const QString RoutePointEntry::kDestinationHouseMessage =
    QStringLiteral("Вкажіть квартиру кінцевого пункта !!!");
const QString RoutePointEntry::kAddOutsideQuestion = QStringLiteral("Добавити дані до списка ?");
const QString RoutePointEntry::kNoStreetPointsMessage =
    QStringLiteral("Точки вулиці ще не задані на карті !!!");
const QString RoutePointEntry::kNewHouseHint = QStringLiteral("За допомогою карти створити новий будинок");
const QString RoutePointEntry::kStreetsHint = QStringLiteral("(добавте вулицю / номер будинка)");
const QString RoutePointEntry::kSettlementsHint =
    QStringLiteral("(добавте країну / місто / вулицю / будинок)");

namespace {

const QString kLabel = QStringLiteral("KOORD_KART_MISTA_PIDPIS");

// Every read sees what other workstations committed last, and holds nothing open after.
FbRows read(TDANI& dani, const QString& sql)
{
    dani.TRANZ_RIZNE.commitIfActive();
    FbRows rows = dani.RIZNE.exec(sql);
    dani.TRANZ_RIZNE.commit();
    return rows;
}

QStringList firstColumn(const FbRows& rows, int column = 0)
{
    QStringList values;
    for (const auto& row : rows.rows)
        if (row[column].isValid())
            values << row[column].toString();
    return values;
}

// The way a dispatcher reads a list of names: Ukrainian order, case ignored, and
// house 9 before house 10.
void sortForReading(QStringList& list)
{
    list.removeDuplicates();
    QCollator collator(QLocale(QLocale::Ukrainian, QLocale::Ukraine));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::stable_sort(list.begin(), list.end(),
                     [&collator](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
}

QString joinedNonEmpty(const QStringList& parts)
{
    QStringList given;
    for (const QString& part : parts)
        if (!part.trimmed().isEmpty())
            given << part.trimmed();
    return given.join(QStringLiteral(", "));
}

} // namespace

RoutePointEntry::RoutePointEntry(DispatchContext& ctx, OrderIntake& intake, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_intake(intake), m_distance(Price::kNoDistance)
{
}

// ---- internal map --------------------------------------------------------------------------

void RoutePointEntry::search(const QString& text)
{
    clearHouses();
    if (text.isEmpty())
        return;
    try {
        const QStringList streets = firstColumn(
            read(m_ctx.dani, QStringLiteral("SELECT SPISOK_VUL_VULICA FROM VULICA_LUCK\nWHERE ") +
                                 sql::containsCondition(QStringLiteral("SPISOK_VUL_VULICA"), text) +
                                 QStringLiteral("\nGROUP BY SPISOK_VUL_VULICA")));
        const QStringList objects = firstColumn(
            read(m_ctx.dani,
                 QStringLiteral("SELECT KOORD_KART_MISTA_STATUS, KOORD_KART_MISTA_PIDPIS FROM KARTA_MISTA\n"
                                "WHERE (KOORD_KART_MISTA_PUKT_1<>0) AND ") +
                     sql::containsCondition(kLabel, text) +
                     QStringLiteral("\nORDER BY KOORD_KART_MISTA_PIDPIS")),
            1);
        fillNames(streets + objects);
    } catch (const DbError& error) {
        showFailure(error.message());
    }
}

QStringList RoutePointEntry::categories()
{
    return readColumn(QStringLiteral("SELECT KOORD_KART_MISTA_STATUS FROM KARTA_MISTA\n"
                                     "WHERE (KOORD_KART_MISTA_STATUS IS NOT NULL)\n"
                                     "GROUP BY KOORD_KART_MISTA_STATUS"));
}

QStringList RoutePointEntry::readColumn(const QString& sql)
{
    try {
        return firstColumn(read(m_ctx.dani, sql));
    } catch (const DbError& error) {
        showFailure(error.message());
        return {};
    }
}

void RoutePointEntry::chooseCategory(const QString& category)
{
    clearHouses();
    // A failed read leaves the names empty rather than those of another category.
    fillNames(readColumn(QStringLiteral("SELECT KOORD_KART_MISTA_PIDPIS FROM KARTA_MISTA\n"
                                        "WHERE (KOORD_KART_MISTA_PIDPIS IS NOT NULL) and "
                                        "(KOORD_KART_MISTA_STATUS = ") +
                         sql::text(category) + QStringLiteral(")\nGROUP BY KOORD_KART_MISTA_PIDPIS")));
}

void RoutePointEntry::fillNames(QStringList names)
{
    sortForReading(names);
    m_names = names;
    m_selectedName = m_names.isEmpty() ? QString() : m_names.first();
    emit namesChanged();
}

RoutePointEntry::Taken RoutePointEntry::takeName()
{
    if (m_names.isEmpty()) {
        m_ctx.prompts.message(kEmptyListMessage);
        return Taken::Nothing;
    }
    const QString name = m_selectedName;
    if (!m_names.contains(name))
        return Taken::Nothing;
    try {
        const FbRows objects =
            read(m_ctx.dani,
                 QStringLiteral("SELECT KOORD_KART_MISTA_STATUS, KOORD_KART_MISTA_NP FROM KARTA_MISTA\n"
                                "WHERE (KOORD_KART_MISTA_PIDPIS = ") +
                     sql::text(name) + QStringLiteral(")\nORDER BY KOORD_KART_MISTA_NP"));
        if (objects.isEmpty()) {
            fillHouses(name);
            return Taken::Street;
        }
        // Several points under one label: the last one stands for it, as for a building.
        const auto& row = objects.rows.back();
        const QString question = QStringLiteral("Добавити  [") + row[0].toString() + QStringLiteral("] <") +
                                 name + QStringLiteral(">  до списку розрахунку руху ?");
        return append(RouteItem::named(name, row[1].toLongLong()), question) ? Taken::ObjectAdded
                                                                             : Taken::Nothing;
    } catch (const DbError& error) {
        showFailure(error.message());
        return Taken::Nothing;
    }
}

void RoutePointEntry::fillHouses(const QString& street)
{
    QStringList houses;
    // LIKE reads "%" and "_" in a street's name as wildcards: only labels of this very
    // street are kept.
    const FbRows rows =
        read(m_ctx.dani, QStringLiteral("SELECT KOORD_KART_MISTA_PIDPIS FROM KARTA_MISTA\nWHERE ") +
                             sql::containsCondition(kLabel, QLatin1Char('[') + street + QLatin1Char(']')));
    for (const QString& label : firstColumn(rows)) {
        const std::optional<RouteItem> place = RouteItem::fromStored(label, 0);
        if (place && place->isBuilding() && place->street() == street && !place->house().isEmpty())
            houses << place->house();
    }
    sortForReading(houses);
    m_houses = houses;
    m_housesStreet = street;
    m_selectedHouse.clear();
    m_flat.clear();
    emit housesChanged();
}

void RoutePointEntry::clearHouses()
{
    m_houses.clear();
    m_housesStreet.clear();
    m_selectedHouse.clear();
    m_flat.clear();
    emit housesChanged();
}

bool RoutePointEntry::addBuilding()
{
    if (m_housesStreet.isEmpty() || !m_houses.contains(m_selectedHouse))
        return false;
    const std::optional<RouteItem> candidate =
        RouteItem::building(m_housesStreet, m_selectedHouse, m_flat, 0);
    if (!candidate) {
        m_ctx.prompts.message(RouteItem::kForbiddenMarksMessage);
        return false;
    }
    try {
        const FbRows rows =
            read(m_ctx.dani, QStringLiteral("SELECT KOORD_KART_MISTA_NP FROM KARTA_MISTA\nWHERE ") +
                                 sql::containsCondition(kLabel, candidate->place()) +
                                 QStringLiteral("\nORDER BY KOORD_KART_MISTA_NP"));
        if (rows.isEmpty()) {
            // Taken off the map meanwhile: the list shows what the map holds now.
            fillHouses(m_housesStreet);
            return false;
        }
        const QString question = QStringLiteral("Добавити  адресу ") + candidate->stored() +
                                 QStringLiteral("  до списку розрахунку руху ?");
        return append(
            RouteItem::building(m_housesStreet, m_selectedHouse, m_flat, rows.rows.back()[0].toLongLong()),
            question);
    } catch (const DbError& error) {
        showFailure(error.message());
        return false;
    }
}

bool RoutePointEntry::append(const std::optional<RouteItem>& item, const QString& question)
{
    if (!item) {
        m_ctx.prompts.message(RouteItem::kForbiddenMarksMessage);
        return false;
    }
    if (!m_ctx.prompts.question(question))
        return false;
    m_intake.addRouteItem(*item);
    emit routeChanged();
    return true;
}

bool RoutePointEntry::newHouseAvailable() const
{
    return m_ctx.map.MapSupported() && !m_selectedName.isEmpty();
}

void RoutePointEntry::newHouse()
{
    if (!newHouseAvailable())
        return;
    const QString street = m_selectedName;
    try {
        const FbRows streets =
            read(m_ctx.dani, QStringLiteral("SELECT SPISOK_VUL_NOMER, SPISOK_VUL_VULICA FROM VULICA_LUCK\n"
                                            "WHERE (SPISOK_VUL_VULICA = ") +
                                 sql::text(street) + QLatin1Char(')'));
        // An object, or a name two streets share: no street to put the house on.
        if (streets.rowCount() != 1)
            return;
        const qint64 number = streets.rows[0][0].toLongLong();
        // Number 0 marks the points that lie on no street: never the points of one.
        FbRows points;
        if (number > 0) {
            QStringList onStreet;
            for (int i = 1; i <= 5; ++i)
                onStreet
                    << QStringLiteral("(KOORD_KART_MISTA_PUKT_%1 = %2)").arg(i).arg(sql::integer(number));
            points = read(m_ctx.dani, QStringLiteral("SELECT KOORD_KART_MISTA_NP FROM KARTA_MISTA\nWHERE ") +
                                          onStreet.join(QStringLiteral(" OR ")) +
                                          QStringLiteral("\nORDER BY KOORD_KART_MISTA_NP"));
        }
        if (points.isEmpty()) {
            m_ctx.prompts.message(kNoStreetPointsMessage);
            return;
        }
        emit newHouseRequested(street, int(number), points.rows[0][0].toLongLong());
    } catch (const DbError& error) {
        showFailure(error.message());
    }
}

void RoutePointEntry::houseCreated(const QString& street, const QString& house)
{
    if (street.isEmpty() || house.isEmpty())
        return;
    if (street != m_housesStreet) {
        m_selectedName = street;
        emit namesChanged();
        try {
            fillHouses(street);
        } catch (const DbError& error) {
            showFailure(error.message());
            m_houses.clear();
            m_housesStreet = street;
        }
    }
    // Shown even when the map could not be read back just now.
    if (!m_houses.contains(house)) {
        m_houses << house;
        sortForReading(m_houses);
    }
    m_selectedHouse = house;
    emit housesChanged();
}

// ---- outside addresses ---------------------------------------------------------------------

void RoutePointEntry::setPlace(End which, const QString& place)
{
    OutsideEnd& end = which == End::Start ? m_start : m_destination;
    if (end.place == place)
        return;
    end.place = place;
    // A distance belongs to the places it was found for.
    lookUpGridDistance();
}

void RoutePointEntry::setHouse(End which, const QString& house)
{
    (which == End::Start ? m_start : m_destination).house = house;
}

void RoutePointEntry::setStartFlat(const QString& flat)
{
    m_start.flat = flat;
}

void RoutePointEntry::setMyCity(End which, bool myCity)
{
    OutsideEnd& end = which == End::Start ? m_start : m_destination;
    if (end.myCity == myCity)
        return;
    end.myCity = myCity;
    setCalculatedDistance(Price::kNoDistance);
}

QStringList RoutePointEntry::placeChoices(End which)
{
    if (!end(which).myCity)
        return m_ctx.settings.value(SettingKeys::kExtraSettlements)
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return readColumn(QStringLiteral("SELECT   SPISOK_VUL_VULICA  FROM VULICA_LUCK\n"
                                     "WHERE (SPISOK_VUL_VULICA IS NOT NULL)\n"
                                     "ORDER BY SPISOK_VUL_VULICA"));
}

QString RoutePointEntry::placeHint(End which) const
{
    return end(which).myCity ? kStreetsHint : kSettlementsHint;
}

QString RoutePointEntry::ownCity() const
{
    return m_ctx.settings.value(SettingKeys::kMyCity);
}

void RoutePointEntry::setCalculatedDistance(const QString& distance, bool outOfTown)
{
    m_distance = distance;
    m_distanceOutOfTown = outOfTown;
    emit outsideChanged();
}

void RoutePointEntry::lookUpGridDistance()
{
    setCalculatedDistance(Price::tariffGridDistance(TariffGrid::fromFile(), m_start.myCity, m_start.place,
                                                    m_destination.myCity, m_destination.place));
}

std::optional<RouteItem> RoutePointEntry::outsideItem(const OutsideEnd& end) const
{
    if (end.myCity)
        return RouteItem::offMapBuilding(end.place.trimmed(), end.house.trimmed(), end.flat);
    return RouteItem::offMapText(joinedNonEmpty({end.place, end.house, end.flat}));
}

bool RoutePointEntry::addOutside()
{
    if (m_start.place.trimmed().isEmpty()) {
        m_ctx.prompts.message(kIncompleteMessage);
        return false;
    }
    if (m_start.myCity && m_start.house.trimmed().isEmpty()) {
        m_ctx.prompts.message(kStartHouseMessage);
        return false;
    }
    const bool destinationGiven = !m_destination.place.trimmed().isEmpty();
    if (destinationGiven && m_destination.myCity && m_destination.house.trimmed().isEmpty()) {
        m_ctx.prompts.message(kDestinationHouseMessage);
        return false;
    }
    QList<RouteItem> items;
    for (const OutsideEnd* end : {&m_start, &m_destination}) {
        if (end == &m_destination && !destinationGiven)
            break;
        const std::optional<RouteItem> item = outsideItem(*end);
        if (!item) {
            m_ctx.prompts.message(RouteItem::kForbiddenMarksMessage);
            return false;
        }
        items << *item;
    }
    if (!m_ctx.prompts.question(kAddOutsideQuestion))
        return false;
    m_intake.setRoute(items);
    emit routeChanged();
    return true;
}

void RoutePointEntry::clearOutside()
{
    m_start = {};
    m_destination = {};
    setCalculatedDistance(Price::kNoDistance);
}

// ---- route list ----------------------------------------------------------------------------

void RoutePointEntry::showOnMap(int index)
{
    const QList<RouteItem>& route = m_intake.route();
    if (index < 0 || index >= route.size() || !route[index].onMap())
        return;
    const qint64 point = route[index].mapPoint();
    try {
        const FbRows rows =
            read(m_ctx.dani,
                 QStringLiteral(
                     "SELECT KOORD_KART_MISTA_STATUS, KOORD_KART_MISTA_PIDPIS, KOORD_KART_MISTA_NP  FROM  "
                     "KARTA_MISTA\nWHERE (KOORD_KART_MISTA_NP = ") +
                     sql::integer(point) + QLatin1Char(')'));
        if (!rows.isEmpty())
            emit showOnMapRequested(point, rows.rows[0][1].toString());
    } catch (const DbError& error) {
        showFailure(error.message());
    }
}

void RoutePointEntry::showFailure(const QString& error)
{
    m_ctx.prompts.message(error);
}
