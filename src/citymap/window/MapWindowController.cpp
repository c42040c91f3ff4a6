#include "citymap/window/MapWindowController.h"

#include "citymap/CityMapData.h"
#include "citymap/window/MapLabel.h"
#include "citymap/window/MapSearchAddress.h"
#include "dispatch/DispatchContext.h"
#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"
#include "platform/Prompts.h"
#include "platform/ShellOpen.h"

#include <QHash>
#include <QRect>

const QString MapWindowController::kNotAllEnteredMessage =
    QStringLiteral("Параметри не всі введені і/або не вірні і/або попередньо вже створено обєкт на карті");
const QString MapWindowController::kMissingTileMessage =
    QStringLiteral("Не вдалося прочитати частину карти %1. Показано попередню частину карти.");

namespace {

constexpr quint32 kBlue = 0x0000FF;
constexpr quint32 kRed = 0xFF0000;
constexpr quint32 kSilver = 0xC0C0C0;
constexpr quint32 kLime = 0x00FF00;
constexpr quint32 kYellow = 0xFFFF00;

// "(KOORD_KART_MISTA_PUKT_1 = n) OR ... (KOORD_KART_MISTA_PUKT_5 = n)"
QString onStreet(const QString& number)
{
    QStringList alternatives;
    for (int i = 1; i <= 5; ++i)
        alternatives << QStringLiteral("(KOORD_KART_MISTA_PUKT_%1 = %2)").arg(i).arg(number);
    return alternatives.join(QStringLiteral(" OR "));
}

// Labels, X and Y of the points with these labels; the last point of a label wins.
QHash<QString, QPoint> pointsOfLabels(FbQuery& query, const QStringList& labels)
{
    QHash<QString, QPoint> points;
    // An IN list holds at most 1,500 values.
    constexpr int kChunk = 500;
    for (qsizetype first = 0; first < labels.size(); first += kChunk) {
        QStringList literals;
        for (const QString& label : labels.mid(first, kChunk))
            literals << sql::text(label);
        const FbRows& rows = query.exec(
            QStringLiteral("SELECT KOORD_KART_MISTA_PIDPIS, KOORD_KART_MISTA_X, KOORD_KART_MISTA_Y FROM "
                           "KARTA_MISTA WHERE KOORD_KART_MISTA_PIDPIS IN (%1) ORDER BY KOORD_KART_MISTA_NP")
                .arg(literals.join(QLatin1Char(','))));
        for (const auto& row : rows.rows)
            points.insert(row[0].toString(), QPoint(row[1].toInt(), row[2].toInt()));
    }
    return points;
}

bool hasMarks(const QString& text)
{
    // A label holding them would read back as a route point's marker.
    return text.contains(QLatin1Char('<')) || text.contains(QLatin1Char('>'));
}

} // namespace

