#include "IntakeFixture.h"

#include "foundation/SqlLiteral.h"
#include "orders/intake/ClientCard.h"
#include "orders/intake/DriverPreselection.h"
#include "orders/intake/OrderIntake.h"

#include <QSignalSpy>

class OrderSaving : public IntakeFixture
{
protected:
    void SetUp() override
    {
        IntakeFixture::SetUp();
        addTariff(QStringLiteral("Місто"), QStringLiteral("15"), QStringLiteral("4.2"));
        intake = std::make_unique<OrderIntake>(*ctx);
        intake->startCreate();
        OrderClient client;
        client.callerTelephone = QStringLiteral("0671234567");
        client.code = QStringLiteral("00042");
        client.name = QStringLiteral("Д'Артаньян");
        client.balance = QStringLiteral("12,5");
        client.discount = QStringLiteral("0");
        client.jubileeTrips = QStringLiteral("0");
        intake->setClient(client);
    }
    void TearDown() override
    {
        intake.reset();
        IntakeFixture::TearDown();
    }
    // A route of three points, 10 km in town on the tariff "Місто": 15 + 42 = 57.
    void fillOrder()
    {
        intake->addRouteItem(*RouteItem::building(QStringLiteral("вул. Лук'янівська"), QStringLiteral("3"),
                                                  QStringLiteral("кв.1"), 4));
        intake->addRouteItem(*RouteItem::named(QStringLiteral("Ринок"), 8));
        intake->addRouteItem(*RouteItem::offMapText(QStringLiteral("Рівне, вул. Київська 2")));
        intake->enterLastStep(QStringLiteral("10"));
        intake->chooseTariff(QStringLiteral("Місто"));
        intake->setNotes(QStringLiteral("під'їзд 2\nдзвонити"));
        ASSERT_EQ(intake->price().sumToPay, QStringLiteral("57"));
    }
    qint64 orders() { return count(QStringLiteral("SELECT COUNT(*) FROM ZAMOVLENNIA")); }
    qint64 addOpenOrder(const char* table, const char* prefix, int status, const QString& start,
                        const QString& destination)
    {
        const qint64 number = db->scalar(QStringLiteral("SELECT GEN_ID(GENIDZAMOVL, 1) FROM RDB$DATABASE"));
        db->exec(QStringLiteral("INSERT INTO %1 (%2NUMBER, %2NOMER_KLIENT, %2POCHAT_PUNKT, %2PUNKT_PRIZHACH, "
                                "%2SUMA_ROZRAHUNK, %2STATUS_ZAMOVL) VALUES (%3, 42, %4, %5, 20, %6)")
                     .arg(QLatin1String(table), QLatin1String(prefix), sql::integer(number), sql::text(start),
                          sql::text(destination), sql::integer(status)));
        return number;
    }

    std::unique_ptr<OrderIntake> intake;
};

