#include "CarCardFixture.h"

#include "foundation/SettingKeys.h"
#include "foundation/SqlLiteral.h"
#include "support/DriverOnAirRow.h"

TestDatabase* CarCardFixture::db = nullptr;

void CarCardFixture::SetUpTestSuite()
{
    if (!db)
        db = new TestDatabase;
}

void CarCardFixture::SetUp()
{
    for (const char* table : {"ZAMOVLENNIA", "ZADIANI_AVTO", "MSG_FOR_VODIY", "BL_VODII", "DANI_AVTO",
                              "VODII", "KARTA_MISTA", "REFLESH_DANI_VODIY_GPRS"})
        db->exec(QStringLiteral("DELETE FROM ") + QLatin1String(table));
    for (const char* stand : {"Вокзал", "Ринок", "Центр"})
        addStandPoint(QString::fromUtf8(stand));
    ws = std::make_unique<TestWorkstation>(db->serverSettings());
    ASSERT_TRUE(ws->connect());
    ws->store.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kMaxStandsPerDriver,
                       QStringLiteral("3"));
    ctx = std::unique_ptr<DispatchContext>(new DispatchContext{
        *ws->dani, ws->store, prompts, clock, *ws->map, QStringLiteral("Оля Диспетчер"), {}});
    card = std::make_unique<CarCard>(*ctx);
}

void CarCardFixture::TearDown()
{
    card.reset();
    ctx.reset();
    ws.reset();
}

void CarCardFixture::addCar(qint64 callsign, const QString& driver, qint64 driverNumber)
{
    db->exec(QStringLiteral("INSERT INTO DANI_AVTO (TABL_AVTO_POZIVN, TABL_AVTO_NOM_VODIY, TABL_AVTO_MODEL, "
                            "TABL_AVTO_KILPASAZHIR, TABL_AVTO_VAGA) VALUES (%1, %2, 'Ланос', 4, 300)")
                 .arg(sql::integer(callsign), sql::integer(driverNumber)));
    db->exec(QStringLiteral("INSERT INTO VODII (TABL_VODIY_NOMER, TABL_VODIY_FIO, TABL_VODIY_TELEFON) VALUES "
                            "(%1, %2, '067 111')")
                 .arg(sql::integer(driverNumber), sql::text(driver)));
}

void CarCardFixture::putOnAir(qint64 callsign, const QString& name, const QString& stand, const QString& key,
                              const QString& model)
{
    InsertDriverOnAir(*db, {callsign, name, model, stand, key, 0, false});
}

void CarCardFixture::addStandPoint(const QString& name)
{
    db->exec(
        QStringLiteral("INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PIDPIS, "
                       "KOORD_KART_MISTA_STATUS, KOORD_KART_MISTA_X, KOORD_KART_MISTA_Y, "
                       "KOORD_KART_MISTA_PUKT_1) VALUES (%1, %2, 'СТОЯНКА', 10, 10, 1)")
            .arg(sql::nextNumber(QStringLiteral("KOORD_KART_MISTA_NP"), QStringLiteral("KARTA_MISTA"), 1),
                 sql::text(name)));
}

QStringList CarCardFixture::placesOf(qint64 callsign)
{
    QStringList places;
    for (const auto& row :
         db->exec(QStringLiteral("SELECT ZAD_AVTO_VULICA, ZAD_AVTO_CHAS_ZAMOVL FROM ZADIANI_AVTO "
                                 "WHERE ZAD_AVTO_POZIVNIY = %1 ORDER BY ZAD_AVTO_VULICA")
                      .arg(callsign))
             .rows)
        places << row[0].toString() + QLatin1Char(' ') + row[1].toString();
    return places;
}

QString CarCardFixture::keyOf(qint64 callsign, const QString& stand)
{
    const FbRows rows = db->exec(QStringLiteral("SELECT ZAD_AVTO_CHAS_ZAMOVL FROM ZADIANI_AVTO WHERE "
                                                "ZAD_AVTO_POZIVNIY = %1 AND ZAD_AVTO_VULICA = %2")
                                     .arg(sql::integer(callsign), sql::text(stand)));
    return rows.isEmpty() ? QString() : rows.rows[0][0].toString();
}

int CarCardFixture::tickIndex(const QString& text) const
{
    const auto& objects = card->details().objects;
    for (int i = 0; i < objects.size(); ++i)
        if (objects[i].text == text)
            return i;
    return -1;
}

void CarCardFixture::tick(const QString& text, bool on)
{
    const int index = tickIndex(text);
    ASSERT_GE(index, 0) << text.toStdString();
    card->setTicked(index, on);
}
