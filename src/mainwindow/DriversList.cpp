#include "mainwindow/DriversList.h"

#include "foundation/TDANI.h"

void ReopenDriversList(TDANI& dani)
{
    FbDataSet& list = dani.TABL_ZADIANI_AVTO;
    list.transaction().commitIfActive();
    if (list.isOpen())
        list.close();
    list.setSql(QStringLiteral("SELECT * FROM  ZADIANI_AVTO\n") + list.filterText + QLatin1Char('\n') +
                list.sortText);
    list.openAtRememberedRow();
}
