#include "mainwindow/RowSnapshots.h"

#include "foundation/DisplayText.h"
#include "foundation/TDANI.h"

namespace {

bool hasRow(const FbDataSet& list)
{
    return list.isOpen() && !list.isEmpty() && list.recNo() > 0;
}

// NULL counts as 0, as the grid shows it.
qint64 number(const FbDataSet& list, const char* column)
{
    return list.value(QLatin1String(column)).toLongLong();
}

QString text(const FbDataSet& list, const char* column)
{
    return displayText(list.value(QLatin1String(column)));
}

} // namespace

std::optional<DriverRow> currentDriverRow(const TDANI& dani)
{
    const FbDataSet& list = dani.TABL_ZADIANI_AVTO;
    if (!hasRow(list))
        return std::nullopt;
    return DriverRow{number(list, "ZAD_AVTO_POZIVNIY"), text(list, "ZAD_AVTO_FIO_VODIY"),
                     number(list, "ZAD_AVTO_NOMER_ZAMOVL"), text(list, "ZAD_AVTO_MARKA_AVTO"),
                     text(list, "ZAD_AVTO_VULICA")};
}

std::optional<OrderRow> currentOrderRow(const TDANI& dani)
{
    const FbDataSet& list = dani.TABL_AKTIV_ZAMOVL;
    if (!hasRow(list))
        return std::nullopt;
    return OrderRow{number(list, "ZAMOVL_NUMBER"),    number(list, "ZAMOVL_NOMER_KLIENT"),
                    number(list, "ZAMOVL_POZIVNIY"),  text(list, "ZAMOVL_FIO_TAXI"),
                    text(list, "ZAMOVL_BEZKOSHTOVN"), text(list, "ZAMOVL_PRICHINA_DELETE")};
}

std::optional<GprsActionRow> currentGprsActionRow(const TDANI& dani)
{
    const FbDataSet& list = dani.TABL_DIY_VODY_GPRS;
    if (!hasRow(list))
        return std::nullopt;
    return GprsActionRow{number(list, "DYA_VODIY_GPRS_POZ"), number(list, "DYA_VODIY_GPRS_NZ")};
}

std::optional<QString> currentStand(const TDANI& dani)
{
    const FbDataSet& list = dani.TABLE_ZADIANI_AVTO_GROUP;
    if (!hasRow(list))
        return std::nullopt;
    return text(list, "ZAD_AVTO_VULICA");
}