MapWindowController::MapWindowController(DispatchContext& ctx, const CityMapData& map, MapPicture& picture,
                                         IShellOpen& shell, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_map(map), m_picture(picture), m_shell(shell)
{
    // Every map load starts again at tile 1_1, with the map's own scroll step.
    connect(&map, &CityMapData::loaded, this, [this] {
        m_stepText = m_map.scrollStepText();
        MapPlacement first;
        if (const auto size = m_map.tiles().tileSize({1, 1}))
            first.pictureSize = *size;
        moveTo(first);
    });
}

QString MapWindowController::caption() const
{
    return m_map.settings().name;
}

QString MapWindowController::lengthText() const
{
    return m_map.lengthText();
}

QString MapWindowController::pixelsPerCmText() const
{
    return m_map.pixelsPerCmText();
}

std::optional<int> MapWindowController::parsedStep()
{
    const QString text = m_stepText.trimmed();
    bool ok = false;
    const int step = text.toInt(&ok);
    if (!ok || step < 0)
        return std::nullopt;
    if (step == 0) {
        m_stepText = QStringLiteral("100");
        return 100;
    }
    return step;
}

void MapWindowController::scroll(ScrollDirection direction)
{
    const auto step = parsedStep();
    if (!step) {
        // A step that is no whole number of pixels is refused: the last good one stays.
        m_stepText = QString::number(m_lastStep);
        emit pictureChanged();
        return;
    }
    m_lastStep = *step;
    if (!m_map.MapSupported())
        return;
    const MapPlacement next = MapScroll::scroll(m_map.tiles(), m_viewport, m_placement, direction, *step);
    if (next.tile() == m_placement.tile()) {
        m_placement = next;
        emit pictureChanged();
        return;
    }
    moveTo(next);
}

void MapWindowController::cursorMoved(const QPoint& inPicture)
{
    m_cursor = inPicture + m_placement.view.offset;
}

bool MapWindowController::moveTo(const MapPlacement& placement)
{
    const QString path = m_map.tilePath(placement.tile());
    if (!m_picture.loadTile(path)) {
        m_ctx.prompts.message(kMissingTileMessage.arg(path));
        return false;
    }
    m_placement = placement;
    drawOverlays();
    emit pictureChanged();
    return true;
}

void MapWindowController::drawOverlays()
{
    m_overlays.clear();
    try {
        drawDriversAtStands();
        if (m_showObjects)
            drawObjectLabels();
        if (creationMode())
            highlightStreet();
    } catch (const DbError& e) {
        m_ctx.prompts.message(e.message());
    }
}

void MapWindowController::drawDriversAtStands()
{
    TDANI& dani = m_ctx.dani;
    dani.TRANZ_RIZNE.commitIfActive();
    const FbRows cars = dani.RIZNE.exec(
        QStringLiteral("SELECT ZAD_AVTO_VULICA, ZAD_AVTO_POZIVNIY, ZAD_AVTO_ZADIANIST FROM ZADIANI_AVTO "
                       "WHERE (ZAD_AVTO_VULICA "
                       "IS NOT NULL) and (ZAD_AVTO_VULICA <> '[]{}') ORDER BY ZAD_AVTO_POZIVNIY"));
    // A place with more after the house (an apartment) is the house's point.
    QStringList places;
    for (const auto& car : cars.rows) {
        const QString place = MapLabel::cutHouse(car[0].toString());
        if (!place.isEmpty() && !places.contains(place))
            places << place;
    }
    const QHash<QString, QPoint> points = pointsOfLabels(dani.RIZNE, places);
    dani.TRANZ_RIZNE.commitIfActive();
    const QRect view(m_placement.view.offset, m_placement.pictureSize);
    for (const QString& place : std::as_const(places)) {
        const QPoint point = points.value(place);
        if (point.x() == 0 || point.y() == 0 || point.x() < view.left() || point.y() < view.top() ||
            point.x() > view.left() + view.width() || point.y() > view.top() + view.height())
            continue;
        // Every car whose place holds this place, engaged and free apart.
        QStringList engaged, free;
        for (const auto& car : cars.rows) {
            if (!car[0].toString().contains(place) || !car[2].isValid())
                continue;
            if (car[2].toLongLong() == 1)
                engaged << QString::number(car[1].toLongLong());
            else if (car[2].toLongLong() == 0)
                free << QString::number(car[1].toLongLong());
        }
        const QPoint at = point - view.topLeft();
        if (!engaged.isEmpty())
            m_overlays.texts.push_back(
                {at, QStringLiteral("ПОЗИВНІ [%1] ЗАДІЯНІ").arg(engaged.join(QStringLiteral(", "))), kBlue,
                 kSilver});
        if (!free.isEmpty())
            m_overlays.texts.push_back(
                {at + QPoint(0, 20),
                 QStringLiteral("ПОЗИВНІ [%1] НЕ ЗАДІЯНІ").arg(free.join(QStringLiteral(", "))), kRed,
                 kSilver});
    }
}

void MapWindowController::drawObjectLabels()
{
    const QPoint offset = m_placement.view.offset;
    const QSize size = m_placement.pictureSize;
    const FbRows rows =
        read(QStringLiteral(
                 "SELECT KOORD_KART_MISTA_PIDPIS, KOORD_KART_MISTA_X, KOORD_KART_MISTA_Y FROM KARTA_MISTA "
                 "WHERE (KOORD_KART_MISTA_X >= %1) and (KOORD_KART_MISTA_X <= %2) and (KOORD_KART_MISTA_Y "
                 ">= %3) and (KOORD_KART_MISTA_Y <= %4) and (KOORD_KART_MISTA_PUKT_1 > 0)")
                 .arg(sql::integer(offset.x()), sql::integer(offset.x() + size.width()),
                      sql::integer(offset.y()), sql::integer(offset.y() + size.height())));
    for (const auto& row : rows.rows)
        m_overlays.texts.push_back({QPoint(row[1].toInt(), row[2].toInt()) - offset + QPoint(5, 5),
                                    row[0].toString(), kBlue, kLime});
}

void MapWindowController::highlightStreet()
{
    const FbRows numbers =
        read(QStringLiteral("SELECT SPISOK_VUL_NOMER FROM VULICA_LUCK WHERE SPISOK_VUL_VULICA = %1")
                 .arg(sql::text(*m_creationStreet)));
    // An unknown street, or one numbered 0, would light every point that lies on no street.
    const qint64 number = numbers.isEmpty() ? 0 : numbers.rows.back()[0].toLongLong();
    if (number <= 0)
        return;
    const FbRows points =
        read(QStringLiteral(
                 "SELECT KOORD_KART_MISTA_PIDPIS, KOORD_KART_MISTA_X, KOORD_KART_MISTA_Y FROM KARTA_MISTA "
                 "WHERE (%1)")
                 .arg(onStreet(sql::integer(number))));
    const QPoint offset = m_placement.view.offset;
    for (const auto& row : points.rows) {
        const QPoint at = QPoint(row[1].toInt(), row[2].toInt()) - offset;
        m_overlays.circles.push_back({at, 7, kBlue});
        m_overlays.texts.push_back({at + QPoint(5, 5), row[0].toString(), kBlue, kRed});
    }
}

void MapWindowController::setShowObjects(bool show)
{
    m_showObjects = show;
    if (m_map.MapSupported())
        moveTo(m_placement); // the tile again, with or without the labels
}

FbRows MapWindowController::read(const QString& statement)
{
    TDANI& dani = m_ctx.dani;
    dani.TRANZ_RIZNE.commitIfActive();
    FbRows rows = dani.RIZNE.exec(statement);
    dani.TRANZ_RIZNE.commitIfActive();
    return rows;
}

std::optional<FbRows> MapWindowController::readShown(const QString& statement)
{
    try {
        return read(statement);
    } catch (const DbError& e) {
        m_ctx.prompts.message(e.message());
        return std::nullopt;
    }
}

std::optional<QPoint> MapWindowController::pointOfLabel(const QString& label)
{
    const FbRows rows =
        read(QStringLiteral("SELECT KOORD_KART_MISTA_X, KOORD_KART_MISTA_Y FROM KARTA_MISTA WHERE "
                            "(KOORD_KART_MISTA_PIDPIS = %1)")
                 .arg(sql::text(label)));
    if (rows.isEmpty())
        return std::nullopt;
    return QPoint(rows.rows.back()[0].toInt(), rows.rows.back()[1].toInt());
}

void MapWindowController::ShowLabelOnMap(const QString& label)
{
    if (!m_map.MapSupported()) {
        const SettingsStore& settings = m_ctx.settings;
        const QUrl address = MapSearchAddress::forLabel(settings.value(SettingKeys::kMapSearchPage),
                                                        settings.value(SettingKeys::kMyCity), label);
        if (!m_shell.open(address))
            m_ctx.prompts.message(
                QStringLiteral("Не вдалося відкрити у браузері сторінку пошуку на карті:\r") +
                address.toString());
        return;
    }
    const QString place = MapLabel::cutHouse(label);
    std::optional<QPoint> point;
    try {
        point = pointOfLabel(place);
    } catch (const DbError& e) {
        m_ctx.prompts.message(e.message());
        return;
    }
    // A label without a placed point, or one beyond the tiles, changes nothing visible.
    if (!point || point->x() == 0 || point->y() == 0)
        return;
    const auto placement = MapScroll::centredOn(m_map.tiles(), m_viewport, *point);
    if (!placement || !moveTo(*placement))
        return;
    const QPoint at = *point - m_placement.view.offset;
    m_overlays.circles.push_back({at, 4, kYellow});
    MapOverlays::Text text{at + QPoint(5, 5), place, kBlue, 0};
    text.background = MapOverlays::kNoBackground;
    m_overlays.texts.push_back(text);
    emit pictureChanged();
    emit showRequested();
}

void MapWindowController::search(const QList<SearchCondition>& conditions)
{
    QStringList filter;
    for (const SearchCondition& condition : conditions) {
        switch (condition.field) {
        case SearchField::District:
            filter << sql::containsCondition(QStringLiteral("KOORD_KART_MISTA_RAYON"), condition.text);
            break;
        case SearchField::Kind:
            filter << sql::containsCondition(QStringLiteral("KOORD_KART_MISTA_STATUS"), condition.text);
            break;
        case SearchField::Label:
            filter << sql::containsCondition(QStringLiteral("KOORD_KART_MISTA_PIDPIS"), condition.text);
            break;
        case SearchField::Street: {
            const QString streets = QStringLiteral("(SELECT SPISOK_VUL_NOMER FROM VULICA_LUCK WHERE %1)")
                                        .arg(sql::containsCondition(QStringLiteral("SPISOK_VUL_VULICA"), condition.text));
            QStringList alternatives = {sql::containsCondition(QStringLiteral("KOORD_KART_MISTA_PIDPIS"), condition.text)};
            for (int i = 1; i <= 5; ++i)
                alternatives << QStringLiteral("(KOORD_KART_MISTA_PUKT_%1 IN %2)").arg(i).arg(streets);
            filter << QLatin1Char('(') + alternatives.join(QStringLiteral(" OR ")) + QLatin1Char(')');
            break;
        }
        }
    }
    m_found.clear();
    TDANI& dani = m_ctx.dani;
    try {
        dani.TRANZ_TABL_KARTA.commitIfActive();
        const FbRows& rows = dani.TABL_KARTA.exec(
            QStringLiteral(
                "SELECT KOORD_KART_MISTA_PIDPIS, KOORD_KART_MISTA_STATUS, KOORD_KART_MISTA_RAYON FROM "
                "KARTA_MISTA %1 ORDER BY KOORD_KART_MISTA_PIDPIS")
                .arg(filter.isEmpty() ? QString()
                                      : QStringLiteral("WHERE ") + filter.join(QStringLiteral(" AND "))));
        for (const auto& row : rows.rows)
            m_found << Found{row[0].toString(), row[1].toString(), row[2].toString()};
        dani.TRANZ_TABL_KARTA.commitIfActive();
    } catch (const DbError& e) {
        m_ctx.prompts.message(e.message());
    }
}

QStringList MapWindowController::suggestions(SearchField field, const QString& text)
{
    QString table = QStringLiteral("KARTA_MISTA");
    QString column;
    switch (field) {
    case SearchField::District:
        column = QStringLiteral("KOORD_KART_MISTA_RAYON");
        break;
    case SearchField::Kind:
        column = QStringLiteral("KOORD_KART_MISTA_STATUS");
        break;
    case SearchField::Label:
        column = QStringLiteral("KOORD_KART_MISTA_PIDPIS");
        break;
    case SearchField::Street:
        table = QStringLiteral("VULICA_LUCK");
        column = QStringLiteral("SPISOK_VUL_VULICA");
        break;
    }
    QStringList values;
    const auto rows = readShown(QStringLiteral("SELECT %1 FROM %2 WHERE (%1 IS NOT NULL) AND %3 GROUP BY %1")
                                    .arg(column, table, sql::containsCondition(column, text)));
    if (rows)
        for (const auto& row : rows->rows)
            if (!row[0].toString().isEmpty())
                values << row[0].toString();
    return values;
}

void MapWindowController::endCreation()
{
    m_creationStreet.reset();
    emit panelsChanged();
}

void MapWindowController::setSearchPanelShown(bool shown)
{
    m_searchPanelShown = shown;
    emit panelsChanged();
}

void MapWindowController::startHouseCreation(const QString& street, int streetNumber)
{
    m_creationStreet = street;
    emit panelsChanged();
    const auto rows = readShown(QStringLiteral("SELECT FIRST 1 KOORD_KART_MISTA_X, KOORD_KART_MISTA_Y FROM "
                                               "KARTA_MISTA WHERE (%1) ORDER BY KOORD_KART_MISTA_NP")
                                    .arg(onStreet(sql::integer(streetNumber))));
    std::optional<QPoint> first;
    if (rows && !rows->isEmpty())
        first = QPoint(rows->rows[0][0].toInt(), rows->rows[0][1].toInt());
    if (first && m_map.MapSupported())
        if (const auto placement = MapScroll::centredOn(m_map.tiles(), m_viewport, *first))
            moveTo(*placement);
    emit showRequested();
}

QStringList MapWindowController::objectKinds()
{
    QStringList kinds;
    const auto rows = readShown(QStringLiteral(
        "SELECT KOORD_KART_MISTA_STATUS FROM KARTA_MISTA WHERE ((KOORD_KART_MISTA_PIDPIS is not null) AND "
        "(KOORD_KART_MISTA_STATUS <> 'БУДИНОК') AND (KOORD_KART_MISTA_STATUS IS NOT NULL)) GROUP BY "
        "KOORD_KART_MISTA_STATUS"));
    if (rows)
        for (const auto& row : rows->rows)
            kinds << row[0].toString();
    return kinds;
}

bool MapWindowController::create(const NewPoint& point)
{
    const bool house = point.what == Creating::House;
    const QString street = point.street.trimmed();
    const QString number = point.house.trimmed();
    const QString name = point.name.trimmed();
    const QString kind = point.kind.trimmed();
    const bool complete = house ? !street.isEmpty() && !number.isEmpty()
                                : !street.isEmpty() && !name.isEmpty() && !kind.isEmpty();
    const QString label = house ? MapLabel::house(street, number) : MapLabel::object(name, street, number);
    TDANI& dani = m_ctx.dani;
    try {
        if (!complete || hasMarks(label) || pointOfLabel(label)) {
            m_ctx.prompts.message(kNotAllEnteredMessage);
            return false;
        }
        QStringList lines;
        if (house)
            lines << QStringLiteral("Параметри створення будинка :")
                  << QStringLiteral("Вибрана вулиця : [") + street + QLatin1Char(']')
                  << QStringLiteral("Номер будинка : [") + number + QLatin1Char(']')
                  << QStringLiteral("Буде створено будинок з підписом : ") + label;
        else
            lines << QStringLiteral("Параметри створення обєкта :")
                  << QStringLiteral("Вибрана вулиця : [") + street + QLatin1Char(']')
                  << QStringLiteral("Статус обєкта : [") + kind + QLatin1Char(']')
                  << QStringLiteral("Назва обєкта : [") + name + QLatin1Char(']')
                  << QStringLiteral("Номер будинка : [") + number + QLatin1Char(']')
                  << QStringLiteral("Буде створено обєкт з підписом : ") + label;
        if (!m_ctx.prompts.question(lines.join(QLatin1Char('\r'))))
            return false;
        qint64 streetNumber = 0;
        if (!house) {
            const FbRows numbers =
                read(QStringLiteral("SELECT SPISOK_VUL_NOMER FROM VULICA_LUCK WHERE (SPISOK_VUL_VULICA = %1)")
                         .arg(sql::text(street)));
            if (!numbers.isEmpty())
                streetNumber = numbers.rows.back()[0].toLongLong();
        }
        dani.TRANZ_RIZNE.commitIfActive();
        dani.RIZNE.exec(
            QStringLiteral(
                "INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PIDPIS, KOORD_KART_MISTA_X, "
                "KOORD_KART_MISTA_Y, KOORD_KART_MISTA_PUKT_1, KOORD_KART_MISTA_PUKT_2, "
                "KOORD_KART_MISTA_PUKT_3, "
                "KOORD_KART_MISTA_PUKT_4, KOORD_KART_MISTA_PUKT_5,  KOORD_KART_MISTA_RAYON, "
                "KOORD_KART_MISTA_STATUS) VALUES (IIF((SELECT MAX(KOORD_KART_MISTA_NP) FROM KARTA_MISTA) IS "
                "NULL, "
                "1, (SELECT MAX(KOORD_KART_MISTA_NP) FROM KARTA_MISTA)+1), %1, %2, %3, %4, 0, 0, 0, 0, "
                "'не задано', %5)")
                .arg(sql::text(label), sql::integer(m_cursor.x()), sql::integer(m_cursor.y()),
                     sql::integer(streetNumber), sql::text(house ? QStringLiteral("БУДИНОК") : kind)));
        dani.TRANZ_RIZNE.commit();
    } catch (const DbError& e) {
        dani.TRANZ_RIZNE.rollbackQuietly();
        // Another workstation put the same label (or took the number) first: the unique
        // keys keep one point.
        bool createdElsewhere = false;
        try {
            createdElsewhere = pointOfLabel(label).has_value();
        } catch (const DbError&) {
        }
        m_ctx.prompts.message(createdElsewhere ? kNotAllEnteredMessage : e.message());
        return false;
    }
    endCreation();
    if (house)
        emit houseCreated(street, number);
    emit closeRequested();
    return true;
}
