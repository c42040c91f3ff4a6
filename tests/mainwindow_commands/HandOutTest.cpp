#include "CommandsFixture.h"

#include "foundation/SettingKeys.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "mainwindow/HandOutCommands.h"

// Handing orders to drivers from the main window's lists.
class HandOut : public CommandsFixture
{
protected:
    void SetUp() override
    {
        CommandsFixture::SetUp();
        ws->store.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kPreliminaryLead,
                           QStringLiteral("30"));
        handOut = std::make_unique<HandOutCommands>(*ctx);
    }
    // An open order taken at the given time today (12:00 now), with a driver when callsign is not 0.
    void addOrder(qint64 number, const char* time, qint64 callsign = 0)
    {
        db->exec(QStringLiteral(
                     "INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_POCHAT_PUNKT, ZAMOVL_STATUS_ZAMOVL, "
                     "ZAMOVL_POZIVNIY, ZAMOVL_DATA_PRIYOMA, ZAMOVL_CHAS_PRIYOMA) VALUES (%1, '[Лесі]{2}', 0, "
                     "%2, '02.03.2026', '%3')")
                     .arg(number)
                     .arg(callsign)
                     .arg(QLatin1String(time)));
    }
    void chooseOrder(qint64 number)
    {
        FbDataSet& orders = ws->dani->TABL_AKTIV_ZAMOVL;
        for (int row = 1; row <= orders.recordCount(); ++row)
            if (orders.valueAt(row, QStringLiteral("ZAMOVL_NUMBER")).toLongLong() == number)
                return orders.moveTo(row);
        FAIL() << "order not in the list: " << number;
    }
    qint64 driverOf(qint64 order)
    {
        return db->scalar(
            QStringLiteral("SELECT COALESCE(ZAMOVL_POZIVNIY, 0) FROM ZAMOVLENNIA WHERE ZAMOVL_NUMBER = %1")
                .arg(order));
    }
    using Page = DataModuleView::OrdersPage;
    std::unique_ptr<HandOutCommands> handOut;
};

TEST_F(HandOut, TheMenusDefaultItemSaysWhatTheListsOffer)
{
    putOnAir(12, QStringLiteral("Петренко"), QStringLiteral("Вокзал"), QStringLiteral("0001"));
    putOnAir(15, QStringLiteral("Зайнятий"), QStringLiteral("Ринок"), QStringLiteral("0001"), 7);
    openLists();
    selectDriver(12);
    EXPECT_EQ(handOut->assignmentCaption({Page::Panels, {}}),
              QStringLiteral("Не вибрано активне замовлення"));

    addOrder(1, "12:30");    // due: exactly now plus the 30 minutes' lead
    addOrder(2, "12:31");    // preliminary
    addOrder(3, "11:00", 9); // carried
    openLists();
    selectDriver(12);
    chooseOrder(1);
    const QString offer = QStringLiteral("0> Запустити позивний [12] на замовлення [{1} [Лесі]{2}]");
    EXPECT_EQ(handOut->assignmentCaption({Page::Panels, {}}), offer);
    EXPECT_EQ(handOut->assignmentCaption({Page::ShortGrid, {}}), offer);
    chooseOrder(2);
    EXPECT_EQ(handOut->assignmentCaption({Page::ShortGrid, {}}),
              QStringLiteral("Вибране замовлення попереднє. Немає можливості віддати."));
    chooseOrder(3);
    EXPECT_EQ(handOut->assignmentCaption({Page::Panels, {}}),
              QStringLiteral("Вибране замовлення вже у виконанні"));
    EXPECT_EQ(handOut->assignmentCaption({Page::Hot, {}}), QStringLiteral("Не вибрано активне замовлення"));
    EXPECT_EQ(
        handOut->assignmentCaption({Page::Hot, HotOrdersView::HotSelection{2, QStringLiteral("Вокзал")}}),
        QStringLiteral("0> Запустити позивний [12] на замовлення [{2} Вокзал]"));
    selectDriver(15);
    EXPECT_EQ(handOut->assignmentCaption({Page::Panels, {}}), QStringLiteral("Водій задіяний"));

    // Choosing the offer asks it and hands the order out; any other caption does nothing.
    prompts.answerQuestion(true);
    EXPECT_TRUE(handOut->assignByCaption(offer));
    EXPECT_EQ(prompts.questions(), QStringList{offer + QStringLiteral(" ?")});
    EXPECT_EQ(driverOf(1), 12);
    EXPECT_FALSE(handOut->assignByCaption(QStringLiteral("Водій задіяний")));
    EXPECT_EQ(prompts.questions().size(), 1);
}

