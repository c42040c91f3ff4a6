#include "DispatchFixture.h"

#include "dispatch/DriversOnAir.h"
#include "dispatch/QueueKey.h"
#include "foundation/SettingKeys.h"
#include "foundation/SqlLiteral.h"

TEST(QueueKey, NextKeyIsTheLargestPlusOneFourDigitsWide)
{
    EXPECT_EQ(NextQueueKey({}), QStringLiteral("0001"));
    EXPECT_EQ(NextQueueKey({QStringLiteral("0001"), QStringLiteral("0007")}), QStringLiteral("0008"));
    EXPECT_EQ(NextQueueKey({QStringLiteral("0998")}), QStringLiteral("0999"));
    EXPECT_EQ(NextQueueKey({QStringLiteral("0999"), QStringLiteral("0100")}), QStringLiteral("1000"));
    EXPECT_EQ(NextQueueKey({QStringLiteral("1000")}), QStringLiteral("1001"));
    // A key compared as text would put "999" after "1000"; as numbers it does not.
    EXPECT_EQ(NextQueueKey({QStringLiteral("1000"), QStringLiteral("999")}), QStringLiteral("1001"));
    EXPECT_EQ(NextQueueKey({QStringLiteral("08:15:00")}), QStringLiteral("0001"));
}

class DriversOnAir : public DispatchFixture
{
protected:
    QString keyOf(qint64 callsign)
    {
        return db
            ->exec(
                QStringLiteral("SELECT ZAD_AVTO_CHAS_ZAMOVL FROM ZADIANI_AVTO WHERE ZAD_AVTO_POZIVNIY = %1")
                    .arg(callsign))
            .rows[0][0]
            .toString();
    }
};

TEST_F(DriversOnAir, PutOnAirQueuesAtTheZeroStandWithTheCarData)
{
    addCar(7, QStringLiteral("{GPRS}Ланос"));
    clock.set(QDateTime(QDate(2026, 3, 2), QTime(8, 5, 9)));
    ASSERT_EQ(PutDriverOnAir(*ctx, 7, QStringLiteral("Мар'яна Коваль")), PutOnAirResult::OnAir);
    const FbRows rows = db->exec(QStringLiteral("SELECT * FROM ZADIANI_AVTO"));
    ASSERT_EQ(rows.rowCount(), 1);
    EXPECT_EQ(rows.value(0, QStringLiteral("ZAD_AVTO_FIO_VODIY")).toString(),
              QStringLiteral("Мар'яна Коваль"));
    EXPECT_EQ(rows.value(0, QStringLiteral("ZAD_AVTO_RAYON")).toString(), QStringLiteral("[8:05:09](){}"));
    EXPECT_EQ(rows.value(0, QStringLiteral("ZAD_AVTO_CHAS_ZAMOVL")).toString(), QStringLiteral("0001"));
    EXPECT_EQ(rows.value(0, QStringLiteral("ZAD_AVTO_VULICA")).toString(), QStringLiteral("[]{}"));
    EXPECT_EQ(rows.value(0, QStringLiteral("ZAD_AVTO_MARKA_AVTO")).toString(), QStringLiteral("{GPRS}Ланос"));
    EXPECT_DOUBLE_EQ(rows.value(0, QStringLiteral("ZAD_AVTO_KIL_PASAGHIR")).toDouble(), 4);
    EXPECT_FALSE(rows.value(0, QStringLiteral("ZAD_AVTO_YUVILEYKA")).isValid());
    EXPECT_FALSE(rows.value(0, QStringLiteral("ZAD_AVTO_RIBA")).isValid());

    putOnAir(8, QStringLiteral("Б"), QStringLiteral("[]{}"), QStringLiteral("0007"));
    putOnAir(9, QStringLiteral("В"), QStringLiteral("Вокзал"),
             QStringLiteral("0030")); // another stand does not count
    addCar(10);
    ASSERT_EQ(PutDriverOnAir(*ctx, 10, QStringLiteral("Г")), PutOnAirResult::OnAir);
    EXPECT_EQ(keyOf(10), QStringLiteral("0008"));
    EXPECT_TRUE(ws->prompts.messages().isEmpty());
}

