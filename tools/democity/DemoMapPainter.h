#pragma once

#include "DemoMapCity.h"

#include <QImage>
#include <QRect>
#include <QVector>

// Paints any rectangle of the demo city's map: streets as lines with their names, houses
// with their numbers, objects and stands with their names, each at its map coordinates.
// A tile painted on its own matches its neighbours at the edges, because every tile is
// painted from the whole city.
class DemoMapPainter
{
public:
    static constexpr QRgb kBackground = 0xFFF2EFE9;
    static constexpr QRgb kStandColour = 0xFFFFD200;
    static constexpr QRgb kObjectColour = 0xFFC2185B;
    static constexpr QRgb kHouseColour = 0xFF8C6F56;

    explicit DemoMapPainter(const DemoMapCity& city);

    // area: map coordinates; the picture is area's size.
    QImage paint(const QRect& area) const;

private:
    struct Line
    {
        QString name;
        QVector<QPoint> points;
        bool wide = false; // avenues and boulevards
    };
    struct DistrictName
    {
        QString name;
        QPoint at;
    };
    void paintDistricts(class QPainter& painter, const QRect& near) const;
    void paintStreets(QPainter& painter, const QRect& near) const;
    void paintStreetNames(QPainter& painter, const QRect& near) const;
    void paintPoints(QPainter& painter, const QRect& near) const;

    const DemoMapCity& m_city;
    QVector<Line> m_lines;
    QVector<DistrictName> m_districts;
};
