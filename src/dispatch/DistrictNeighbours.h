#pragma once

#include "platform/IniFile.h"

#include <QString>

// The district neighbourhood table of TARIF.INI (section SETREGION): for a district, its
// neighbouring districts in order of nearness and its nearest stands, each name written
// in braces, e.g. "{Центр}{Вокзал}". A district without keys has empty texts.
class DistrictNeighbours
{
public:
    struct Texts
    {
        QString nearestRegions;
        QString nearestStands;
    };

    // Reads TARIF.INI from the executable's folder once, for a whole table build.
    static DistrictNeighbours fromFile();
    explicit DistrictNeighbours(IniFile ini) : m_ini(std::move(ini)) {}

    Texts forDistrict(const QString& district) const;

private:
    IniFile m_ini;
};
