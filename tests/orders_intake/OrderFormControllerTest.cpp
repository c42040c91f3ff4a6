#include "IntakeFixture.h"

#include "foundation/SettingKeys.h"
#include "foundation/SqlLiteral.h"
#include "orders/intake/OrderFormController.h"

#include <QSignalSpy>

using Page = OrderFormController::Page;
using Step = OrderFormController::Step;
using SearchBy = OrderFormController::SearchBy;

class OrderFormControllerTest : public IntakeFixture
{
protected:
    void SetUp() override
    {
        IntakeFixture::SetUp();
        addClient(QStringLiteral("00000"), QStringLiteral("Некодований"));
        addClient(QStringLiteral("00042"), QStringLiteral("Д'Артаньян"), QStringLiteral("0671234567 222"),
                  QStringLiteral("12.5"), 1);
        addTariff(QStringLiteral("Місто"), QStringLiteral("15"), QStringLiteral("4.2"));
        form = std::make_unique<OrderFormController>(*ctx);
        // The window calls shown() when it appears; here the request stands for it.
        QObject::connect(form.get(), &OrderFormController::showRequested, form.get(), [this] {
            if (!form->isShowing())
                form->shown();
        });
    }
    void TearDown() override
    {
        form.reset();
        IntakeFixture::TearDown();
    }
    QString shownName() const { return form->currentClient() ? form->currentClient()->name : QString(); }
    void addOffMapPoints(int count)
    {
        for (int i = 0; i < count; ++i)
            form->order().addRouteItem(*RouteItem::offMapText(QStringLiteral("Рівне, пункт %1").arg(i + 1)));
    }
    void reachLastStep()
    {
        form->open(OrderFormOpening::UncodedOrder);
        addOffMapPoints(3);
        ws->prompts.answerQuestion(true);
        form->next();
        ASSERT_EQ(form->step(), Step::Last);
    }
    qint64 orders() { return count(QStringLiteral("SELECT COUNT(*) FROM ZAMOVLENNIA")); }

    std::unique_ptr<OrderFormController> form;
};

// ---- the ways the form opens -------------------------------------------------------------------

TEST_F(OrderFormControllerTest, ANewOrderCardOpensOnTheClientPageWithTheUnknownClientOnly)
{
    QSignalSpy shows(form.get(), &OrderFormController::showRequested);
    form->open(OrderFormOpening::NewOrderCard);
    ASSERT_EQ(shows.size(), 1);
    EXPECT_TRUE(shows[0][0].toBool()); // the focus goes into the telephone search box
    EXPECT_EQ(form->page(), Page::CardClient);
    EXPECT_TRUE(form->createMode());
    EXPECT_EQ(form->saveCaption(), QStringLiteral("Створити"));
    EXPECT_EQ(form->clients().list().recordCount(), 1);
    EXPECT_EQ(shownName(), QStringLiteral("Некодований"));
}

TEST_F(OrderFormControllerTest, TheClientCardCommandOpensTheNewCardPageAndTheUncodedOrderTheOrderPage)
{
    QSignalSpy shows(form.get(), &OrderFormController::showRequested);
    form->open(OrderFormOpening::ClientCard);
    EXPECT_EQ(form->page(), Page::CreateCardClient);
    EXPECT_FALSE(shows.last()[0].toBool());
    form->closed();

    form->open(OrderFormOpening::UncodedOrder);
    EXPECT_EQ(form->page(), Page::CreateZam);
    EXPECT_EQ(form->step(), Step::First);
    EXPECT_EQ(form->order().client().code, QStringLiteral("00000"));
}

TEST_F(OrderFormControllerTest, TheClientOfAnOrderOpensOnTheClientPageFilteredToItsCode)
{
    form->openClientOf(42);
    EXPECT_EQ(form->page(), Page::CardClient);
    EXPECT_EQ(form->clients().list().recordCount(), 1);
    EXPECT_EQ(shownName(), QStringLiteral("Д'Артаньян"));
}