TEST_F(OrderSaving, ABatchOfThreeHasConsecutiveNumbersAndEqualData)
{
    fillOrder();
    ASSERT_TRUE(intake->setTripCount(QStringLiteral("3")));
    QSignalSpy progress(intake.get(), &OrderIntake::batchProgress);
    QSignalSpy saving(intake.get(), &OrderIntake::savingChanged);
    clock.advanceSeconds(5); // the batch takes its moment once, whenever that is
    ws->prompts.answerQuestion(true);
    ASSERT_EQ(intake->save(), OrderIntake::SaveOutcome::Saved);

    const FbRows rows = db->exec(QStringLiteral("SELECT * FROM ZAMOVLENNIA ORDER BY ZAMOVL_NUMBER"));
    ASSERT_EQ(rows.rowCount(), 3);
    const qint64 first = rows.value(0, QStringLiteral("ZAMOVL_NUMBER")).toLongLong();
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(rows.value(row, QStringLiteral("ZAMOVL_NUMBER")).toLongLong(), first + row);
        for (int column = 1; column < rows.columns.size(); ++column)
            EXPECT_EQ(rows.rows[row][column], rows.rows[0][column]) << rows.columns[column].toStdString();
    }
    const auto field = [&](const char* column) { return rows.value(0, QLatin1String(column)); };
    EXPECT_EQ(field("ZAMOVL_NOMER_KLIENT").toLongLong(), 42);
    EXPECT_EQ(field("ZAMOVL_PRICHINA_DELETE").toString(),
              QStringLiteral("{швидке}   тел.:[0671234567]   тариф:[Місто]  (під'їзд 2\r\nдзвонити)"));
    EXPECT_EQ(field("ZAMOVL_POCHAT_PUNKT").toString(), QStringLiteral("[вул. Лук'янівська]{3}кв.1"));
    EXPECT_EQ(field("ZAMOVL_PUNKT_PRIZHACH").toString(), QStringLiteral("Рівне, вул. Київська 2"));
    EXPECT_EQ(field("ZAMOVL_BALANS_KLIENTA").toDouble(), 12.5);
    EXPECT_EQ(field("ZAMOVL_SUMA_ROZRAHUNK").toDouble(), 57.0);
    EXPECT_EQ(field("ZAMOVL_PRIYOM_ZAMOVL").toString(), QStringLiteral("Оля О'Коннор"));
    EXPECT_EQ(field("ZAMOVL_BEZKOSHTOVN").toString(), QStringLiteral("HI"));
    EXPECT_EQ(field("ZAMOVL_STATUS_ZAMOVL").toLongLong(), 0);
    // Accepted at 23:50 (the clock's 23:50:25 to the minute); 10 km at 40 km/h take 15
    // minutes, so the trip ends after midnight, on the next day.
    EXPECT_EQ(field("ZAMOVL_DATA_PRIYOMA").toDate(), QDate(2026, 3, 2));
    EXPECT_EQ(field("ZAMOVL_CHAS_PRIYOMA").toTime(), QTime(23, 50));
    EXPECT_EQ(field("ZAMOVL_DATA_ZAKR_ZAMOVL").toDate(), QDate(2026, 3, 3));
    EXPECT_EQ(field("ZAMOVL_CHAS_ZAKR_ZAMOVL").toTime(), QTime(0, 5));

    ASSERT_EQ(progress.size(), 3);
    EXPECT_EQ(progress[0][0].toInt(), 2);
    EXPECT_EQ(progress[2][0].toInt(), 0);
    ASSERT_EQ(saving.size(), 2);
    EXPECT_TRUE(saving[0][0].toBool());
    EXPECT_FALSE(saving[1][0].toBool());
    EXPECT_TRUE(intake->route().isEmpty());
    EXPECT_TRUE(intake->notes().isEmpty());
    EXPECT_EQ(intake->tripCount(), QStringLiteral("1"));
}

TEST_F(OrderSaving, AFailingRowTakesTheWholeBatchBackAndTheFormKeepsItsData)
{
    fillOrder();
    intake->setNotes(QStringLiteral("FAIL-THIRD"));
    intake->setTripCount(QStringLiteral("3"));
    QSignalSpy saving(intake.get(), &OrderIntake::savingChanged);
    ws->prompts.answerQuestion(true);
    EXPECT_EQ(intake->save(), OrderIntake::SaveOutcome::Failed);
    EXPECT_EQ(orders(), 0);
    ASSERT_EQ(ws->prompts.messages().size(), 1);
    EXPECT_TRUE(ws->prompts.messages()[0].contains(QStringLiteral("жодне замовлення не збережене")));
    ASSERT_EQ(saving.size(), 2);
    EXPECT_FALSE(saving[1][0].toBool());
    EXPECT_EQ(intake->route().size(), 3);
    EXPECT_EQ(intake->notes(), QStringLiteral("FAIL-THIRD"));
    EXPECT_EQ(intake->tripCount(), QStringLiteral("3"));

    // The next attempt starts afresh: two rows go through.
    intake->setTripCount(QStringLiteral("2"));
    ws->prompts.answerQuestion(true);
    EXPECT_EQ(intake->save(), OrderIntake::SaveOutcome::Saved);
    EXPECT_EQ(orders(), 2);
}

TEST_F(OrderSaving, ATripCountBelowOneIsRefusedAndNothingIsCleared)
{
    fillOrder();
    for (const char* trips : {"0", "-2"}) {
        intake->setTripCount(QString::fromLatin1(trips));
        ws->prompts.clear();
        EXPECT_EQ(intake->save(), OrderIntake::SaveOutcome::Refused);
        EXPECT_EQ(ws->prompts.messages(), QStringList{OrderIntake::kTripCountMessage});
    }
    EXPECT_EQ(orders(), 0);
    EXPECT_EQ(intake->route().size(), 3);
    EXPECT_EQ(intake->notes(), QStringLiteral("під'їзд 2\nдзвонити"));
    intake->setTripCount(QStringLiteral("два"));
    EXPECT_EQ(intake->tripCount(), QStringLiteral("1"));
    ws->prompts.answerQuestion(false);
    EXPECT_EQ(intake->save(), OrderIntake::SaveOutcome::Declined);
    EXPECT_EQ(intake->route().size(), 3);
}

