#include "IntakeFixture.h"

#include "foundation/SqlLiteral.h"
#include "orders/intake/OrderFormController.h"
#include "orders/intake/RoutePointEntry.h"
#include "platform/BaseFolder.h"
#include "platform/Cp1251.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

using End = RoutePointEntry::End;
using Taken = RoutePointEntry::Taken;

// A small town: streets with houses and without, a crossing, objects on a street and one
// that lies on none. Houses carry their street in the label only, as the map creates them.
class RoutePointEntryTest : public IntakeFixture
{
protected:
    void SetUp() override
    {
        IntakeFixture::SetUp();
        addStreet(1, QStringLiteral("вул. Лесі Українки"));
        addStreet(2, QStringLiteral("вул. Прем'єрна"));
        addStreet(3, QStringLiteral("вул. Лесі Українки 2-га")); // holds the first one's name
        db->exec(QStringLiteral("INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PUKT_1, "
                                "KOORD_KART_MISTA_PUKT_2) VALUES (5, 1, 2)"));
        addPoint(10, QStringLiteral("[вул. Лесі Українки]{10}"), 0);
        addPoint(11, QStringLiteral("[вул. Лесі Українки]{9}"), 0);
        // A second point of house 9 (labels are unique: it names its block too).
        addPoint(12, QStringLiteral("[вул. Лесі Українки]{9} корпус 2"), 0);
        addPoint(13, QStringLiteral("[вул. Лесі Українки 2-га]{1}"), 0);
        addPoint(20, QStringLiteral("Готель Прем'єр"), 2, QStringLiteral("ГОТЕЛЬ"));
        addPoint(21, QStringLiteral("Кафе Прем'єр на трасі"), 0, QStringLiteral("КАФЕ"));
        form = std::make_unique<OrderFormController>(*ctx);
    }
    void TearDown() override
    {
        form.reset();
        BaseFolder::overrideForTests({});
        IntakeFixture::TearDown();
    }
    void addStreet(int number, const QString& name)
    {
        db->exec(
            QStringLiteral("INSERT INTO VULICA_LUCK (SPISOK_VUL_NOMER, SPISOK_VUL_VULICA) VALUES (%1, %2)")
                .arg(sql::integer(number), sql::text(name)));
    }
    void addPoint(qint64 number, const QString& label, int street,
                  const QString& status = QStringLiteral("БУДИНОК"))
    {
        db->exec(QStringLiteral("INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PIDPIS, "
                                "KOORD_KART_MISTA_PUKT_1, KOORD_KART_MISTA_STATUS) VALUES (%1, %2, %3, %4)")
                     .arg(sql::integer(number), sql::text(label), sql::integer(street), sql::text(status)));
    }
    RoutePointEntry& entry() { return form->routeEntry(); }
    QStringList route() const
    {
        QStringList texts;
        for (const RouteItem& item : form->order().route())
            texts << item.text();
        return texts;
    }
    // The houses of a street as Enter on its name lists them.
    void takeStreet(const QString& street)
    {
        entry().search(street);
        entry().selectName(street);
        ASSERT_EQ(entry().takeName(), Taken::Street);
    }

    std::unique_ptr<OrderFormController> form;
};

// ---- searching ---------------------------------------------------------------------------------

TEST_F(RoutePointEntryTest, APartOfANameListsTheStreetsAndTheObjectsOnAStreetSorted)
{
    entry().search(QStringLiteral("Прем'"));
    EXPECT_EQ(entry().names(),
              (QStringList{QStringLiteral("вул. Прем'єрна"), QStringLiteral("Готель Прем'єр")}));

    entry().search(QStringLiteral("Українки"));
    EXPECT_EQ(entry().names(),
              (QStringList{QStringLiteral("вул. Лесі Українки"), QStringLiteral("вул. Лесі Українки 2-га")}));
    EXPECT_EQ(entry().selectedName(), QStringLiteral("вул. Лесі Українки"));

    // A quote typed alone is a text like any other, not the end of one.
    entry().search(QStringLiteral("'"));
    EXPECT_EQ(entry().names().size(), 2);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM VULICA_LUCK")), 3);

    entry().search(QStringLiteral("Неіснуюча"));
    EXPECT_TRUE(entry().names().isEmpty());
    EXPECT_EQ(entry().takeName(), Taken::Nothing);
    EXPECT_EQ(ws->prompts.messages(), QStringList{RoutePointEntry::kEmptyListMessage});
}

