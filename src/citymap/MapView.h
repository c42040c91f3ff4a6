#pragma once

#include <QPoint>

// The tile the map window shows and the map coordinates of its top-left corner, shared
// by the window and its overlays. A map load starts again at tile 1_1.
struct MapView
{
    int column = 1;
    int row = 1;
    QPoint offset;
};
