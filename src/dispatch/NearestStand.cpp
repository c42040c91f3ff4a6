#include "dispatch/NearestStand.h"

#include "citymap/CityMapData.h"
#include "dispatch/DispatchContext.h"
#include "dispatch/DistrictNeighbours.h"
#include "foundation/SqlLiteral.h"
#include "foundation/StandQueue.h"
#include "foundation/TDANI.h"

#include <cmath>

namespace {

struct Point
{
    qint64 x = 0;
    qint64 y = 0;
    bool placed() const { return x != 0 && y != 0; }
};

// The last point with this label (labels are unique; the last one wins should they not be).
Point pointOf(DispatchContext& ctx, const QString& label)
{
    const FbRows& rows =
        ctx.dani.RIZNE_EVENTS.exec(QStringLiteral("SELECT KOORD_KART_MISTA_X, KOORD_KART_MISTA_Y FROM "
                                                  "KARTA_MISTA WHERE (KOORD_KART_MISTA_PIDPIS = %1)")
                                       .arg(sql::text(label)));
    if (rows.isEmpty())
        return {};
    const auto& last = rows.rows.back();
    return {last[0].toLongLong(), last[1].toLongLong()};
}

std::optional<double> metres(const DispatchContext& ctx, const Point& a, const Point& b)
{
    const auto scale = ctx.map.metresPerPixel();
    if (!scale || !a.placed() || !b.placed())
        return std::nullopt;
    const double dx = double(a.x - b.x);
    const double dy = double(a.y - b.y);
    return std::sqrt(dx * dx + dy * dy) * *scale;
}

QString modeConditions(const QString& mode)
{
    if (!mode.startsWith(QLatin1String("AutoRozd")))
        return {};
    QString conditions = QStringLiteral(" AND (ZAD_AVTO_MARKA_AVTO LIKE '%' || '{GPRS}' || '%')");
    if (mode == DistributionMode::kFreeRidesMarkedExcluded)
        conditions += QStringLiteral(" AND (ZAD_AVTO_YUVILEYKA IS NULL)");
    return conditions;
}

const QString kFreeAtAStand =
    QStringLiteral("(ZAD_AVTO_VULICA <> '[]{}') and ((ZAD_AVTO_NOMER_ZAMOVL IS NULL) OR "
                   "(ZAD_AVTO_NOMER_ZAMOVL = 0))");

QStringList namesInBraces(const QString& text)
{
    QStringList names;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype open = text.indexOf(QLatin1Char('{'), pos);
        if (open < 0)
            break;
        const qsizetype close = text.indexOf(QLatin1Char('}'), open + 1);
        if (close < 0)
            break;
        names << text.mid(open + 1, close - open - 1);
        pos = close + 1;
    }
    return names;
}

struct StandPoint
{
    QString stand;
    Point point;
};

std::vector<StandPoint> readCandidates(DispatchContext& ctx, const QString& mode)
{
    const FbRows& rows = ctx.dani.RIZNE_EVENTS.exec(CandidateStandsStatement(mode));
    std::vector<StandPoint> candidates;
    candidates.reserve(rows.rows.size());
    for (const auto& row : rows.rows)
        candidates.push_back({row[0].toString(), {row[1].toLongLong(), row[2].toLongLong()}});
    return candidates;
}

NearestStand nearestAmong(const DispatchContext& ctx, const std::vector<StandPoint>& candidates,
                          const Point& target)
{
    QString best;
    double bestDistance = 0;
    for (const StandPoint& candidate : candidates) {
        const auto distance = metres(ctx, candidate.point, target);
        // Only a strictly smaller positive distance replaces: the first of equals wins.
        if (distance && *distance > 0 && (best.isEmpty() || *distance < bestDistance)) {
            best = candidate.stand;
            bestDistance = *distance;
        }
    }
    return {best, best.isEmpty() ? std::nullopt : std::optional<double>(bestDistance)};
}

NearestStand nearestByMap(DispatchContext& ctx, const QString& address, const QString& mode)
{
    const Point target = pointOf(ctx, HouseOfAddress(address));
    if (!target.placed() || !ctx.map.metresPerPixel())
        return {};
    return nearestAmong(ctx, readCandidates(ctx, mode), target);
}