TEST_F(OrderSaving, WithoutAnUnambiguousTariffThereIsNothingToSave)
{
    fillOrder();
    addTariff(QStringLiteral("Двічі"), QStringLiteral("5"), QStringLiteral("1"));
    addTariff(QStringLiteral("Двічі"), QStringLiteral("7"), QStringLiteral("1"));
    EXPECT_TRUE(intake->tariffNames().contains(QStringLiteral("Двічі")));
    for (const char* name : {"Двічі", "Немає такого", ""}) {
        intake->chooseTariff(QString::fromUtf8(name));
        EXPECT_FALSE(intake->tariffPrices().has_value()) << name;
        EXPECT_EQ(intake->price().sumToPay, Price::kNotAllData); // the earlier prices are gone
        EXPECT_EQ(intake->save(), OrderIntake::SaveOutcome::NotReady);
    }
    EXPECT_TRUE(ws->prompts.shown().isEmpty());
    EXPECT_EQ(orders(), 0);
}

TEST_F(OrderSaving, TariffPricesPromotionalDiscountAndKind)
{
    fillOrder();
    ws->store.setValue(SettingsStore::kOrderLogicGroup, QStringLiteral("ZNIZHKA_TARIF/POZ"),
                       QStringLiteral("[Місто](10)\n[Нічний](20)"));
    intake->chooseTariff(QStringLiteral("Місто"));
    EXPECT_EQ(intake->tariffPrices()->kmInTown, QStringLiteral("4,2"));
    EXPECT_EQ(intake->tariffPrices()->waitingMinute, QStringLiteral("1,5"));
    EXPECT_EQ(intake->promotionalDiscount(), QStringLiteral("10"));
    EXPECT_EQ(intake->price().sumToPay, QStringLiteral("51,3")); // 57 − 10 %
    intake->setPreliminary(true);
    EXPECT_EQ(intake->price().preliminary, QStringLiteral("10"));
    EXPECT_EQ(intake->price().sumToPay, QStringLiteral("60,3"));
    intake->setKmInTown(QStringLiteral("п'ять"));
    EXPECT_EQ(intake->kmInTown(), QStringLiteral("0"));
    intake->clearTariff();
    EXPECT_EQ(intake->promotionalDiscount(), QStringLiteral("0"));
    EXPECT_EQ(intake->price().sumToPay, Price::kNotAllData);
}

TEST_F(OrderSaving, JubileeOnlyForAClientWhoEarnedOne)
{
    fillOrder();
    intake->setTripCount(QStringLiteral("4"));
    EXPECT_FALSE(intake->setJubilee(true));
    EXPECT_FALSE(intake->jubilee());
    OrderClient client = intake->client();
    client.jubileeTrips = QStringLiteral("2");
    intake->setClient(client);
    EXPECT_TRUE(intake->setJubilee(true));
    EXPECT_EQ(intake->tripCount(), QStringLiteral("1"));
    EXPECT_EQ(intake->price().jubilee, QStringLiteral("-30"));
    EXPECT_EQ(intake->price().sumToPay, QStringLiteral("27"));
    EXPECT_FALSE(intake->setTripCount(QStringLiteral("3")));
    EXPECT_EQ(ws->prompts.messages(), QStringList{OrderIntake::kJubileeCountMessage});
    ws->prompts.answerQuestion(true);
    ASSERT_EQ(intake->save(), OrderIntake::SaveOutcome::Saved);
    EXPECT_EQ(db->exec(QStringLiteral("SELECT ZAMOVL_BEZKOSHTOVN FROM ZAMOVLENNIA")).rows[0][0].toString(),
              QStringLiteral("TAK"));
}

