#pragma once

#include <QString>
#include <vector>

// One candidate of the street search: the streets from the start street to the
// destination street, and its rank, the number of changes of street along it (1 for a
// route along one street).
struct StreetRoute
{
    int rank = 0;
    std::vector<int> streets;

    // "{" rank "}" followed by each street as "[" number "]".
    QString text() const;

    bool operator==(const StreetRoute& other) const = default;
};
