#include "CommandsFixture.h"

#include "foundation/SqlLiteral.h"
#include "support/DriverOnAirRow.h"

TestDatabase* CommandsFixture::db = nullptr;

void CommandsFixture::SetUpTestSuite()
{
    if (!db)
        db = new TestDatabase;
}

void CommandsFixture::SetUp()
{
    for (const char* table : {"ZAMOVLENNIA", "CLOSEZAMOVLENNIA", "ZADIANI_AVTO", "MSG_FOR_VODIY", "BL_VODII",
                              "DANI_AVTO", "VODII", "KLIENT", "DYA_VODIY_GPRS"})
        db->exec(QStringLiteral("DELETE FROM ") + QLatin1String(table));
    ws = std::make_unique<TestWorkstation>(db->serverSettings());
    ASSERT_TRUE(ws->connect());
    ctx = std::unique_ptr<DispatchContext>(new DispatchContext{
        *ws->dani, ws->store, prompts, clock, *ws->map, QStringLiteral("Оля Диспетчер"), {}});
}

void CommandsFixture::TearDown()
{
    ctx.reset();
    ws.reset();
}

void CommandsFixture::addCar(qint64 callsign, qint64 driverNumber)
{
    db->exec(QStringLiteral("INSERT INTO DANI_AVTO (TABL_AVTO_POZIVN, TABL_AVTO_NOM_VODIY, TABL_AVTO_MODEL, "
                            "TABL_AVTO_KILPASAZHIR, TABL_AVTO_VAGA) VALUES (%1, %2, 'Ланос', 4, 300)")
                 .arg(sql::integer(callsign), sql::integer(driverNumber)));
}

void CommandsFixture::addDriver(qint64 number, const QString& name)
{
    db->exec(
        QStringLiteral(
            "INSERT INTO VODII (TABL_VODIY_NOMER, TABL_VODIY_FIO, TABL_VODIY_ADRESSA, TABL_VODIY_TELEFON) "
            "VALUES (%1, %2, 'Лесі Українки 5', '067 111')")
            .arg(sql::integer(number), sql::text(name)));
}

void CommandsFixture::putOnAir(qint64 callsign, const QString& name, const QString& stand, const QString& key,
                               qint64 order, const QString& model)
{
    InsertDriverOnAir(*db, {callsign, name, model, stand, key, order, false});
}

bool CommandsFixture::onAir(qint64 callsign)
{
    return db->scalar(QStringLiteral("SELECT COUNT(*) FROM ZADIANI_AVTO WHERE ZAD_AVTO_POZIVNIY = %1")
                          .arg(callsign)) > 0;
}

void CommandsFixture::openLists()
{
    TDANI& dani = *ws->dani;
    for (FbDataSet* list : {&dani.TABL_AKTIV_ZAMOVL, &dani.TABL_ZADIANI_AVTO, &dani.TABLE_ZADIANI_AVTO_GROUP,
                            &dani.TABL_DIY_VODY_GPRS})
        if (list->isOpen())
            list->close();
    (*ws->reopener)();
}

void CommandsFixture::selectDriver(qint64 callsign)
{
    FbDataSet& list = ws->dani->TABL_ZADIANI_AVTO;
    for (int row = 1; row <= list.recordCount(); ++row)
        if (list.valueAt(row, QStringLiteral("ZAD_AVTO_POZIVNIY")).toLongLong() == callsign)
            return list.moveTo(row);
    FAIL() << "callsign not in the list: " << callsign;
}

void CommandsFixture::selectStand(const QString& stand)
{
    FbDataSet& list = ws->dani->TABLE_ZADIANI_AVTO_GROUP;
    for (int row = 1; row <= list.recordCount(); ++row)
        if (list.valueAt(row, QStringLiteral("ZAD_AVTO_VULICA")).toString() == stand)
            return list.moveTo(row);
    FAIL() << "stand not in the list";
}
