#pragma once

#include "citymap/StreetDirectory.h"

#include <optional>

class TDANI;

// Reads the streets table into memory once per map load, so that no route point or leg
// costs a query.
class StreetDirectoryLoader
{
public:
    // Nothing (and the reason) on a database failure.
    static std::optional<StreetDirectory> load(TDANI& dani, QString* error = nullptr);
};
