#pragma once

#include "dispatch/RegionTables.h"

#include <QHash>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

struct DispatchContext;

// Distribution mode texts: which drivers count when looking for the nearest stand.
namespace DistributionMode {
inline const QString kNone = QString(); // every free driver
inline const QString kFreeRidesMarkedAllowed = QStringLiteral("AutoRozd[UVIL][+]");
inline const QString kFreeRidesMarkedExcluded = QStringLiteral("AutoRozd[UVIL][-]");
inline const QString kNoFreeRides = QStringLiteral("AutoRozd[NOT UVIL]");
} // namespace DistributionMode

// Reads the district of every street and, from TARIF.INI, each district's neighbours
// and nearest stands. progress(done, total) may be empty. Throws DbError.
RegionTables ReadRegions(DispatchContext& ctx, const std::function<void(int, int)>& progress = {});
// The same, put in force in the context.
void LoadRegions(DispatchContext& ctx, const std::function<void(int, int)>& progress = {});

// Distance in metres between two labelled map points; none without the city map, its
// scale, or a placed point for either label. Throws DbError.
std::optional<double> MapDistanceMetres(DispatchContext& ctx, const QString& labelA, const QString& labelB);
// The same as decimal text with a decimal comma, empty for none.
QString MapDistance(DispatchContext& ctx, const QString& labelA, const QString& labelB);
// MapDistanceMetres from one label to every stand with a free driver, in two reads: the
// stands whose distance is known, none without the map or a placed point for the label.
// Throws DbError.
QHash<QString, double> DistancesToStands(DispatchContext& ctx, const QString& label);

// The statement of the map method: every stand with a free driver that counts in the
// mode, each with its map point (the last one of its label), in one read.
QString CandidateStandsStatement(const QString& mode);

// The stand with a free driver nearest to an address, by the map or by the district
// lists; empty text when there is none. Throws DbError.
QString FindNearestStand(DispatchContext& ctx, const QString& address, const QString& mode);
// The same with the distance in metres from the address's house to the stand, known with
// the city map only; the automatic distribution needs both.
struct NearestStand
{
    QString stand; // empty for none
    std::optional<double> metresFromHouse;
};
NearestStand FindNearestStandAndDistance(DispatchContext& ctx, const QString& address, const QString& mode);
// The candidate stands of one mode, read once and kept for a run of the automatic
// distribution: each hot order is measured against them in memory instead of reading
// them again for every order. A stand is read again after a driver was taken from it
// (recheck) and dropped once it has no driver left that counts in the mode. Stands that
// other workstations fill during the run are not seen until the next run. Without the
// city map every look-up is FindNearestStandAndDistance's. Throws DbError.
class StandCandidates
{
public:
    StandCandidates(DispatchContext& ctx, const QString& mode);
    ~StandCandidates();

    NearestStand nearestTo(const QString& address);
    void recheck(const QString& stand);

private:
    struct Held;
    DispatchContext& m_ctx;
    QString m_mode;
    std::unique_ptr<Held> m_held;
    bool m_read = false;
};

// The house part of an address ([street]{house}), as the map labels its points: the
// address cut after its first "}" when it holds "]{", the address itself otherwise.
QString HouseOfAddress(const QString& address);