TEST_F(OrderSaving, APreliminaryOrderWithoutDistanceTakesTheDefaultDuration)
{
    intake->addRouteItem(*RouteItem::named(QStringLiteral("Ринок"), 8));
    intake->enterLastStep(Price::kNoDistance);
    intake->chooseTariff(QStringLiteral("Місто"));
    intake->setPreliminary(true);
    intake->setAcceptance(QDateTime(QDate(2026, 3, 5), QTime(7, 45, 59)));
    ws->prompts.answerQuestion(true);
    ASSERT_EQ(intake->save(), OrderIntake::SaveOutcome::Saved);
    const FbRows rows =
        db->exec(QStringLiteral("SELECT ZAMOVL_PUNKT_PRIZHACH, ZAMOVL_CHAS_PRIYOMA, ZAMOVL_DATA_ZAKR_ZAMOVL, "
                                "ZAMOVL_CHAS_ZAKR_ZAMOVL, ZAMOVL_PRICHINA_DELETE, ZAMOVL_SUMA_ROZRAHUNK "
                                "FROM ZAMOVLENNIA"));
    EXPECT_EQ(rows.rows[0][0].toString(), QString()); // one point: no destination
    EXPECT_EQ(rows.rows[0][1].toTime(), QTime(7, 45));
    EXPECT_EQ(rows.rows[0][2].toDate(), QDate(2026, 3, 5));
    EXPECT_EQ(rows.rows[0][3].toTime(), QTime(8, 5)); // the firm's 20 minutes
    EXPECT_TRUE(rows.rows[0][4].toString().startsWith(QStringLiteral("{попереднє}   тел.:[0671234567]")));
    EXPECT_EQ(rows.rows[0][5].toDouble(), 25.0); // boarding 15 + preliminary 10
}

TEST_F(OrderSaving, EditingChangesSumAndRouteOfTheOrder)
{
    addMapPoint(4, QStringLiteral("[вул. Лук'янівська]{3}"));
    const qint64 number =
        addOpenOrder("ZAMOVLENNIA", "ZAMOVL_", 0, QStringLiteral("[вул. Лук'янівська]{3}кв.1"), QString());
    ASSERT_TRUE(intake->openForEdit(number, OrderTable::Open));
    EXPECT_EQ(intake->mode(), OrderIntake::Mode::Edit);
    EXPECT_EQ(intake->editedClientCode(), 42);
    ASSERT_EQ(intake->route().size(), 1); // the empty destination is no point
    EXPECT_EQ(intake->route()[0].text(), QStringLiteral("[вул. Лук'янівська]{3}кв.1<4>"));

    intake->addRouteItem(*RouteItem::named(QStringLiteral("Ринок"), 8));
    intake->enterLastStep(QStringLiteral("2,5"));
    intake->chooseTariff(QStringLiteral("Місто"));
    ws->prompts.answerQuestion(true);
    ASSERT_EQ(intake->save(), OrderIntake::SaveOutcome::Saved);
    const FbRows rows =
        db->exec(QStringLiteral("SELECT ZAMOVL_SUMA_ROZRAHUNK, ZAMOVL_POCHAT_PUNKT, ZAMOVL_PUNKT_PRIZHACH "
                                "FROM ZAMOVLENNIA"));
    ASSERT_EQ(rows.rowCount(), 1);
    EXPECT_EQ(rows.rows[0][0].toDouble(), 25.5);
    EXPECT_EQ(rows.rows[0][1].toString(), QStringLiteral("[вул. Лук'янівська]{3}кв.1"));
    EXPECT_EQ(rows.rows[0][2].toString(), QStringLiteral("Ринок"));
    EXPECT_TRUE(intake->route().isEmpty());

    EXPECT_FALSE(intake->openForEdit(number + 100, OrderTable::Open));
}

TEST_F(OrderSaving, EditingAnOrderAnotherWorkstationDeletedChangesNothing)
{
    const qint64 number =
        addOpenOrder("ZAMOVLENNIA", "ZAMOVL_", 0, QStringLiteral("Вокзал"), QStringLiteral("Ринок"));
    ASSERT_TRUE(intake->openForEdit(number, OrderTable::Open));
    EXPECT_EQ(intake->route().size(), 2);
    EXPECT_EQ(intake->route()[1].text(), QStringLiteral("Ринок</E>"));
    intake->enterLastStep(QStringLiteral("1"));
    intake->chooseTariff(QStringLiteral("Місто"));
    db->exec(QStringLiteral("UPDATE ZAMOVLENNIA SET ZAMOVL_STATUS_ZAMOVL = -1"));
    ws->prompts.answerQuestion(true);
    EXPECT_EQ(intake->save(), OrderIntake::SaveOutcome::Gone);
    EXPECT_EQ(ws->prompts.messages(), QStringList{OrderIntake::kOrderGoneMessage});
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT ZAMOVL_SUMA_ROZRAHUNK FROM ZAMOVLENNIA")), 20);

    // Deleted before the form opened it: there is nothing to open.
    EXPECT_FALSE(intake->openForEdit(number, OrderTable::Open));
}

