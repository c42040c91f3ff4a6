#pragma once

#include <QPoint>
#include <QVector>

// The line a street is drawn as: its points in order along it. The demo city's streets
// are straight, so ordering the points along the direction between the two that lie
// farthest apart gives the street from one end to the other.
namespace StreetLine {
QVector<QPoint> through(QVector<QPoint> points);
}