TEST_F(DriversOnAir, BlackListRefusesAnyNameButALiftedEntryDoesNot)
{
    addCar(5);
    db->exec(
        QStringLiteral("INSERT INTO BL_VODII (BL_VODIY_NOMER, BL_AVTO_POZIVN, BL_STATUS) VALUES (1, 5, 0)"));
    ASSERT_EQ(PutDriverOnAir(*ctx, 5, QStringLiteral("Петро")), PutOnAirResult::OnAir);
    db->exec(QStringLiteral("DELETE FROM ZADIANI_AVTO"));
    db->exec(
        QStringLiteral("INSERT INTO BL_VODII (BL_VODIY_NOMER, BL_AVTO_POZIVN, BL_STATUS) VALUES (2, 5, 1)"));
    EXPECT_EQ(PutDriverOnAir(*ctx, 5, QStringLiteral("Зовсім інший водій")), PutOnAirResult::BlackListed);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZADIANI_AVTO")), 0);
}

TEST_F(DriversOnAir, ACallsignWithoutACarRowIsNotPutOnAir)
{
    EXPECT_EQ(PutDriverOnAir(*ctx, 77, QStringLiteral("О'Ніл")), PutOnAirResult::Refused);
    EXPECT_EQ(ws->prompts.messages(),
              QStringList{QStringLiteral(
                  "Помилка у відкритті позивного [77]{О'Ніл} до ефіру. При потребі повторіть спробу.")});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZADIANI_AVTO")), 0);
    EXPECT_FALSE(ws->dani->TRANZ_RIZNE.isActive()); // nothing left pending for a later commit
}

TEST_F(DriversOnAir, MarksComeFromTheLastFreeRideAndTheLastDeletedOrder)
{
    addCar(3);
    const QString name = QStringLiteral("Іван");
    const QDate day(2026, 3, 1);
    for (const char* row : {"(1, 1, 'TAK', 'Іван', 3, '01.03.2026', '09:00')",
                            "(2, 1, 'TAK', 'Іван', 3, '01.03.2026', '11:30')",
                            "(3, 1, 'TAK', 'Іван', 3, '28.02.2026', '23:00')",
                            "(4, -1, 'HI', 'Іван', 3, '01.03.2026', '10:15')",
                            "(5, -1, 'HI', 'Інший', 3, '01.03.2026', '12:00')"})
        db->exec(QStringLiteral("INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_STATUS_ZAMOVL, "
                                "ZAMOVL_BEZKOSHTOVN, ZAMOVL_FIO_TAXI, "
                                "ZAMOVL_POZIVNIY, ZAMOVL_DATA_PRIYOMA, ZAMOVL_CHAS_PRIYOMA) VALUES ") +
                 QString::fromUtf8(row));
    ASSERT_EQ(PutDriverOnAir(*ctx, 3, name), PutOnAirResult::OnAir);
    const FbRows rows =
        db->exec(QStringLiteral("SELECT ZAD_AVTO_YUVILEYKA, ZAD_AVTO_RIBA FROM ZADIANI_AVTO"));
    EXPECT_EQ(rows.rows[0][0].toDateTime(), QDateTime(day, QTime(11, 30)));
    EXPECT_EQ(rows.rows[0][1].toDateTime(), QDateTime(day, QTime(10, 15)));
}

TEST_F(DriversOnAir, ExpiredMarksAreResetAtTheirBoundary)
{
    ws->store.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kJubileeResetMinutes,
                       QStringLiteral("60"));
    ws->store.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kRefusalResetMinutes,
                       QStringLiteral("0"));
    putOnAir(1, QStringLiteral("А"), QStringLiteral("[]{}"), QStringLiteral("0001"));
    putOnAir(2, QStringLiteral("Б"), QStringLiteral("[]{}"), QStringLiteral("0002"));
    db->exec(QStringLiteral("UPDATE ZADIANI_AVTO SET ZAD_AVTO_YUVILEYKA = '02.03.2026 11:00:00', "
                            "ZAD_AVTO_RIBA = '01.01.2020 00:00:00' "
                            "WHERE ZAD_AVTO_POZIVNIY = 1"));
    db->exec(QStringLiteral(
        "UPDATE ZADIANI_AVTO SET ZAD_AVTO_YUVILEYKA = '02.03.2026 11:00:01' WHERE ZAD_AVTO_POZIVNIY = 2"));
    EXPECT_EQ(ResetExpiredJubileeMarks(*ctx), QString()); // now 12:00: 11:00:00 is exactly at the limit
    EXPECT_EQ(ResetExpiredRefusalMarks(*ctx), QString()); // "0" switches the reset off
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZADIANI_AVTO WHERE ZAD_AVTO_YUVILEYKA IS NULL")), 1);
    EXPECT_EQ(
        count(QStringLiteral("SELECT ZAD_AVTO_POZIVNIY FROM ZADIANI_AVTO WHERE ZAD_AVTO_YUVILEYKA IS NULL")),
        1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZADIANI_AVTO WHERE ZAD_AVTO_RIBA IS NOT NULL")), 1);
}

