#include "DispatchFixture.h"

#include "dispatch/AutoDistribution.h"
#include "dispatch/NearestStand.h"
#include "foundation/SettingKeys.h"
#include "foundation/SqlLiteral.h"
#include "platform/BaseFolder.h"
#include "platform/Cp1251.h"

#include <QFile>
#include <QTemporaryDir>

class NearestStandTest : public DispatchFixture
{
protected:
    void SetUp() override
    {
        DispatchFixture::SetUp();
        BaseFolder::overrideForTests(folder.path());
        ws->useMap(2.0);
        point(1, QStringLiteral("Вокзал"), 100, 100);
        point(2, QStringLiteral("Ринок"), 300, 100);
        point(3, QStringLiteral("Міст"), 0, 100); // not placed
        point(4, QStringLiteral("[Лесі]{2}"), 200, 100);
        point(5, QStringLiteral("Парк"), 210, 100);
    }
    void TearDown() override
    {
        BaseFolder::overrideForTests({});
        DispatchFixture::TearDown();
    }
    void point(int n, const QString& label, int x, int y)
    {
        db->exec(
            QStringLiteral(
                "INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PIDPIS, KOORD_KART_MISTA_X, "
                "KOORD_KART_MISTA_Y) VALUES (%1, %2, %3, %4)")
                .arg(QString::number(n), sql::text(label), QString::number(x), QString::number(y)));
    }
    void setting(const QString& key, const QString& value)
    {
        ws->store.setValue(SettingsStore::kOrderLogicGroup, key, value);
    }
    QString hotLine(qint64 number, const QString& flag, const QString& pickup)
    {
        return QStringLiteral("%1  -> {%2} %3").arg(QString::number(number), flag, pickup);
    }
    QTemporaryDir folder;
};

TEST_F(NearestStandTest, MapMethodTakesTheStrictlyNearestPlacedStand)
{
    putOnAir(1, QStringLiteral("А"), QStringLiteral("Ринок"), QStringLiteral("0001"));
    putOnAir(2, QStringLiteral("Б"), QStringLiteral("Вокзал"), QStringLiteral("0001"));
    putOnAir(3, QStringLiteral("В"), QStringLiteral("Міст"), QStringLiteral("0001"));
    putOnAir(4, QStringLiteral("Г"), QStringLiteral("Без точки"), QStringLiteral("0001"));
    // Both stands are 100 pixels away: the first in the grouped result wins.
    EXPECT_EQ(FindNearestStand(*ctx, QStringLiteral("[Лесі]{2} кв. 5"), DistributionMode::kNone),
              QStringLiteral("Вокзал"));
    EXPECT_EQ(MapDistance(*ctx, QStringLiteral("[Лесі]{2}"), QStringLiteral("Вокзал")),
              QStringLiteral("200"));
    EXPECT_EQ(FindNearestStand(*ctx, QStringLiteral("Парк"), DistributionMode::kNone),
              QStringLiteral("Ринок"));
    EXPECT_EQ(FindNearestStand(*ctx, QStringLiteral("[Невідома]{1}"), DistributionMode::kNone), QString());
    // A stand at the very point of the address (distance 0) is never the nearest.
    EXPECT_EQ(FindNearestStand(*ctx, QStringLiteral("Вокзал"), DistributionMode::kNone),
              QStringLiteral("Ринок"));
    // Without a scale there are no distances at all.
    ws->useMap(std::nullopt);
    EXPECT_EQ(FindNearestStand(*ctx, QStringLiteral("Парк"), DistributionMode::kNone), QString());
    EXPECT_EQ(MapDistance(*ctx, QStringLiteral("Парк"), QStringLiteral("Ринок")), QString());
}

