#include "MaintenanceFixture.h"

#include "foundation/SettingKeys.h"
#include "foundation/SqlLiteral.h"
#include "support/DriverOnAirRow.h"

TestDatabase* MaintenanceFixture::db = nullptr;

void MaintenanceFixture::SetUpTestSuite()
{
    if (!db)
        db = new TestDatabase;
}

std::unique_ptr<DispatchContext> MaintenanceFixture::makeContext(TestWorkstation& station, IClock& clock)
{
    return std::unique_ptr<DispatchContext>(new DispatchContext{*station.dani,
                                                                station.store,
                                                                station.prompts,
                                                                clock,
                                                                *station.map,
                                                                QStringLiteral("Оля Диспетчер"),
                                                                {}});
}

void MaintenanceFixture::SetUp()
{
    for (const char* table : {"ZAMOVLENNIA", "CLOSEZAMOVLENNIA", "ZADIANI_AVTO", "DANI_AVTO", "VODII",
                              "REFLESH_DANI_VODIY_GPRS", "KLIENT"})
        db->exec(QStringLiteral("DELETE FROM ") + QLatin1String(table));
    ws = std::make_unique<TestWorkstation>(db->serverSettings());
    ASSERT_TRUE(ws->connect());
    ctx = makeContext(*ws, clock);
    ws->store.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kRidesPerFreeRide, QStringLiteral("5"));
}

void MaintenanceFixture::TearDown()
{
    ctx.reset();
    ws.reset();
}

qint64 MaintenanceFixture::addOrder(const OpenOrderRow& row)
{
    const QDateTime end = row.plannedEnd.isValid() ? row.plannedEnd : clock.now().addSecs(-1200);
    const qint64 number = db->scalar(QStringLiteral("SELECT GEN_ID(GENIDZAMOVL, 1) FROM RDB$DATABASE"));
    db->exec(
        QStringLiteral("INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_NOMER_KLIENT, ZAMOVL_PRICHINA_DELETE, "
                       "ZAMOVL_POCHAT_PUNKT, ZAMOVL_PUNKT_PRIZHACH, ZAMOVL_DATA_ZAKR_ZAMOVL, "
                       "ZAMOVL_CHAS_ZAKR_ZAMOVL, ZAMOVL_POZIVNIY, ZAMOVL_FIO_TAXI, ZAMOVL_BEZKOSHTOVN, "
                       "ZAMOVL_STATUS_ZAMOVL) VALUES (%1, %2, '{швидке}   тел.:[0501234567]', '[Лесі]{2}', "
                       "'[Шевченка]{12} кв. 5', %3, %4, %5, %6, %7, 0)")
            .arg(sql::integer(number), sql::integer(row.client), sql::date(end.date()),
                 sql::timeHms(end.time()), row.callsign ? sql::integer(row.callsign) : QStringLiteral("NULL"),
                 row.callsign ? sql::text(row.driver) : QStringLiteral("NULL"), sql::text(row.free)));
    return number;
}

void MaintenanceFixture::putOnAir(qint64 callsign, const QString& name, const QString& place,
                                  const QString& key, qint64 order, const QString& model)
{
    InsertDriverOnAir(*db, {callsign, name, model, place, key, order, order != 0});
    db->exec(QStringLiteral("UPDATE ZADIANI_AVTO SET ZAD_AVTO_CHAS_PRIBUTTIA = '12:20:00' WHERE "
                            "(ZAD_AVTO_NOMER_ZAMOVL = %1) AND (%1 <> 0)")
                 .arg(order));
}

void MaintenanceFixture::addDriver(qint64 callsign, const QString& name)
{
    db->exec(
        QStringLiteral("INSERT INTO VODII (TABL_VODIY_NOMER, TABL_VODIY_FIO, TABL_VODIY_AVANS) VALUES (%1, "
                       "%2, 0)")
            .arg(sql::integer(callsign), sql::text(name)));
    db->exec(
        QStringLiteral("INSERT INTO DANI_AVTO (TABL_AVTO_POZIVN, TABL_AVTO_NOM_VODIY, TABL_AVTO_KILVIKLIK) "
                       "VALUES (%1, %1, 10)")
            .arg(callsign));
    db->exec(QStringLiteral("INSERT INTO REFLESH_DANI_VODIY_GPRS VALUES (%1, '-', '01.03.2026 08:00:00', 77)")
                 .arg(callsign));
}