TEST_F(RoutePointEntryTest, EnterOnAStreetListsOnlyItsOwnHousesAndOnAStreetWithoutHousesNone)
{
    takeStreet(QStringLiteral("вул. Лесі Українки"));
    EXPECT_EQ(entry().houses(), (QStringList{QStringLiteral("9"), QStringLiteral("10")}));

    takeStreet(QStringLiteral("вул. Прем'єрна"));
    EXPECT_TRUE(entry().houses().isEmpty());
    EXPECT_FALSE(entry().addBuilding());
    EXPECT_TRUE(ws->prompts.shown().isEmpty());

    // "_" is a wildcard to LIKE, not to the houses list.
    addStreet(5, QStringLiteral("вул. 1-го Травня"));
    addStreet(6, QStringLiteral("вул. 1_го Травня"));
    addPoint(14, QStringLiteral("[вул. 1-го Травня]{3}"), 0);
    takeStreet(QStringLiteral("вул. 1_го Травня"));
    EXPECT_TRUE(entry().houses().isEmpty());

    // A name the list no longer holds is not taken.
    entry().selectName(QStringLiteral("вул. Вигадана"));
    EXPECT_EQ(entry().takeName(), Taken::Nothing);
}

TEST_F(RoutePointEntryTest, ACategoryListsItsObjectsAndAKeyInTheSearchBoxEmptiesTheHouses)
{
    EXPECT_EQ(entry().categories(),
              (QStringList{QStringLiteral("БУДИНОК"), QStringLiteral("ГОТЕЛЬ"), QStringLiteral("КАФЕ")}));
    takeStreet(QStringLiteral("вул. Лесі Українки"));
    entry().setFlat(QStringLiteral("кв. 3"));
    entry().chooseCategory(QStringLiteral("КАФЕ"));
    EXPECT_EQ(entry().names(), QStringList{QStringLiteral("Кафе Прем'єр на трасі")});
    EXPECT_TRUE(entry().houses().isEmpty());
    EXPECT_TRUE(entry().flat().isEmpty());
}

// ---- adding points of the map --------------------------------------------------------------------

TEST_F(RoutePointEntryTest, AnObjectIsAddedWithItsPointAfterTheQuestion)
{
    entry().search(QStringLiteral("Готель"));
    ws->prompts.answerQuestion(false);
    EXPECT_EQ(entry().takeName(), Taken::Nothing);
    EXPECT_TRUE(route().isEmpty());

    ws->prompts.answerQuestion(true);
    EXPECT_EQ(entry().takeName(), Taken::ObjectAdded);
    EXPECT_EQ(ws->prompts.questions().last(),
              QStringLiteral("Добавити  [ГОТЕЛЬ] <Готель Прем'єр>  до списку розрахунку руху ?"));
    EXPECT_EQ(route(), QStringList{QStringLiteral("Готель Прем'єр<20>")});
}

TEST_F(RoutePointEntryTest, ABuildingIsAddedWithItsFlatAndTheLastPointOfTheHouse)
{
    QSignalSpy changes(&entry(), &RoutePointEntry::routeChanged);
    takeStreet(QStringLiteral("вул. Лесі Українки"));
    entry().selectHouse(QStringLiteral("9"));
    entry().setFlat(QStringLiteral(" кв. 5"));
    ws->prompts.answerQuestion(true);
    ASSERT_TRUE(entry().addBuilding());
    EXPECT_EQ(ws->prompts.questions(),
              QStringList{QStringLiteral(
                  "Добавити  адресу [вул. Лесі Українки]{9} кв. 5  до списку розрахунку руху ?")});
    EXPECT_EQ(route(), QStringList{QStringLiteral("[вул. Лесі Українки]{9} кв. 5<12>")});
    EXPECT_EQ(changes.size(), 1);
}

