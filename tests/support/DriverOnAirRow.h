#pragma once

#include <QString>

class TestDatabase;

// A driver on air as another workstation would have put him there: a row of
// ZADIANI_AVTO with the columns the desk's lists and commands read.
struct DriverOnAirRow
{
    qint64 callsign = 0;
    QString name;
    QString model;
    QString stand;    // ZAD_AVTO_VULICA: the stand or place he waits at
    QString key;      // ZAD_AVTO_CHAS_ZAMOVL: the queue key (time he came)
    qint64 order = 0; // the order he carries, 0 for none
    bool engaged = false;
};

void InsertDriverOnAir(TestDatabase& db, const DriverOnAirRow& row);
