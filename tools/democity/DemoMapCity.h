#pragma once

#include <QPoint>
#include <QString>
#include <QVector>

class FbConnection;

// What the map draws, as the database holds it: the streets with the map points that lie
// on them, and every placed point with its label and kind. Drawing from the database
// keeps the picture in agreement with what the workstation looks up on it.
struct DemoMapCity
{
    struct Street
    {
        int number = 0;
        QString name;
        QVector<QPoint> points; // crossings, stands, objects and houses on the street
    };
    struct Point
    {
        QString label; // empty for a crossing
        QString status;
        QString district;
        QPoint at;
    };

    QString cityName; // MY_CITY of the dispatcher settings; empty when not set
    QVector<Street> streets;
    QVector<Point> points; // placed points only (both coordinates above 0)

    // The largest coordinates of the placed points.
    QPoint extent() const;

    // Throws DbError.
    static DemoMapCity read(FbConnection& connection);
    // A point belongs to a street by its street numbers, or, for a house, by the street
    // name of its label "[street]{house}" (houses carry no numbers).
    static QString houseStreet(const QString& label);
};