TEST_F(RoutePointEntryTest, MarksInAFlatOrANameAreRefusedBeforeAnythingIsAsked)
{
    takeStreet(QStringLiteral("вул. Лесі Українки"));
    entry().selectHouse(QStringLiteral("10"));
    entry().setFlat(QStringLiteral("кв. 5 <3>"));
    EXPECT_FALSE(entry().addBuilding());
    entry().setFlat(QStringLiteral("під'їзд 2>"));
    EXPECT_FALSE(entry().addBuilding());

    addPoint(30, QStringLiteral("Клуб <Нічний>"), 1, QStringLiteral("КЛУБ"));
    entry().search(QStringLiteral("Клуб"));
    EXPECT_EQ(entry().takeName(), Taken::Nothing);

    EXPECT_TRUE(ws->prompts.questions().isEmpty());
    EXPECT_EQ(ws->prompts.messages(), QStringList(3, RouteItem::kForbiddenMarksMessage));
    EXPECT_TRUE(route().isEmpty());
}

// ---- outside addresses -------------------------------------------------------------------------

TEST_F(RoutePointEntryTest, OutsideAddressesReplaceTheWholeList)
{
    form->order().addRouteItem(*RouteItem::named(QStringLiteral("Готель Прем'єр"), 20));
    entry().setPlace(End::Start, QStringLiteral("вул. Лесі Українки"));
    entry().setHouse(End::Start, QStringLiteral("9"));
    entry().setStartFlat(QStringLiteral("кв. 1"));
    entry().setMyCity(End::Destination, false);
    entry().setPlace(End::Destination, QStringLiteral("Рівне, вул. Соборна"));
    entry().setHouse(End::Destination, QStringLiteral("4"));

    ws->prompts.answerQuestion(false);
    EXPECT_FALSE(entry().addOutside());
    EXPECT_EQ(route().size(), 1);

    ws->prompts.answerQuestion(true);
    ASSERT_TRUE(entry().addOutside());
    EXPECT_EQ(ws->prompts.questions().last(), RoutePointEntry::kAddOutsideQuestion);
    EXPECT_EQ(route(), (QStringList{QStringLiteral("[вул. Лесі Українки]{9}кв. 1</E>"),
                                    QStringLiteral("Рівне, вул. Соборна, 4</E>")}));

    // Without a destination the start alone makes the list.
    entry().setPlace(End::Destination, QString());
    ws->prompts.answerQuestion(true);
    ASSERT_TRUE(entry().addOutside());
    EXPECT_EQ(route(), QStringList{QStringLiteral("[вул. Лесі Українки]{9}кв. 1</E>")});
}

TEST_F(RoutePointEntryTest, IncompleteOrMarkedOutsideAddressesAddNothing)
{
    form->order().addRouteItem(*RouteItem::named(QStringLiteral("Готель Прем'єр"), 20));
    const auto failsWith = [this](const QString& message) {
        ws->prompts.clear();
        EXPECT_FALSE(entry().addOutside());
        EXPECT_EQ(ws->prompts.messages(), QStringList{message});
        EXPECT_TRUE(ws->prompts.questions().isEmpty());
    };
    entry().setPlace(End::Start, QStringLiteral("   "));
    failsWith(RoutePointEntry::kIncompleteMessage);
    entry().setPlace(End::Start, QStringLiteral("вул. Лесі Українки"));
    failsWith(RoutePointEntry::kStartHouseMessage);
    entry().setHouse(End::Start, QStringLiteral("9"));
    entry().setPlace(End::Destination, QStringLiteral("вул. Прем'єрна"));
    failsWith(RoutePointEntry::kDestinationHouseMessage);
    entry().setHouse(End::Destination, QStringLiteral("1<2>"));
    failsWith(RouteItem::kForbiddenMarksMessage);
    EXPECT_EQ(route(), QStringList{QStringLiteral("Готель Прем'єр<20>")});
}

TEST_F(RoutePointEntryTest, TheTariffGridGivesTheDistanceOfTwoOwnCityStreetsAndTickingResetsIt)
{
    QTemporaryDir folder;
    BaseFolder::overrideForTests(folder.path());
    QFile tarif(folder.filePath(QStringLiteral("TARIF.INI")));
    ASSERT_TRUE(tarif.open(QIODevice::WriteOnly));
    tarif.write(
        *cp1251::encode(QStringLiteral("[TARIFSITKA]\r\nL{вул. Лесі Українки}->{вул. Прем'єрна}=5300\r\n"
                                       "L{вул. Прем'єрна}->{вул. Лесі Українки}=5100\r\n")));
    tarif.close();

    EXPECT_TRUE(entry().end(End::Start).myCity);
    EXPECT_TRUE(entry().end(End::Destination).myCity);
    entry().setPlace(End::Start, QStringLiteral("вул. Прем'єрна"));
    EXPECT_EQ(entry().calculatedDistance(), QStringLiteral("000"));
    entry().setPlace(End::Destination, QStringLiteral("вул. Лесі Українки"));
    EXPECT_EQ(entry().calculatedDistance(), QStringLiteral("5,3"));
    EXPECT_EQ(form->outsideDistance(), QStringLiteral("5,3"));

    entry().setMyCity(End::Start, false);
    EXPECT_EQ(entry().calculatedDistance(), QStringLiteral("000"));
    entry().setMyCity(End::Start, true);
    entry().lookUpGridDistance();
    EXPECT_EQ(entry().calculatedDistance(), QStringLiteral("5,3"));
    // A distance belongs to the places it was found for.
    entry().setPlace(End::Destination, QStringLiteral("вул. Лесі Українки 2-га"));
    EXPECT_EQ(entry().calculatedDistance(), QStringLiteral("000"));
}