QString nearestByRegions(DispatchContext& ctx, const QString& address, const QString& mode)
{
    const RegionTables& tables = ctx.regions;
    auto linkOf = [&](const QString& region) -> const RegionTables::RegionLink* {
        for (const auto& link : tables.links)
            if (link.region == region)
                return &link;
        return nullptr;
    };
    for (const auto& street : tables.streets) {
        const QString& s = street.street;
        if (!address.contains(s + QLatin1Char(' ')) && !address.contains(s + QLatin1Char(',')) &&
            !address.contains(QLatin1Char('[') + s + QLatin1Char(']')))
            continue;
        const RegionTables::RegionLink* link = linkOf(street.region);
        if (!link)
            continue;
        QStringList stands = namesInBraces(link->nearestStands);
        for (const QString& neighbour : namesInBraces(link->nearestRegions))
            if (const auto* other = linkOf(neighbour))
                stands << namesInBraces(other->nearestStands);
        for (const QString& stand : stands) {
            if (stand.isEmpty())
                continue;
            const FbRows& rows = ctx.dani.RIZNE_EVENTS.exec(
                QStringLiteral(
                    "SELECT  ZAD_AVTO_POZIVNIY  FROM  ZADIANI_AVTO WHERE %1 AND (ZAD_AVTO_VULICA = %2)%3 "
                    "ORDER  BY  ZAD_AVTO_CHAS_ZAMOVL")
                    .arg(kFreeAtAStand, sql::text(stand), modeConditions(mode)));
            if (!rows.isEmpty() && rows.rows[0][0].isValid())
                return stand;
        }
        return {};
    }
    return {};
}

} // namespace

QString HouseOfAddress(const QString& address)
{
    if (!address.contains(QLatin1String("]{")))
        return address;
    const qsizetype brace = address.indexOf(QLatin1Char('}'));
    return brace < 0 ? address : address.left(brace + 1);
}

QString CandidateStandsStatement(const QString& mode)
{
    return QStringLiteral("SELECT Z.ZAD_AVTO_VULICA, "
                          "(SELECT FIRST 1 K.KOORD_KART_MISTA_X FROM KARTA_MISTA K WHERE "
                          "K.KOORD_KART_MISTA_PIDPIS = Z.ZAD_AVTO_VULICA "
                          "ORDER BY K.KOORD_KART_MISTA_NP DESC), "
                          "(SELECT FIRST 1 K.KOORD_KART_MISTA_Y FROM KARTA_MISTA K WHERE "
                          "K.KOORD_KART_MISTA_PIDPIS = Z.ZAD_AVTO_VULICA "
                          "ORDER BY K.KOORD_KART_MISTA_NP DESC) "
                          "FROM  ZADIANI_AVTO Z WHERE %1%2 GROUP  BY  Z.ZAD_AVTO_VULICA")
        .arg(kFreeAtAStand, modeConditions(mode));
}

RegionTables ReadRegions(DispatchContext& ctx, const std::function<void(int, int)>& progress)
{
    TDANI& dani = ctx.dani;
    RegionTables tables;
    dani.TRANZ_FOR_EVENTS.commitIfActive();
    const FbRows streets = dani.RIZNE_EVENTS.exec(
        QStringLiteral("SELECT   SPISOK_VUL_VULICA,  SPISOK_VUL_RAYON  FROM VULICA_LUCK WHERE "
                       "(SPISOK_VUL_VULICA IS NOT NULL) "
                       "AND (SPISOK_VUL_RAYON IS NOT NULL) ORDER BY SPISOK_VUL_VULICA"));
    for (const auto& row : streets.rows)
        tables.streets.push_back({row[0].toString(), row[1].toString()});
    const FbRows regions =
        dani.RIZNE_EVENTS.exec(QStringLiteral("SELECT   SPISOK_VUL_RAYON  FROM VULICA_LUCK WHERE "
                                              "(SPISOK_VUL_RAYON IS NOT NULL) group BY SPISOK_VUL_RAYON"));
    dani.TRANZ_FOR_EVENTS.commitIfActive();
    const DistrictNeighbours neighbours = DistrictNeighbours::fromFile();
    for (int i = 0; i < regions.rowCount(); ++i) {
        const QString region = regions.rows[std::size_t(i)][0].toString();
        const DistrictNeighbours::Texts texts = neighbours.forDistrict(region);
        tables.links.push_back({region, texts.nearestRegions, texts.nearestStands});
        if (progress)
            progress(i + 1, regions.rowCount());
    }
    return tables;
}

