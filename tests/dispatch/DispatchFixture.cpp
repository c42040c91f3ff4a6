#include "DispatchFixture.h"

#include "foundation/SqlLiteral.h"
#include "support/DriverOnAirRow.h"

TestDatabase* DispatchFixture::db = nullptr;

void DispatchFixture::SetUpTestSuite()
{
    if (!db)
        db = new TestDatabase;
}

void DispatchFixture::TearDownTestSuite() {}

std::unique_ptr<DispatchContext> DispatchFixture::makeContext(TestWorkstation& station, IClock& clock)
{
    auto context = std::unique_ptr<DispatchContext>(new DispatchContext{*station.dani,
                                                                        station.store,
                                                                        station.prompts,
                                                                        clock,
                                                                        *station.map,
                                                                        QStringLiteral("Оля Диспетчер"),
                                                                        {}});
    return context;
}

void DispatchFixture::SetUp()
{
    for (const char* table :
         {"ZAMOVLENNIA", "CLOSEZAMOVLENNIA", "ZADIANI_AVTO", "MSG_FOR_VODIY", "BL_VODII", "DANI_AVTO",
          "VODII", "KARTA_MISTA", "VULICA_LUCK", "REFLESH_DANI_VODIY_GPRS", "KLIENT"})
        db->exec(QStringLiteral("DELETE FROM ") + QLatin1String(table));
    ws = std::make_unique<TestWorkstation>(db->serverSettings());
    ASSERT_TRUE(ws->connect());
    ctx = makeContext(*ws, clock);
}

void DispatchFixture::TearDown()
{
    ctx.reset();
    ws.reset();
}

void DispatchFixture::addCar(qint64 callsign, const QString& model)
{
    db->exec(
        QStringLiteral(
            "INSERT INTO DANI_AVTO (TABL_AVTO_POZIVN, TABL_AVTO_MODEL, TABL_AVTO_KOLIR, TABL_AVTO_KUZOV, "
            "TABL_AVTO_KILPASAZHIR, TABL_AVTO_VAGA, TABL_AVTO_NOMERAVTO) VALUES (%1, %2, 'білий', 'седан', "
            "4, 300, 'АС 0001 ВК')")
            .arg(sql::integer(callsign), sql::text(model)));
}

void DispatchFixture::putOnAir(qint64 callsign, const QString& name, const QString& place, const QString& key,
                               qint64 order, const QString& model)
{
    InsertDriverOnAir(*db, {callsign, name, model, place, key, order, order != 0});
}

qint64 DispatchFixture::addOrder(const QString& pickup, const QString& destination, const QDateTime& due,
                                 int status, qint64 callsign, const QString& free)
{
    const QDateTime when = due.isValid() ? due : clock.now().addSecs(-600);
    const qint64 number = db->scalar(QStringLiteral("SELECT GEN_ID(GENIDZAMOVL, 1) FROM RDB$DATABASE"));
    db->exec(QStringLiteral(
                 "INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_POCHAT_PUNKT, ZAMOVL_PUNKT_PRIZHACH, "
                 "ZAMOVL_DATA_PRIYOMA, ZAMOVL_CHAS_PRIYOMA, ZAMOVL_CHAS_ZAKR_ZAMOVL, ZAMOVL_STATUS_ZAMOVL, "
                 "ZAMOVL_POZIVNIY, ZAMOVL_BEZKOSHTOVN) VALUES (%1, %2, %3, %4, %5, %6, %7, %8, %9)")
                 .arg(sql::integer(number), sql::text(pickup), sql::text(destination), sql::date(when.date()),
                      sql::timeHms(when.time()), sql::timeHms(when.time().addSecs(1200)),
                      sql::integer(status), sql::integer(callsign), sql::text(free)));
    return number;
}