TEST_F(NearestStandTest, DistributionModesFilterTheDrivers)
{
    putOnAir(1, QStringLiteral("А"), QStringLiteral("Вокзал"), QStringLiteral("0001")); // no GPRS
    putOnAir(2, QStringLiteral("Б"), QStringLiteral("Ринок"), QStringLiteral("0001"), 0,
             QStringLiteral("{GPRS}Ланос"));
    EXPECT_EQ(FindNearestStand(*ctx, QStringLiteral("[Лесі]{2}"), DistributionMode::kNone),
              QStringLiteral("Вокзал"));
    for (const QString& mode : {DistributionMode::kNoFreeRides, DistributionMode::kFreeRidesMarkedAllowed,
                                DistributionMode::kFreeRidesMarkedExcluded})
        EXPECT_EQ(FindNearestStand(*ctx, QStringLiteral("[Лесі]{2}"), mode), QStringLiteral("Ринок"))
            << qPrintable(mode);
    db->exec(QStringLiteral(
        "UPDATE ZADIANI_AVTO SET ZAD_AVTO_YUVILEYKA = '02.03.2026 10:00:00' WHERE ZAD_AVTO_POZIVNIY = 2"));
    EXPECT_EQ(FindNearestStand(*ctx, QStringLiteral("[Лесі]{2}"), DistributionMode::kFreeRidesMarkedAllowed),
              QStringLiteral("Ринок"));
    EXPECT_EQ(FindNearestStand(*ctx, QStringLiteral("[Лесі]{2}"), DistributionMode::kFreeRidesMarkedExcluded),
              QString());
}

TEST_F(NearestStandTest, WithoutTheMapTheDistrictListsDecide)
{
    ws->map->switchOff();
    for (const char* row : {"('Лесі', 'Центр')", "('Шевченка', 'Заріччя')", "('Лесі Українки', 'Садки')"})
        db->exec(QStringLiteral("INSERT INTO VULICA_LUCK (SPISOK_VUL_VULICA, SPISOK_VUL_RAYON) VALUES ") +
                 QString::fromUtf8(row));
    QFile tarif(folder.filePath(QStringLiteral("TARIF.INI")));
    ASSERT_TRUE(tarif.open(QIODevice::WriteOnly));
    tarif.write(*cp1251::encode(
        QStringLiteral("[SETREGION]\r\nNEAREST_STOYANKA{Центр}={Ринок}{}{Вокзал}\r\n"
                       "NEAREST_REGION{Заріччя}={Немає}{Центр}\r\nNEAREST_STOYANKA{Заріччя}={Міст}\r\n")));
    tarif.close();
    LoadRegions(*ctx);
    ASSERT_EQ(ctx->regions.streets.size(), 3u);
    EXPECT_EQ(ctx->regions.streets[0].street, QStringLiteral("Лесі"));

    putOnAir(1, QStringLiteral("А"), QStringLiteral("Вокзал"), QStringLiteral("0001"));
    EXPECT_EQ(FindNearestStand(*ctx, QStringLiteral("[Лесі]{2}"), DistributionMode::kNone),
              QStringLiteral("Вокзал"));
    EXPECT_EQ(FindNearestStand(*ctx, QStringLiteral("вул. Шевченка, 4"), DistributionMode::kNone),
              QStringLiteral("Вокзал"));
    // The street must be followed by a blank or a comma, or stand in brackets.
    EXPECT_EQ(FindNearestStand(*ctx, QStringLiteral("Шевченкова 4"), DistributionMode::kNone), QString());
    putOnAir(2, QStringLiteral("Б"), QStringLiteral("Міст"), QStringLiteral("0001"));
    EXPECT_EQ(FindNearestStand(*ctx, QStringLiteral("Шевченка 4"), DistributionMode::kNone),
              QStringLiteral("Міст"));
    // The first matching street in alphabetical order decides ("Лесі" before "Лесі Українки").
    EXPECT_EQ(FindNearestStand(*ctx, QStringLiteral("[Лесі Українки]{3} Лесі "), DistributionMode::kNone),
              QStringLiteral("Вокзал"));
    EXPECT_EQ(MapDistance(*ctx, QStringLiteral("[Лесі]{2}"), QStringLiteral("Вокзал")),
              QString()); // no map, no distance
}

