#pragma once

#include "foundation/TDANI.h"

#include <QMap>

// Reopens the closed lists the way the list refresh does: at their remembered rows,
// counting how often each list was opened.
struct ListReopener
{
    TDANI& dani;
    QMap<QString, int> opened;

    void operator()()
    {
        reopen(dani.TABL_AKTIV_ZAMOVL,
               QStringLiteral("Select * from ZAMOVLENNIA WHERE (ZAMOVL_STATUS_ZAMOVL = 0) Order by ") +
                   dani.TABL_AKTIV_ZAMOVL.sortText);
        reopen(dani.TABL_VIKON_ZAMOVL,
               QStringLiteral("Select * from CLOSEZAMOVLENNIA WHERE (CZ_STATUS_ZAMOVL = 1) Order by ") +
                   dani.TABL_VIKON_ZAMOVL.sortText);
        reopen(dani.TABL_DELETE_ZAMOVL,
               QStringLiteral("Select * from CLOSEZAMOVLENNIA WHERE (CZ_STATUS_ZAMOVL = (-1)) Order by ") +
                   dani.TABL_DELETE_ZAMOVL.sortText);
        reopen(dani.TABL_ZADIANI_AVTO,
               QStringLiteral("SELECT * FROM  ZADIANI_AVTO ") + dani.TABL_ZADIANI_AVTO.sortText);
        reopen(dani.TABLE_ZADIANI_AVTO_GROUP,
               QStringLiteral(
                   "SELECT  ZAD_AVTO_VULICA  FROM  ZADIANI_AVTO WHERE ((ZAD_AVTO_NOMER_ZAMOVL IS NULL) OR "
                   "(ZAD_AVTO_NOMER_ZAMOVL = 0)) GROUP  BY  ZAD_AVTO_VULICA"));
        reopen(dani.TABL_DIY_VODY_GPRS,
               QStringLiteral("SELECT * FROM  DYA_VODIY_GPRS ") + dani.TABL_DIY_VODY_GPRS.sortText);
    }
    void reopen(FbDataSet& list, const QString& sql)
    {
        if (list.isOpen())
            return;
        list.setSql(sql);
        list.openAtRememberedRow();
        ++opened[list.name()];
    }
};
