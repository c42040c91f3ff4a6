#pragma once

#include "dispatch/RegionTables.h"

#include <QString>
#include <functional>
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

// The statement of the map method: every stand with a free driver that counts in the
// mode, each with its map point (the last one of its label), in one read.
QString CandidateStandsStatement(const QString& mode);

// The stand with a free driver nearest to an address, by the map or by the district
// lists; empty text when there is none. Throws DbError.
QString FindNearestStand(DispatchContext& ctx, const QString& address, const QString& mode);
