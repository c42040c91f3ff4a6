#pragma once

#include <QString>
#include <vector>

// The district data that stands in for the city map: which district each street lies
// in, and per district its neighbours and nearest stands (texts of names in braces).
struct RegionTables
{
    struct StreetRegion
    {
        QString street;
        QString region;
    };
    struct RegionLink
    {
        QString region;
        QString nearestRegions; // {Центр}{Вокзальний}
        QString nearestStands;  // {Ринок}{Вокзал}
    };

    std::vector<StreetRegion> streets; // alphabetical by street
    std::vector<RegionLink> links;
};