void MaintenanceFixture::addClient(qint64 code, int rides, int freeRides)
{
    db->exec(QStringLiteral(
                 "INSERT INTO KLIENT (KLIENT_NUMBER, KLIENT_DODATKOVO, KLIENT_BALANS, KLIENT_KIL_VIKLIK, "
                 "KLIENT_KIL_FREE_VIKLIK) VALUES (%1, '[%2] постійний', 100, %3, %4)")
                 .arg(sql::nextNumber(QStringLiteral("KLIENT_NUMBER"), QStringLiteral("KLIENT"), 1),
                      QStringLiteral("%1").arg(code, 5, 10, QLatin1Char('0')), sql::integer(rides),
                      sql::integer(freeRides)));
}

qint64 MaintenanceFixture::addAssignedOrder(qint64 callsign, const QString& name, OpenOrderRow row)
{
    row.callsign = callsign;
    row.driver = name;
    const qint64 order = addOrder(row);
    putOnAir(callsign, name, QStringLiteral("[Шевченка]{12}"), QStringLiteral("11:30:00"), order);
    return order;
}

OrderMaintenanceRequest MaintenanceFixture::header(qint64 order)
{
    const FbRows rows =
        db->exec(QStringLiteral("SELECT ZAMOVL_NOMER_KLIENT, ZAMOVL_POZIVNIY, ZAMOVL_FIO_TAXI, "
                                "ZAMOVL_BEZKOSHTOVN FROM ZAMOVLENNIA WHERE ZAMOVL_NUMBER = %1")
                     .arg(order));
    OrderMaintenanceRequest r;
    r.number = order;
    r.clientCode = rows.rows.at(0)[0].toLongLong();
    r.callsign = rows.rows.at(0)[1].toLongLong();
    r.driverName = rows.rows.at(0)[2].toString();
    r.freeRide = rows.rows.at(0)[3].toString();
    return r;
}

QString MaintenanceFixture::driverColumn(qint64 callsign, const char* column)
{
    return value(QStringLiteral("SELECT %1 FROM ZADIANI_AVTO WHERE ZAD_AVTO_POZIVNIY = %2")
                     .arg(QLatin1String(column), sql::integer(callsign)))
        .toString();
}

void MaintenanceFixture::refuseUpdatesOf(const QString& table, const QString& condition)
{
    db->exec(QStringLiteral("CREATE EXCEPTION E_TEST_REFUSED 'відмовлено тригером'"));
    db->exec(
        QStringLiteral("CREATE TRIGGER T_TEST_REFUSED FOR %1 BEFORE UPDATE AS BEGIN IF (%2) THEN EXCEPTION "
                       "E_TEST_REFUSED; END")
            .arg(table, condition));
}

void MaintenanceFixture::allowUpdates()
{
    db->exec(QStringLiteral("DROP TRIGGER T_TEST_REFUSED"));
    db->exec(QStringLiteral("DROP EXCEPTION E_TEST_REFUSED"));
}

QStringList MaintenanceFixture::watchedTables() const
{
    return {QStringLiteral("ZAMOVLENNIA"), QStringLiteral("ZADIANI_AVTO"),
            QStringLiteral("KLIENT"),      QStringLiteral("DANI_AVTO"),
            QStringLiteral("VODII"),       QStringLiteral("REFLESH_DANI_VODIY_GPRS")};
}

QString MaintenanceFixture::snapshot()
{
    QString all;
    for (const QString& table : watchedTables())
        for (const auto& row : db->exec(QStringLiteral("SELECT * FROM %1 ORDER BY 1, 2").arg(table)).rows)
            for (const QVariant& v : row)
                all += v.toString() + QLatin1Char('|');
    return all;
}

void MaintenanceFixture::expectNoTrace(const QString& table, const QString& condition,
                                       const std::function<bool()>& operation)
{
    const QString before = snapshot();
    refuseUpdatesOf(table, condition);
    ws->prompts.clear();
    EXPECT_FALSE(operation());
    allowUpdates();
    EXPECT_EQ(ws->prompts.messages().size(), 1);
    EXPECT_FALSE(ws->dani->TRANZ_RIZNE.isActive());
    EXPECT_EQ(snapshot(), before);
}