TEST_F(DriversOnAir, OnlyAFreeNonGprsDriverIsTakenOffAir)
{
    putOnAir(1, QStringLiteral("GPRS"), QStringLiteral("Вокзал"), QStringLiteral("0001"), 0,
             QStringLiteral("Ланос {GPRS}"));
    putOnAir(2, QStringLiteral("Зайнятий"), QStringLiteral("[Лесі]{2}"), QStringLiteral("08:00:00"), 55);
    putOnAir(3, QStringLiteral("Вільний"), QStringLiteral("Вокзал"), QStringLiteral("0002"));
    const QString changed = QStringLiteral(
        "Дані вибраного позивного змінилися - він отримав замовлення або змінився статус GPRS");
    EXPECT_FALSE(TakeDriverOffAir(*ctx, 1));
    EXPECT_FALSE(TakeDriverOffAir(*ctx, 2));
    EXPECT_FALSE(TakeDriverOffAir(*ctx, 99));
    EXPECT_EQ(ws->prompts.messages(), QStringList({changed, changed, changed}));
    EXPECT_TRUE(TakeDriverOffAir(*ctx, 3));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZADIANI_AVTO")), 2);

    // A callsign with a free row (the last one read) and an engaged one: only the free row goes.
    putOnAir(4, QStringLiteral("Денна зміна"), QStringLiteral("[Лесі]{9}"), QStringLiteral("09:00:00"), 56);
    putOnAir(4, QStringLiteral("Нічна зміна"), QStringLiteral("[]{}"), QStringLiteral("0001"));
    TakeDriverOffAir(*ctx, 4); // whichever row is read last, the engaged one must stay
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZADIANI_AVTO WHERE ZAD_AVTO_NOMER_ZAMOVL = 56")), 1);
}

TEST_F(DriversOnAir, MarkUpdateTouchesOnlyTheMatchingCallsignAndName)
{
    putOnAir(6, QStringLiteral("Оксана"), QStringLiteral("[]{}"), QStringLiteral("0001"));
    putOnAir(6, QStringLiteral("Олег"), QStringLiteral("Вокзал"), QStringLiteral("0001"));
    db->exec(QStringLiteral(
        "INSERT INTO CLOSEZAMOVLENNIA (CZ_NUMBER, CZ_STATUS_ZAMOVL, CZ_BEZKOSHTOVN, CZ_FIO_TAXI, "
        "CZ_POZIVNIY, "
        "CZ_DATA_PRIYOMA, CZ_CHAS_PRIYOMA) VALUES (1, 1, 'TAK', 'Оксана', 6, '01.03.2026', '07:45')"));
    UpdateDriverMarks(*ctx, 6, QStringLiteral("Оксана"));
    const FbRows oleh = db->exec(
        QStringLiteral("SELECT ZAD_AVTO_YUVILEYKA FROM ZADIANI_AVTO WHERE ZAD_AVTO_FIO_VODIY = 'Олег'"));
    EXPECT_FALSE(oleh.rows[0][0].isValid());
    const FbRows oksana = db->exec(QStringLiteral(
        "SELECT ZAD_AVTO_YUVILEYKA, ZAD_AVTO_RIBA FROM ZADIANI_AVTO WHERE ZAD_AVTO_FIO_VODIY = 'Оксана'"));
    EXPECT_EQ(oksana.rows[0][0].toDateTime(), QDateTime(QDate(2026, 3, 1), QTime(7, 45)));
    EXPECT_FALSE(oksana.rows[0][1].isValid());
    EXPECT_TRUE(ws->prompts.messages().isEmpty());
}

