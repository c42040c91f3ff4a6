#include "DriverOnAirRow.h"

#include "TestDatabase.h"
#include "foundation/SqlLiteral.h"

void InsertDriverOnAir(TestDatabase& db, const DriverOnAirRow& row)
{
    db.exec(QStringLiteral(
                "INSERT INTO ZADIANI_AVTO (ZAD_AVTO_POZIVNIY, ZAD_AVTO_FIO_VODIY, ZAD_AVTO_MARKA_AVTO, "
                "ZAD_AVTO_CHAS_ZAMOVL, ZAD_AVTO_VULICA, ZAD_AVTO_ZADIANIST, ZAD_AVTO_NOMER_ZAMOVL) "
                "VALUES (%1, %2, %3, %4, %5, %6, %7)")
                .arg(sql::integer(row.callsign), sql::text(row.name), sql::text(row.model),
                     sql::text(row.key), sql::text(row.stand), sql::integer(row.engaged ? 1 : 0),
                     sql::integer(row.order)));
}
