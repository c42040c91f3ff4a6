#include "IntakeFixture.h"

#include "foundation/SettingKeys.h"
#include "foundation/SqlLiteral.h"

void IntakeFixture::SetUpTestSuite()
{
    db = new TestDatabase;
    // Lets a test make the third row of a batch fail: orders whose notes say so are
    // refused on the third insert of their transaction.
    db->exec(QStringLiteral("CREATE EXCEPTION E_THIRD_ROW 'третій рядок відхилено'"));
    db->exec(QStringLiteral(
        "CREATE TRIGGER TR_TEST_THIRD_ROW FOR ZAMOVLENNIA BEFORE INSERT AS\n"
        "DECLARE VARIABLE N INTEGER;\n"
        "BEGIN\n"
        "  IF (NEW.ZAMOVL_PRICHINA_DELETE CONTAINING 'FAIL-THIRD') THEN\n"
        "  BEGIN\n"
        "    N = COALESCE(CAST(RDB$GET_CONTEXT('USER_TRANSACTION', 'ROWS') AS INTEGER), 0) + 1;\n"
        "    RDB$SET_CONTEXT('USER_TRANSACTION', 'ROWS', N);\n"
        "    IF (N = 3) THEN EXCEPTION E_THIRD_ROW;\n"
        "  END\n"
        "END"));
}

void IntakeFixture::TearDownTestSuite()
{
    delete db;
    db = nullptr;
}

void IntakeFixture::SetUp()
{
    for (const char* table : {"ZAMOVLENNIA", "CLOSEZAMOVLENNIA", "ZADIANI_AVTO", "KARTA_MISTA", "VULICA_LUCK",
                              "KLIENT", "TARIFI"})
        db->exec(QStringLiteral("DELETE FROM ") + QLatin1String(table));
    ws = std::make_unique<TestWorkstation>(db->serverSettings());
    ASSERT_TRUE(ws->connect());
    ctx = std::unique_ptr<DispatchContext>(new DispatchContext{
        *ws->dani, ws->store, ws->prompts, clock, *ws->map, QStringLiteral("Оля О'Коннор"), {}});
    const QString firm = SettingsStore::kOrderLogicGroup;
    ws->store.setValue(firm, SettingKeys::kAverageSpeed, QStringLiteral("40"));
    ws->store.setValue(firm, SettingKeys::kCloseWithoutDistance, QStringLiteral("20"));
    ws->store.setValue(firm, SettingKeys::kFreeRideLimit, QStringLiteral("30"));
    ws->store.setValue(firm, SettingKeys::kVat, QStringLiteral("0"));
}

void IntakeFixture::TearDown()
{
    ctx.reset();
    ws.reset();
}

qint64 IntakeFixture::addClient(const QString& code, const QString& name, const QString& telephones,
                                const QString& balance, int jubileeTrips)
{
    db->exec(
        QStringLiteral(
            "INSERT INTO KLIENT (KLIENT_NUMBER, KLIENT_FIO, KLIENT_TELEFON, KLIENT_DODATKOVO, KLIENT_BALANS, "
            "KLIENT_ZNIZHKA, KLIENT_KIL_VIKLIK, KLIENT_KIL_FREE_VIKLIK) VALUES (%1, %2, %3, %4, %5, 0, 0, "
            "%6)")
            .arg(sql::nextNumber(QStringLiteral("KLIENT_NUMBER"), QStringLiteral("KLIENT"), 1),
                 sql::text(name), sql::text(telephones),
                 sql::text(QLatin1Char('[') + code + QStringLiteral("] приватний (pw)")),
                 sql::decimal(balance), sql::integer(jubileeTrips)));
    return db->scalar(QStringLiteral("SELECT MAX(KLIENT_NUMBER) FROM KLIENT"));
}

void IntakeFixture::addTariff(const QString& name, const QString& boarding, const QString& kmInTown)
{
    db->exec(
        QStringLiteral(
            "INSERT INTO TARIFI (TARIF_NAME, TARIF_PRIINYATTA_ZAMOVL, TARIF_KM_MISTO, TARIF_KM_ZA_MISTO, "
            "TARIF_CINA_POPERED_ZAMOVL, TARIF_HV_PROSTOU) VALUES (%1, %2, %3, 8, 10, 1.5)")
            .arg(sql::text(name), sql::decimal(boarding), sql::decimal(kmInTown)));
}

void IntakeFixture::addMapPoint(qint64 number, const QString& label, int x, int y, const QString& status)
{
    db->exec(QStringLiteral(
                 "INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PIDPIS, KOORD_KART_MISTA_X, "
                 "KOORD_KART_MISTA_Y, KOORD_KART_MISTA_STATUS) VALUES (%1, %2, %3, %4, %5)")
                 .arg(sql::integer(number), sql::text(label), sql::integer(x), sql::integer(y),
                      sql::text(status)));
}