// ---- the city map ------------------------------------------------------------------------------

TEST_F(RoutePointEntryTest, NewAsksTheMapForAHouseOnAStreetThatHasPoints)
{
    QSignalSpy requests(&entry(), &RoutePointEntry::newHouseRequested);
    entry().search(QStringLiteral("Лесі"));
    EXPECT_FALSE(entry().newHouseAvailable()); // no map in use
    entry().newHouse();
    EXPECT_TRUE(requests.isEmpty());

    ws->useMap(1.0);
    ASSERT_TRUE(entry().newHouseAvailable());
    entry().newHouse();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0][0].toString(), QStringLiteral("вул. Лесі Українки"));
    EXPECT_EQ(requests[0][1].toInt(), 1);
    EXPECT_EQ(requests[0][2].toLongLong(), 5); // the crossing

    addStreet(4, QStringLiteral("вул. Лесі Нова"));
    entry().search(QStringLiteral("Нова"));
    entry().newHouse();
    EXPECT_EQ(ws->prompts.messages(), QStringList{RoutePointEntry::kNoStreetPointsMessage});

    // An object is no street to put a house on.
    entry().search(QStringLiteral("Готель"));
    entry().newHouse();
    EXPECT_EQ(requests.size(), 1);
    EXPECT_EQ(ws->prompts.messages().size(), 1);
}

TEST_F(RoutePointEntryTest, AHouseTheMapCreatedIsListedAndChosen)
{
    takeStreet(QStringLiteral("вул. Лесі Українки"));
    entry().houseCreated(QStringLiteral("вул. Лесі Українки"), QStringLiteral("9а"));
    EXPECT_EQ(entry().houses(),
              (QStringList{QStringLiteral("9"), QStringLiteral("9а"), QStringLiteral("10")}));
    EXPECT_EQ(entry().selectedHouse(), QStringLiteral("9а"));

    // On another street than the one shown, that street's houses come with it.
    addPoint(40, QStringLiteral("[вул. Прем'єрна]{7}"), 0);
    entry().houseCreated(QStringLiteral("вул. Прем'єрна"), QStringLiteral("7"));
    EXPECT_EQ(entry().selectedName(), QStringLiteral("вул. Прем'єрна"));
    EXPECT_EQ(entry().houses(), QStringList{QStringLiteral("7")});
    EXPECT_EQ(entry().selectedHouse(), QStringLiteral("7"));
    ws->prompts.answerQuestion(true);
    ASSERT_TRUE(entry().addBuilding());
    EXPECT_EQ(route(), QStringList{QStringLiteral("[вул. Прем'єрна]{7}<40>")});
}

TEST_F(RoutePointEntryTest, AMapPointIsShownByItsLabelAndPointsOffTheMapAreIgnored)
{
    QSignalSpy shows(&entry(), &RoutePointEntry::showOnMapRequested);
    form->order().addRouteItem(*RouteItem::offMapText(QStringLiteral("Рівне")));
    form->order().addRouteItem(*RouteItem::named(QStringLiteral("Готель Прем'єр"), 20));
    form->order().addRouteItem(*RouteItem::named(QStringLiteral("Знесений"), 99));
    for (int index : {-1, 0, 1, 2, 3})
        entry().showOnMap(index);
    ASSERT_EQ(shows.size(), 1);
    EXPECT_EQ(shows[0][0].toLongLong(), 20);
    EXPECT_EQ(shows[0][1].toString(), QStringLiteral("Готель Прем'єр"));
}