TEST_F(OrderFormControllerTest, AnIncomingCallFindsTheClientsHoldingTheCallersNumber)
{
    form->openForCaller(QStringLiteral("sip:0671234567'; DROP TABLE KLIENT;--@pbx"));
    EXPECT_EQ(form->page(), Page::CardClient);
    ASSERT_EQ(form->clients().list().recordCount(), 1);
    EXPECT_EQ(shownName(), QStringLiteral("Д'Артаньян"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM KLIENT")), 2);
    // The search box holds the caller's number once the form is shown, not an empty box.
    EXPECT_EQ(form->telephoneSearchText(), QStringLiteral("0671234567"));
}

// ---- the client page -------------------------------------------------------------------------

TEST_F(OrderFormControllerTest, AQuickSearchAwayFromTheClientPageAsksFirst)
{
    form->open(OrderFormOpening::UncodedOrder);
    ws->prompts.answerQuestion(false);
    form->quickSearch(SearchBy::Name, QStringLiteral("Артаньян"));
    EXPECT_EQ(form->page(), Page::CreateZam);
    EXPECT_TRUE(ws->prompts.questions().contains(OrderFormController::kGoToCardQuestion));

    ws->prompts.answerQuestion(true);
    form->quickSearch(SearchBy::Telephone, QStringLiteral("222"));
    EXPECT_EQ(form->page(), Page::CardClient);
    EXPECT_EQ(shownName(), QStringLiteral("Д'Артаньян"));
    ASSERT_EQ(form->telephoneHistory().entries().size(), 1);
    EXPECT_TRUE(form->telephoneHistory().entries()[0].endsWith(QStringLiteral("]> 222")));

    // A blank telephone is no search at all.
    form->quickSearch(SearchBy::Telephone, QStringLiteral("  "));
    EXPECT_EQ(form->telephoneHistory().entries().size(), 1);
}

TEST_F(OrderFormControllerTest, ACodeSearchWithLettersLooksForTheUnknownClient)
{
    form->open(OrderFormOpening::NewOrderCard);
    form->quickSearch(SearchBy::Code, QStringLiteral("42"));
    EXPECT_EQ(shownName(), QStringLiteral("Д'Артаньян"));
    form->quickSearch(SearchBy::Code, QStringLiteral("4x2"));
    EXPECT_EQ(shownName(), QStringLiteral("Некодований"));
}

TEST_F(OrderFormControllerTest, GoingToTheOrderOfADebtorTellsOfTheWarningsFirst)
{
    ws->store.setValue(SettingKeys::kClientBlackListGroup, SettingKeys::kClientBlackList,
                       QStringLiteral("борг 200 грн [00042] з травня"));
    form->openClientOf(42);
    ASSERT_EQ(form->debtorLines().size(), 5);
    EXPECT_EQ(form->debtorLines()[2], QStringLiteral("   борг 200 грн [00042] з травня"));
    form->goToOrder();
    EXPECT_EQ(form->page(), Page::CreateZam);
    EXPECT_EQ(ws->prompts.messages(), QStringList{OrderFormController::kInformationNote});
    EXPECT_EQ(form->order().client().name, QStringLiteral("Д'Артаньян"));
}

TEST_F(OrderFormControllerTest, GoingToTheOrderWithAnEmptyListTakesTheUnknownClient)
{
    form->open(OrderFormOpening::NewOrderCard);
    form->quickSearch(SearchBy::Name, QStringLiteral("нікого такого"));
    EXPECT_EQ(form->clients().list().recordCount(), 0);
    EXPECT_FALSE(form->currentClient());
    form->goToOrder();
    EXPECT_EQ(form->page(), Page::CreateZam);
    EXPECT_EQ(form->order().client().code, QStringLiteral("00000"));
}

TEST_F(OrderFormControllerTest, TheEditCardOpensOnlyForAClientInTheList)
{
    form->open(OrderFormOpening::NewOrderCard);
    form->quickSearch(SearchBy::Name, QStringLiteral("нікого такого"));
    form->editClientCard();
    EXPECT_EQ(form->page(), Page::CardClient);
    form->quickSearch(SearchBy::Name, QStringLiteral("Артаньян"));
    form->editClientCard();
    EXPECT_EQ(form->page(), Page::EditCardClient);
    form->backToClients();
    EXPECT_EQ(form->page(), Page::CardClient);
}

TEST_F(OrderFormControllerTest, ANewClientIsStoredAndShownOnTheClientPage)
{
    form->open(OrderFormOpening::ClientCard);
    const auto code = form->assignCode();
    ASSERT_TRUE(code);
    NewClientCard card;
    card.code = code->code;
    card.name = QStringLiteral("О'Брайен");
    card.telephones = QStringLiteral("0501112233");
    ws->prompts.answerQuestion(true);
    form->createClient(card);
    EXPECT_EQ(form->page(), Page::CardClient);
    EXPECT_EQ(shownName(), QStringLiteral("О'Брайен"));
}

// ---- the wizard ----------------------------------------------------------------------------

TEST_F(OrderFormControllerTest, TheFirstStepWantsAStartPoint)
{
    form->open(OrderFormOpening::UncodedOrder);
    form->next();
    EXPECT_EQ(ws->prompts.messages(), QStringList{OrderFormController::kNoStartMessage});
    EXPECT_EQ(form->step(), Step::First);
}

TEST_F(OrderFormControllerTest, WithoutTheMapTheDispatcherDecidesToGoOnWithoutADistance)
{
    form->open(OrderFormOpening::UncodedOrder);
    addOffMapPoints(2);
    ws->prompts.answerQuestion(false);
    form->next();
    EXPECT_EQ(form->step(), Step::First);
    ASSERT_EQ(ws->prompts.questions().size(), 1);
    EXPECT_TRUE(ws->prompts.questions()[0].startsWith(QStringLiteral("Немає можливості вірно розрахувати")));

    ws->prompts.answerQuestion(true);
    form->next();
    EXPECT_EQ(form->step(), Step::Last);
    EXPECT_EQ(form->order().kmInTown(), QStringLiteral("0"));
    EXPECT_EQ(form->order().price().sumToPay, QStringLiteral("не всі дані"));
    form->back();
    EXPECT_EQ(form->step(), Step::First);
}

TEST_F(OrderFormControllerTest, AGridDistanceBecomesTheKilometresInTown)
{
    form->open(OrderFormOpening::UncodedOrder);
    addOffMapPoints(2);
    form->setOutsideDistance(QStringLiteral("5,3"));
    ws->prompts.answerQuestion(true);
    form->next();
    EXPECT_TRUE(ws->prompts.questions()[0].startsWith(QStringLiteral("Параметри розрахованої відстані")));
    EXPECT_EQ(form->order().kmInTown(), QStringLiteral("5,3"));
}

TEST_F(OrderFormControllerTest, WithTheMapARouteOfOnOnePointAsksAndSeveralPointsAreMeasured)
{
    ws->useMap(1.0);
    form->open(OrderFormOpening::UncodedOrder);
    form->order().addRouteItem(*RouteItem::named(QStringLiteral("Вокзал"), 3));
    ws->prompts.answerQuestion(true);
    form->next();
    EXPECT_TRUE(
        ws->prompts.questions()[0].startsWith(QStringLiteral("Немає можливості розрахувати маршрут, так як "
                                                             "не заданий кінцевий пункт")));
    EXPECT_EQ(form->step(), Step::Last);

    form->back();
    form->order().addRouteItem(*RouteItem::named(QStringLiteral("Ринок"), 4));
    QSignalSpy measuring(form.get(), &OrderFormController::measurementRequested);
    form->next();
    EXPECT_EQ(form->step(), Step::Measuring);
    EXPECT_EQ(measuring.size(), 1);
    form->setMeasuredDistance(QStringLiteral("7.4567"));
    form->next();
    EXPECT_EQ(form->step(), Step::Last);
    EXPECT_EQ(form->order().kmInTown(), QStringLiteral("7,45"));
}

// ---- saving ----------------------------------------------------------------------------------

TEST_F(OrderFormControllerTest, WithoutATariffNothingIsSavedAndTheFormStays)
{
    reachLastStep();
    QSignalSpy closes(form.get(), &OrderFormController::closeRequested);
    form->save();
    EXPECT_EQ(orders(), 0);
    EXPECT_TRUE(closes.isEmpty());
    form->order().chooseTariff(QStringLiteral("Такого немає"));
    EXPECT_EQ(form->order().price().sumToPay, QStringLiteral("не всі дані"));
    form->save();
    EXPECT_EQ(orders(), 0);
    EXPECT_TRUE(closes.isEmpty());
}

TEST_F(OrderFormControllerTest, ATripCountBelowOneIsRefusedKeepingTheRouteAndNotes)
{
    reachLastStep();
    form->order().chooseTariff(QStringLiteral("Місто"));
    form->order().setNotes(QStringLiteral("третій під'їзд"));
    form->order().setTripCount(QStringLiteral("0"));
    QSignalSpy closes(form.get(), &OrderFormController::closeRequested);
    ws->prompts.answerQuestion(true);
    form->save();
    EXPECT_EQ(orders(), 0);
    EXPECT_TRUE(closes.isEmpty());
    EXPECT_EQ(form->order().route().size(), 3);
    EXPECT_EQ(form->order().notes(), QStringLiteral("третій під'їзд"));
}

TEST_F(OrderFormControllerTest, ASavedOrderClosesTheForm)
{
    reachLastStep();
    form->order().chooseTariff(QStringLiteral("Місто"));
    QSignalSpy closes(form.get(), &OrderFormController::closeRequested);
    ws->prompts.answerQuestion(true);
    form->save();
    EXPECT_EQ(orders(), 1);
    EXPECT_EQ(closes.size(), 1);
    EXPECT_TRUE(form->order().route().isEmpty());
}

TEST_F(OrderFormControllerTest, PrintingIsOfferedOnlyForAComputedSum)
{
    reachLastStep();
    EXPECT_FALSE(form->printRequested());
    EXPECT_TRUE(ws->prompts.questions().size() == 1); // only the step question so far
    form->order().chooseTariff(QStringLiteral("Місто"));
    ws->prompts.answerQuestion(true);
    EXPECT_TRUE(form->printRequested());
}

TEST_F(OrderFormControllerTest, RouteCommandsAskFirst)
{
    form->open(OrderFormOpening::UncodedOrder);
    addOffMapPoints(2);
    ws->prompts.answerQuestion(false);
    form->removeSelectedRouteItem(0);
    EXPECT_EQ(form->order().route().size(), 2);
    ws->prompts.answerQuestion(true);
    form->removeSelectedRouteItem(0);
    EXPECT_EQ(form->order().route().size(), 1);
    form->removeSelectedRouteItem(5); // no such item: nothing asked
    ws->prompts.answerQuestion(true);
    form->clearRoute();
    EXPECT_TRUE(form->order().route().isEmpty());
    EXPECT_EQ(ws->prompts.questions().size(), 3);
}

// ---- the client's previous addresses -------------------------------------------------------

TEST_F(OrderFormControllerTest, PreviousAddressesFollowTheClientWhileShownAndBecomeRoutePointsOnTheFirstStep)
{
    addClient(QStringLiteral("00043"), QStringLiteral("Оксана"));
    const auto executed = [&](const char* table, const char* prefix, qint64 number, qint64 client,
                              const QString& start) {
        db->exec(QStringLiteral("INSERT INTO %1 (%2NUMBER, %2NOMER_KLIENT, %2POCHAT_PUNKT, %2STATUS_ZAMOVL) "
                                "VALUES (%3, %4, %5, 1)")
                     .arg(QLatin1String(table), QLatin1String(prefix), sql::integer(number),
                          sql::integer(client), sql::text(start)));
    };
    executed("CLOSEZAMOVLENNIA", "CZ_", 10, 42, QStringLiteral("[вул. Київська]{3}кв. 5"));
    executed("CLOSEZAMOVLENNIA", "CZ_", 11, 42, QStringLiteral("Драмтеатр"));
    executed("ZAMOVLENNIA", "ZAMOVL_", 12, 42, QStringLiteral("Ґаражний кооператив"));
    executed("ZAMOVLENNIA", "ZAMOVL_", 13, 43, QStringLiteral("Лікарня"));
    addMapPoint(5, QStringLiteral("Магазин [вул. Київська]{3}"));

    PreviousAddressesController& previous = form->previousAddresses();
    form->open(OrderFormOpening::NewOrderCard);
    form->quickSearch(SearchBy::Name, QString());
    form->orderByColumn(QStringLiteral("KLIENT_NUMBER"));
    form->currentRowChanged(2);
    EXPECT_TRUE(previous.addresses().isEmpty()); // nothing is read while the window is hidden

    form->togglePreviousAddresses();
    ASSERT_TRUE(previous.isShown());
    EXPECT_EQ(previous.addresses(),
              (QStringList{QStringLiteral("Ґаражний кооператив"), QStringLiteral("Драмтеатр"),
                           QStringLiteral("[вул. Київська]{3}кв. 5")}));
    form->currentRowChanged(3);
    EXPECT_EQ(previous.addresses(), QStringList{QStringLiteral("Лікарня")});
    form->currentRowChanged(1);
    EXPECT_TRUE(previous.addresses().isEmpty()); // the unknown client has no history
    form->currentRowChanged(2);

    // Ukrainian order: "Ґ" comes between "Г" and "Д", although its code point is far after "Я".
    previous.sortAlphabetically();
    EXPECT_EQ(previous.addresses(),
              (QStringList{QStringLiteral("[вул. Київська]{3}кв. 5"), QStringLiteral("Ґаражний кооператив"),
                           QStringLiteral("Драмтеатр")}));

    // Only the first step of the order builds the route.
    QSignalSpy added(&previous, &PreviousAddressesController::routeItemAdded);
    EXPECT_FALSE(form->addPreviousAddress(0));
    form->goToOrder();
    ASSERT_EQ(form->page(), Page::CreateZam);
    EXPECT_TRUE(form->addPreviousAddress(0));
    EXPECT_TRUE(form->addPreviousAddress(2));
    EXPECT_FALSE(form->addPreviousAddress(3));
    ASSERT_EQ(form->order().route().size(), 2);
    EXPECT_EQ(form->order().route()[0].text(), QStringLiteral("[вул. Київська]{3}кв. 5<5>"));
    EXPECT_EQ(form->order().route()[1].text(), QStringLiteral("Драмтеатр</E>"));
    EXPECT_EQ(added.count(), 2);

    // A search that finds nobody leaves no one's addresses behind; closing hides the window.
    ws->prompts.answerQuestion(true);
    form->quickSearch(SearchBy::Name, QStringLiteral("Нікого"));
    EXPECT_TRUE(previous.addresses().isEmpty());
    form->closed();
    EXPECT_FALSE(previous.isShown());
}

// A birth date of 29 February read from the client's row: the birthday is that day in a
// leap year and 28 February in the other years, never 1 March or the day before.
TEST_F(OrderFormControllerTest, ABirthdayOn29FebruaryComesEveryYear)
{
    db->exec(QStringLiteral("UPDATE KLIENT SET KLIENT_DATA_NARODZENNIA = '29.02.1988' WHERE KLIENT_DODATKOVO LIKE "
                            "'%[00042]%'"));
    const QTime noon(12, 0);
    const std::pair<QDate, bool> days[] = {{QDate(2027, 2, 28), true}, {QDate(2027, 3, 1), false},
                                           {QDate(2027, 2, 27), false}, {QDate(2028, 2, 29), true},
                                           {QDate(2028, 2, 28), false}};
    for (const auto& [day, birthday] : days) {
        clock.set(QDateTime(day, noon));
        form->openClientOf(42);
        EXPECT_EQ(form->birthday(), birthday) << day.toString(Qt::ISODate).toStdString();
    }
}
