#include "mainwindow/DriversFilter.h"

#include "foundation/TDANI.h"
#include "mainwindow/DriversList.h"

const char* DriversFilter::clause(Kind kind)
{
    switch (kind) {
    case Kind::Free:
        return "WHERE ((ZAD_AVTO_NOMER_ZAMOVL IS NULL) OR (ZAD_AVTO_NOMER_ZAMOVL = 0))";
    case Kind::FreeAtStands:
        return "WHERE ((ZAD_AVTO_NOMER_ZAMOVL IS NULL) OR (ZAD_AVTO_NOMER_ZAMOVL = 0)) AND (ZAD_AVTO_VULICA "
               "<> '[]{}')";
    case Kind::All:
        break;
    }
    return "";
}

void DriversFilter::choose(Kind kind)
{
    m_checked = kind;
    m_dani.TABL_ZADIANI_AVTO.filterText = QString::fromUtf8(clause(kind));
    ReopenDriversList(m_dani);
}