TEST_F(DriversOnAir, DriverDetailsForTheCarCard)
{
    addCar(12, QStringLiteral("{GPRS}Шкода"));
    putOnAir(12, QStringLiteral("Марко"), QStringLiteral("Вокзал"), QStringLiteral("0001"), 0,
             QStringLiteral("{GPRS}Шкода"));
    putOnAir(12, QStringLiteral("Марко"), QStringLiteral("Ринок"), QStringLiteral("0002"), 0,
             QStringLiteral("{GPRS}Шкода"));
    db->exec(QStringLiteral("INSERT INTO VODII (TABL_VODIY_NOMER, TABL_VODIY_FIO, TABL_VODIY_TELEFON) VALUES "
                            "(1, 'Марко', '067')"));
    for (const char* row :
         {"(1, 'Вокзал', 'СТОЯНКА', 1)", "(2, 'Ринок', 'СТОЯНКА', 2)", "(3, 'Аптека', 'АПТЕКА', 2)"})
        db->exec(QStringLiteral("INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PIDPIS, "
                                "KOORD_KART_MISTA_STATUS, "
                                "KOORD_KART_MISTA_PUKT_1) VALUES ") +
                 QString::fromUtf8(row));
    const DriverDetails d = ShowDriverDetails(*ctx, 12);
    EXPECT_EQ(d.gprs, QStringLiteral("+"));
    EXPECT_EQ(d.phone, QStringLiteral("067"));
    EXPECT_EQ(d.places.size(), 2);
    EXPECT_EQ(d.objects.size(), 5); // two headers, three objects
    EXPECT_TRUE(d.objects[0].header);
    EXPECT_EQ(d.checkedCount, 2);
}

// Text from the car and driver tables goes into the INSERT as it is, however it looks:
// placeholders, quotes and backslashes are data, never part of the statement.
TEST_F(DriversOnAir, NamesAndCarTextsThatLookLikePlaceholdersGoOnAirUnchanged)
{
    const QStringList odd = {QStringLiteral("Ко%1"), QStringLiteral("%10%11"), QStringLiteral("О'Ніл \\ 'x'"),
                             QStringLiteral("%2 і %9 \\%1")};
    qint64 callsign = 40;
    for (const QString& text : odd) {
        ++callsign;
        db->exec(QStringLiteral("INSERT INTO DANI_AVTO (TABL_AVTO_POZIVN, TABL_AVTO_MODEL, TABL_AVTO_KOLIR, "
                                "TABL_AVTO_KUZOV, TABL_AVTO_KILPASAZHIR, TABL_AVTO_VAGA) VALUES (%1, %2, %3, "
                                "%4, 4, 300)")
                     .arg(sql::integer(callsign), sql::text(text + QStringLiteral(" модель")),
                          sql::text(text + QStringLiteral(" колір")),
                          sql::text(text + QStringLiteral(" кузов"))));
        ASSERT_EQ(PutDriverOnAir(*ctx, callsign, text), PutOnAirResult::OnAir) << text.toStdString();
        const FbRows rows = db->exec(QStringLiteral("SELECT * FROM ZADIANI_AVTO WHERE ZAD_AVTO_POZIVNIY = %1")
                                         .arg(sql::integer(callsign)));
        ASSERT_EQ(rows.rowCount(), 1);
        EXPECT_EQ(rows.value(0, QStringLiteral("ZAD_AVTO_FIO_VODIY")).toString(), text);
        EXPECT_EQ(rows.value(0, QStringLiteral("ZAD_AVTO_MARKA_AVTO")).toString(),
                  text + QStringLiteral(" модель"));
        EXPECT_EQ(rows.value(0, QStringLiteral("ZAD_AVTO_KOLIR_AVTO")).toString(),
                  text + QStringLiteral(" колір"));
        EXPECT_EQ(rows.value(0, QStringLiteral("ZAD_AVTO_KUZOV_AVTO")).toString(),
                  text + QStringLiteral(" кузов"));
        // The two marks come last in the statement: a name must not become their value.
        EXPECT_FALSE(rows.value(0, QStringLiteral("ZAD_AVTO_YUVILEYKA")).isValid());
        EXPECT_FALSE(rows.value(0, QStringLiteral("ZAD_AVTO_RIBA")).isValid());
    }
    EXPECT_TRUE(ws->prompts.messages().isEmpty());

    // The failure message names the driver as typed, too.
    EXPECT_EQ(PutDriverOnAir(*ctx, 99, QStringLiteral("%1%2")), PutOnAirResult::Refused);
    EXPECT_EQ(ws->prompts.messages(),
              QStringList{QStringLiteral("Помилка у відкритті позивного [99]{%1%2} до ефіру. При потребі "
                                         "повторіть спробу.")});
}