TEST_F(HandOut, ALostRaceSaysWhoHasTheOrderNow)
{
    putOnAir(12, QStringLiteral("Петренко"), QStringLiteral("Вокзал"), QStringLiteral("0001"));
    addOrder(1, "12:00");
    openLists();
    chooseOrder(1);
    // Another workstation hands the order to 40 while the question is open.
    prompts.whileOpen = [] {
        db->exec(
            QStringLiteral("UPDATE ZAMOVLENNIA SET ZAMOVL_POZIVNIY = 40, ZAMOVL_ROZDACHA_ZAMOVL = 'Мельник' "
                           "WHERE ZAMOVL_NUMBER = 1"));
    };
    prompts.answerQuestion(true);
    EXPECT_FALSE(handOut->assignFirstDriver(QStringLiteral("12"), {Page::Panels, {}}));
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(prompts.messages()[0],
              HandOutCommands::kChangedMessage +
                  QStringLiteral("\rЗамовлення вже віддано позивному [40], роздав(ла): Мельник."));
    EXPECT_EQ(driverOf(1), 40);
}

TEST_F(HandOut, TheFirstDriverShownIsOfferedOnlyWhenItIsACallsign)
{
    putOnAir(12, QStringLiteral("Петренко"), QStringLiteral("Вокзал"), QStringLiteral("0001"));
    addOrder(1, "12:00");
    openLists();
    chooseOrder(1);
    for (const QString& shown : {TDANI::kNotSet, QStringLiteral(" "), QStringLiteral("0"), QString()})
        EXPECT_FALSE(handOut->assignFirstDriver(shown, {Page::Panels, {}}));
    EXPECT_TRUE(prompts.shown().isEmpty());
    // The hot page offers nothing while no hot order is chosen.
    EXPECT_FALSE(handOut->assignFirstDriver(QStringLiteral("12"), {Page::Hot, {}}));
    EXPECT_TRUE(prompts.shown().isEmpty());
    prompts.answerQuestion(true);
    EXPECT_TRUE(handOut->assignFirstDriver(QStringLiteral("12"), {Page::Panels, {}}));
    EXPECT_EQ(prompts.questions(),
              QStringList{QStringLiteral("Запустити позивний [12] на замовлення [{1} [Лесі]{2}] ?")});
    EXPECT_EQ(driverOf(1), 12);
}

TEST_F(HandOut, ACarChosenAtAStandMustStandThereFree)
{
    putOnAir(12, QStringLiteral("Петренко"), QStringLiteral("Вокзал"), QStringLiteral("0001"));
    putOnAir(15, QStringLiteral("Інший"), QStringLiteral("Ринок"), QStringLiteral("0001"));
    addOrder(1, "12:00");
    addOrder(2, "13:00"); // preliminary
    openLists();
    selectStand(QStringLiteral("Вокзал"));
    chooseOrder(2);
    EXPECT_FALSE(handOut->chooseCarAtStand({Page::Panels, {}}, false));
    EXPECT_TRUE(prompts.shown().isEmpty()); // nothing to hand out under a preliminary order

    chooseOrder(1);
    prompts.answerInput(QStringLiteral("abc"));
    EXPECT_FALSE(handOut->chooseCarAtStand({Page::Panels, {}}, true));
    EXPECT_EQ(prompts.messages().last(),
              QStringLiteral("Не вірно вказаний позивний. При потребі повторіть спробу."));
    prompts.answerInput(QStringLiteral("abc"));
    EXPECT_FALSE(handOut->chooseCarAtStand({Page::Panels, {}}, false));
    EXPECT_EQ(prompts.messages().last(), QStringLiteral("Не вірно вказаний позивний"));
    prompts.answerInput(QStringLiteral("15")); // on air, but at another stand
    EXPECT_FALSE(handOut->chooseCarAtStand({Page::Panels, {}}, false));
    EXPECT_EQ(prompts.messages().last(), HandOutCommands::kNotAtStandMessage);
    EXPECT_EQ(driverOf(1), 0);

    prompts.clear();
    prompts.answerInput(QStringLiteral("12"));
    EXPECT_TRUE(handOut->chooseCarAtStand({Page::Panels, {}}, false));
    EXPECT_TRUE(prompts.messages().isEmpty());
    EXPECT_TRUE(prompts.shown()[0].text.contains(QStringLiteral("Початковий пункт замовлення : [Лесі]{2}")));
    EXPECT_EQ(driverOf(1), 12);
}

