#pragma once

#include <QString>
#include <optional>

class TDANI;

// Copies of the current rows of the main window's lists. A command takes its copy
// before its first dialog: events and the one-second tick keep reopening the lists
// while a dialog is open, so the data set's current row may be another one by then.
// Each is none when its list is closed or empty.

struct DriverRow // TABL_ZADIANI_AVTO
{
    qint64 callsign = 0;
    QString name;
    qint64 orderNumber = 0;
    QString model; // holds "{GPRS}" for drivers of the GPRS application
    QString stand;

    bool usesGprs() const { return model.contains(QLatin1String("{GPRS}")); }
};

struct OrderRow // TABL_AKTIV_ZAMOVL
{
    qint64 number = 0;
    qint64 clientCode = 0;
    qint64 callsign = 0;
    QString driverName;
    QString freeRide;
    QString description; // ZAMOVL_PRICHINA_DELETE
};

struct GprsActionRow // TABL_DIY_VODY_GPRS
{
    qint64 callsign = 0;
    qint64 orderNumber = 0;
};

std::optional<DriverRow> currentDriverRow(const TDANI& dani);
std::optional<OrderRow> currentOrderRow(const TDANI& dani);
std::optional<GprsActionRow> currentGprsActionRow(const TDANI& dani);
std::optional<QString> currentStand(const TDANI& dani); // TABLE_ZADIANI_AVTO_GROUP

inline const QString kZeroStand = QStringLiteral("[]{}");