TEST_F(OrderSaving, AnArchivedOrderIsSavedBackIntoTheArchive)
{
    const qint64 number = addOpenOrder("CLOSEZAMOVLENNIA", "CZ_", 1, QStringLiteral("[вул. Соборна]{9}"),
                                       QStringLiteral("Вокзал"));
    addMapPoint(7, QStringLiteral("Вокзал"));
    ASSERT_TRUE(intake->openForEdit(number, OrderTable::Archive));
    ASSERT_EQ(intake->route().size(), 2);
    EXPECT_EQ(intake->route()[0].text(), QStringLiteral("[вул. Соборна]{9}</E>"));
    EXPECT_EQ(intake->route()[1].text(), QStringLiteral("Вокзал<7>"));
    intake->removeRouteItem(1);
    intake->enterLastStep(QStringLiteral("0"));
    intake->chooseTariff(QStringLiteral("Місто"));
    ws->prompts.answerQuestion(true);
    ASSERT_EQ(intake->save(), OrderIntake::SaveOutcome::Saved);
    const FbRows rows = db->exec(
        QStringLiteral("SELECT CZ_SUMA_ROZRAHUNK, CZ_POCHAT_PUNKT, CZ_PUNKT_PRIZHACH, CZ_STATUS_ZAMOVL FROM "
                       "CLOSEZAMOVLENNIA"));
    ASSERT_EQ(rows.rowCount(), 1);
    EXPECT_EQ(rows.rows[0][0].toDouble(), 15.0);
    EXPECT_EQ(rows.rows[0][1].toString(), QStringLiteral("[вул. Соборна]{9}"));
    EXPECT_EQ(rows.rows[0][2].toString(), QString());
    EXPECT_EQ(rows.rows[0][3].toLongLong(), 1);
    EXPECT_EQ(orders(), 0); // never written into the current orders
}

TEST_F(OrderSaving, DriverPreselectionTakesTheLongestWaitingDriverOfTheNearestStand)
{
    ws->useMap(10.0);
    ws->store.setValue(SettingsStore::kOrderLogicGroup, QStringLiteral("FIRMA_SERED_SHVIDKIST"),
                       QStringLiteral("42,6"));
    addMapPoint(1, QStringLiteral("Центр"), 100, 100, QStringLiteral("СТОЯНКА"));
    addMapPoint(2, QStringLiteral("[вул. Ринкова]{1}"), 400, 500);
    for (const auto& [callsign, key] : {std::pair{7, "0005"}, std::pair{30, "0002"}})
        db->exec(QStringLiteral(
                     "INSERT INTO ZADIANI_AVTO (ZAD_AVTO_POZIVNIY, ZAD_AVTO_FIO_VODIY, ZAD_AVTO_CHAS_ZAMOVL, "
                     "ZAD_AVTO_VULICA, ZAD_AVTO_ZADIANIST, ZAD_AVTO_NOMER_ZAMOVL) VALUES (%1, 'Водій', %2, "
                     "'Центр', 0, 0)")
                     .arg(sql::integer(callsign), sql::text(QLatin1String(key))));
    intake->addRouteItem(
        *RouteItem::building(QStringLiteral("вул. Ринкова"), QStringLiteral("1"), QStringLiteral("кв.3"), 2));
    const QString expected =
        QStringLiteral("Найближчий позивний [30] до замовлення, який знаходиться на стоянці : Центр\r"
                       "Приблизний час доїзду до замовлення, хв ~ 15");
    EXPECT_EQ(intake->preselectDriver(false), 30);
    EXPECT_EQ(ws->prompts.messages(), QStringList{expected});

    intake->setNotes(QStringLiteral("без багажу"));
    ws->prompts.answerQuestion(true);
    EXPECT_EQ(intake->preselectDriver(true), 30);
    EXPECT_EQ(intake->notes(), QStringLiteral("бажаний позивний : 30\r\nбез багажу"));

    intake->clearRoute();
    ws->prompts.clear();
    EXPECT_FALSE(intake->preselectDriver(false));
    EXPECT_EQ(ws->prompts.messages(), QStringList{DriverPreselection::kNoDriverMessage});
}