TEST_F(HandOut, APickUpIsRecordedAsAnExecutedRideOfThePaddedCode)
{
    putOnAir(12, QStringLiteral("Петренко"), QStringLiteral("Вокзал"), QStringLiteral("0001"));
    db->exec(
        QStringLiteral("INSERT INTO KLIENT (KLIENT_NUMBER, KLIENT_DODATKOVO, KLIENT_FIO, KLIENT_KIL_VIKLIK, "
                       "KLIENT_KIL_FREE_VIKLIK) VALUES (42, '[00042] постійний', 'Коваль', 4, 0)"));
    db->exec(
        QStringLiteral("INSERT INTO KLIENT (KLIENT_NUMBER, KLIENT_DODATKOVO, KLIENT_FIO, KLIENT_KIL_VIKLIK, "
                       "KLIENT_KIL_FREE_VIKLIK) VALUES (142, '[00142]', 'Інший', 0, 0)"));
    ws->store.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kRidesPerFreeRide, QStringLiteral("5"));
    ws->store.setValue(SettingKeys::kClientBlackListGroup, SettingKeys::kClientBlackList,
                       QStringLiteral("[00042] борг 100 грн\n[00007] інший"));
    openLists();
    selectDriver(12);

    // The default answer and anything that is no code are refused.
    for (const char* wrong : {"00000", "abc"}) {
        prompts.answerInput(QString::fromLatin1(wrong));
        EXPECT_FALSE(handOut->createPickUp());
        EXPECT_EQ(prompts.messages().last(),
                  QStringLiteral("Не вірно вказаний код клієнта. При потребі повторіть спробу."));
    }
    prompts.clear();
    prompts.answerInput(QStringLiteral("42"));
    prompts.answerQuestion(true);
    EXPECT_TRUE(handOut->createPickUp());
    ASSERT_EQ(prompts.questions().size(), 1);
    EXPECT_TRUE(prompts.questions()[0].startsWith(
        QStringLiteral("Зареєструвати замовлення (підсадка) на код клієнта : "
                       "[00042]\rПозивний автомобіля : [12]")));
    EXPECT_TRUE(prompts.questions()[0].contains(QStringLiteral("З ПОМІТКОЮ : \r[00042] борг 100 грн\r")));
    EXPECT_EQ(db->scalar(QStringLiteral(
                  "SELECT COUNT(*) FROM ZAMOVLENNIA WHERE ZAMOVL_NOMER_KLIENT = 42 AND "
                  "ZAMOVL_STATUS_ZAMOVL = 1 AND ZAMOVL_POZIVNIY = 12 AND ZAMOVL_POCHAT_PUNKT = "
                  "'підсадка' AND ZAMOVL_FIO_TAXI = 'Петренко' AND ZAMOVL_PRIYOM_ZAMOVL = 'Оля "
                  "Диспетчер' AND ZAMOVL_CHAS_PRIYOMA = '12:00'")),
              1);
    // The fifth call earns a free ride; the client whose code merely holds the digits is untouched.
    EXPECT_EQ(
        db->scalar(QStringLiteral("SELECT KLIENT_KIL_VIKLIK * 10 + KLIENT_KIL_FREE_VIKLIK FROM KLIENT WHERE "
                                  "KLIENT_NUMBER = 42")),
        1);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT KLIENT_KIL_VIKLIK FROM KLIENT WHERE KLIENT_NUMBER = 142")),
              0);

    // A failure in the middle leaves neither the ride nor the counted call.
    db->exec(QStringLiteral("CREATE EXCEPTION E_NO_CALLS 'no calls'"));
    db->exec(QStringLiteral(
        "CREATE TRIGGER T_NO_CALLS FOR KLIENT BEFORE UPDATE AS BEGIN EXCEPTION E_NO_CALLS; END"));
    prompts.answerInput(QStringLiteral("42"));
    prompts.answerQuestion(true);
    EXPECT_FALSE(handOut->createPickUp());
    db->exec(QStringLiteral("DROP TRIGGER T_NO_CALLS"));
    db->exec(QStringLiteral("DROP EXCEPTION E_NO_CALLS"));
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT COUNT(*) FROM ZAMOVLENNIA WHERE ZAMOVL_NOMER_KLIENT = 42")),
              1);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT KLIENT_KIL_VIKLIK FROM KLIENT WHERE KLIENT_NUMBER = 42")), 0);
}