TEST_F(NearestStandTest, DistributionHandsHotOrdersToTheHeadOfTheNearestGprsQueue)
{
    setting(SettingKeys::kMaxAutoDistance, QStringLiteral("200"));
    putOnAir(31, QStringLiteral("Другий"), QStringLiteral("Вокзал"), QStringLiteral("0002"), 0,
             QStringLiteral("{GPRS}Ланос"));
    putOnAir(40, QStringLiteral("Перший"), QStringLiteral("Вокзал"), QStringLiteral("0001"), 0,
             QStringLiteral("{GPRS}Ланос"));
    putOnAir(9, QStringLiteral("Без GPRS"), QStringLiteral("Вокзал"), QStringLiteral("0000"));
    const qint64 exact = addOrder(QStringLiteral("[Лесі]{2}"));
    const qint64 withFlat = addOrder(QStringLiteral("[Лесі]{2} під'їзд 3"));
    const qint64 freeRide = addOrder(QStringLiteral("Парк"), {}, {}, 0, 0, QStringLiteral("TAK"));
    const QList<HotOrdersView::HotOrderLine> lines = {
        {hotLine(exact, QStringLiteral("HI"), QStringLiteral("[Лесі]{2}"))},
        {hotLine(withFlat, QStringLiteral("HI"), QStringLiteral("[Лесі]{2} під'їзд 3"))},
        {hotLine(freeRide, QStringLiteral("TAK"), QStringLiteral("Парк"))},
        {QStringLiteral("не номер  -> {HI} [Лесі]{2}")},
    };
    ws->prompts.answerQuestion(true);
    EXPECT_EQ(DistributeHotOrders(*ctx, lines), 1);
    ASSERT_EQ(ws->prompts.shown().size(), 1);
    EXPECT_TRUE(ws->prompts.shown()[0].text.contains(QStringLiteral("[200] Максимальна відстань")));
    EXPECT_TRUE(ws->prompts.shown()[0].text.endsWith(QStringLiteral("Роздавати ювілейні поїздки [НІ]")));
    // A distance equal to the maximum is accepted, and the head of the queue gets it.
    EXPECT_EQ(
        count(QStringLiteral("SELECT ZAMOVL_POZIVNIY FROM ZAMOVLENNIA WHERE ZAMOVL_NUMBER = %1").arg(exact)),
        40);
    EXPECT_EQ(
        count(QStringLiteral("SELECT COALESCE(ZAMOVL_POZIVNIY, 0) FROM ZAMOVLENNIA WHERE ZAMOVL_NUMBER = %1")
                  .arg(withFlat)),
        0);
    EXPECT_EQ(
        count(QStringLiteral("SELECT COALESCE(ZAMOVL_POZIVNIY, 0) FROM ZAMOVLENNIA WHERE ZAMOVL_NUMBER = %1")
                  .arg(freeRide)),
        0);
}

// The candidate stands are read once per run: a stand whose last driver took an order
// is left for the next nearest, as a fresh read of the candidates would leave it.
TEST_F(NearestStandTest, DistributionMovesOnToTheNextStandOnceTheNearestIsEmptied)
{
    setting(SettingKeys::kMaxAutoDistance, QStringLiteral("1000"));
    putOnAir(40, QStringLiteral("Вокзальний"), QStringLiteral("Вокзал"), QStringLiteral("0001"), 0,
             QStringLiteral("{GPRS}Ланос"));
    putOnAir(50, QStringLiteral("Ринковий"), QStringLiteral("Ринок"), QStringLiteral("0001"), 0,
             QStringLiteral("{GPRS}Ланос"));
    putOnAir(51, QStringLiteral("Ще ринковий"), QStringLiteral("Ринок"), QStringLiteral("0002"), 0,
             QStringLiteral("{GPRS}Ланос"));
    // [Лесі]{2} is 100 pixels from both stands: Вокзал comes first among equals.
    const qint64 first = addOrder(QStringLiteral("[Лесі]{2}"));
    const qint64 second = addOrder(QStringLiteral("[Лесі]{2}"));
    const qint64 third = addOrder(QStringLiteral("[Лесі]{2}"));
    const qint64 fourth = addOrder(QStringLiteral("[Лесі]{2}"));
    QList<HotOrdersView::HotOrderLine> lines;
    for (qint64 order : {first, second, third, fourth})
        lines << HotOrdersView::HotOrderLine{
            hotLine(order, QStringLiteral("HI"), QStringLiteral("[Лесі]{2}"))};
    ws->prompts.answerQuestion(true);
    EXPECT_EQ(DistributeHotOrders(*ctx, lines), 3);
    auto driverOf = [&](qint64 order) {
        return count(
            QStringLiteral("SELECT COALESCE(ZAMOVL_POZIVNIY, 0) FROM ZAMOVLENNIA WHERE ZAMOVL_NUMBER = %1")
                .arg(order));
    };
    EXPECT_EQ(driverOf(first), 40);
    EXPECT_EQ(driverOf(second), 50);
    EXPECT_EQ(driverOf(third), 51);
    EXPECT_EQ(driverOf(fourth), 0); // nobody left within reach
}

