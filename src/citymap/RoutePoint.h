#pragma once

#include <QString>

// A point of an order's route as the route measurement needs it: the item as the route
// list shows it, whether it is a building, a building's street, and its map point.
struct RoutePoint
{
    QString text; // the route list item, marker included
    bool building = false;
    QString street;   // a building's street name
    int mapPoint = 0; // KOORD_KART_MISTA_NP; 0 for a point off the map

    // The item up to its "<": the place without its map point marker.
    QString place() const
    {
        const qsizetype marker = text.indexOf(QLatin1Char('<'));
        return marker < 0 ? text : text.left(marker);
    }
};