void LoadRegions(DispatchContext& ctx, const std::function<void(int, int)>& progress)
{
    ctx.regions = ReadRegions(ctx, progress);
}

std::optional<double> MapDistanceMetres(DispatchContext& ctx, const QString& labelA, const QString& labelB)
{
    if (!ctx.map.MapSupported())
        return std::nullopt;
    ctx.dani.TRANZ_FOR_EVENTS.commitIfActive();
    const Point a = pointOf(ctx, labelA);
    const Point b = pointOf(ctx, labelB);
    ctx.dani.TRANZ_FOR_EVENTS.commitIfActive();
    return metres(ctx, a, b);
}

QString MapDistance(DispatchContext& ctx, const QString& labelA, const QString& labelB)
{
    const auto distance = MapDistanceMetres(ctx, labelA, labelB);
    if (!distance)
        return {};
    return QString::number(*distance, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
}

QHash<QString, double> DistancesToStands(DispatchContext& ctx, const QString& label)
{
    QHash<QString, double> distances;
    if (!ctx.map.MapSupported())
        return distances;
    ctx.dani.TRANZ_FOR_EVENTS.commitIfActive();
    const Point from = pointOf(ctx, label);
    if (from.placed()) {
        const FbRows& rows = ctx.dani.RIZNE_EVENTS.exec(CandidateStandsStatement(DistributionMode::kNone));
        for (const auto& row : rows.rows)
            if (const auto distance = metres(ctx, {row[1].toLongLong(), row[2].toLongLong()}, from))
                distances.insert(row[0].toString(), *distance);
    }
    ctx.dani.TRANZ_FOR_EVENTS.commitIfActive();
    return distances;
}

QString FindNearestStand(DispatchContext& ctx, const QString& address, const QString& mode)
{
    return FindNearestStandAndDistance(ctx, address, mode).stand;
}

NearestStand FindNearestStandAndDistance(DispatchContext& ctx, const QString& address, const QString& mode)
{
    ctx.dani.TRANZ_FOR_EVENTS.commitIfActive();
    const NearestStand found = ctx.map.MapSupported()
                                   ? nearestByMap(ctx, address, mode)
                                   : NearestStand{nearestByRegions(ctx, address, mode), {}};
    ctx.dani.TRANZ_FOR_EVENTS.commitIfActive();
    return found;
}

// Held by the distribution for one run, so nothing else reads the candidates meanwhile.
struct StandCandidates::Held
{
    std::vector<StandPoint> candidates;
};

StandCandidates::StandCandidates(DispatchContext& ctx, const QString& mode)
    : m_ctx(ctx), m_mode(mode), m_held(std::make_unique<Held>())
{
}

StandCandidates::~StandCandidates() = default;

NearestStand StandCandidates::nearestTo(const QString& address)
{
    if (!m_ctx.map.MapSupported())
        return FindNearestStandAndDistance(m_ctx, address, m_mode);
    m_ctx.dani.TRANZ_FOR_EVENTS.commitIfActive();
    const Point target = pointOf(m_ctx, HouseOfAddress(address));
    if (target.placed() && m_ctx.map.metresPerPixel() && !m_read) {
        m_held->candidates = readCandidates(m_ctx, m_mode);
        m_read = true;
    }
    m_ctx.dani.TRANZ_FOR_EVENTS.commitIfActive();
    if (!target.placed() || !m_ctx.map.metresPerPixel())
        return {};
    return nearestAmong(m_ctx, m_held->candidates, target);
}

void StandCandidates::recheck(const QString& stand)
{
    if (!m_read)
        return;
    m_ctx.dani.TRANZ_FOR_EVENTS.commitIfActive();
    const bool stillHasADriver =
        FirstFreeDriverAtStand(m_ctx.dani.RIZNE_EVENTS, stand, modeConditions(m_mode) + QLatin1Char(' '))
            .has_value();
    m_ctx.dani.TRANZ_FOR_EVENTS.commitIfActive();
    if (!stillHasADriver)
        std::erase_if(m_held->candidates, [&](const StandPoint& c) { return c.stand == stand; });
}