TEST_F(NearestStandTest, DistributionWithFreeRidesSkipsMarkedDriversOnlyForFreeOrders)
{
    setting(SettingKeys::kMaxAutoDistance, QStringLiteral("1000"));
    setting(SettingKeys::kAutoFreeRides, QStringLiteral("1"));
    putOnAir(31, QStringLiteral("Помічений"), QStringLiteral("Ринок"), QStringLiteral("0001"), 0,
             QStringLiteral("{GPRS}Ланос"));
    putOnAir(32, QStringLiteral("Чистий"), QStringLiteral("Ринок"), QStringLiteral("0002"), 0,
             QStringLiteral("{GPRS}Ланос"));
    db->exec(QStringLiteral(
        "UPDATE ZADIANI_AVTO SET ZAD_AVTO_YUVILEYKA = '02.03.2026 10:00:00' WHERE ZAD_AVTO_POZIVNIY = 31"));
    const qint64 freeRide = addOrder(QStringLiteral("Парк"), {}, {}, 0, 0, QStringLiteral("TAK"));
    ws->prompts.answerQuestion(true);
    EXPECT_EQ(DistributeHotOrders(*ctx, {{hotLine(freeRide, QStringLiteral("TAK"), QStringLiteral("Парк"))}}),
              1);
    EXPECT_EQ(
        count(
            QStringLiteral("SELECT ZAMOVL_POZIVNIY FROM ZAMOVLENNIA WHERE ZAMOVL_NUMBER = %1").arg(freeRide)),
        32);
    EXPECT_TRUE(ws->prompts.shown()[0].text.contains(
        QStringLiteral("необнуленою поміткою попередньої ювілейної поїздки [НІ]")));
}

TEST_F(NearestStandTest, DistributionDoesNothingWhenSwitchedOffDeclinedOrWithoutAMap)
{
    putOnAir(40, QStringLiteral("Перший"), QStringLiteral("Вокзал"), QStringLiteral("0001"), 0,
             QStringLiteral("{GPRS}Ланос"));
    const qint64 order = addOrder(QStringLiteral("[Лесі]{2}"));
    const QList<HotOrdersView::HotOrderLine> lines = {
        {hotLine(order, QStringLiteral("HI"), QStringLiteral("[Лесі]{2}"))}};
    setting(SettingKeys::kMaxAutoDistance, QStringLiteral("0"));
    EXPECT_EQ(DistributeHotOrders(*ctx, lines), 0);
    EXPECT_TRUE(ws->prompts.shown().isEmpty()); // not even asked
    setting(SettingKeys::kMaxAutoDistance, QStringLiteral("5000"));
    ws->prompts.answerQuestion(false);
    EXPECT_EQ(DistributeHotOrders(*ctx, lines), 0);
    ws->map->switchOff();
    ws->prompts.answerQuestion(true);
    EXPECT_EQ(DistributeHotOrders(*ctx, lines), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZAMOVLENNIA WHERE ZAMOVL_POZIVNIY > 0")), 0);
}
