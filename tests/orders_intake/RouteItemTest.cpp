#include "orders/intake/RouteItem.h"

#include <gtest/gtest.h>

TEST(RouteItem, BuildsEveryFormAndReadsItBackUnchanged)
{
    const auto house = RouteItem::building(QStringLiteral("вул. Лук'янівська"), QStringLiteral("3'А"),
                                           QStringLiteral("кв. 5, п'ятий під'їзд"), 412);
    ASSERT_TRUE(house);
    EXPECT_EQ(house->text(), QStringLiteral("[вул. Лук'янівська]{3'А}кв. 5, п'ятий під'їзд<412>"));
    EXPECT_EQ(house->stored(), QStringLiteral("[вул. Лук'янівська]{3'А}кв. 5, п'ятий під'їзд"));
    EXPECT_EQ(house->place(), QStringLiteral("[вул. Лук'янівська]{3'А}"));

    const auto object = RouteItem::named(QStringLiteral("Залізничний вокзал"), 7);
    const auto offMapHouse =
        RouteItem::offMapBuilding(QStringLiteral("вул. Ринкова"), QStringLiteral("1"), QString());
    const auto offMapText = RouteItem::offMapText(QStringLiteral("Україна, Рівне, вул. Київська 2"));
    ASSERT_TRUE(object && offMapHouse && offMapText);
    EXPECT_EQ(object->text(), QStringLiteral("Залізничний вокзал<7>"));
    EXPECT_EQ(offMapHouse->text(), QStringLiteral("[вул. Ринкова]{1}</E>"));
    EXPECT_EQ(offMapText->text(), QStringLiteral("Україна, Рівне, вул. Київська 2</E>"));
    EXPECT_FALSE(offMapText->onMap());
    EXPECT_FALSE(offMapText->isBuilding());

    for (const auto& item : {*house, *object, *offMapHouse, *offMapText}) {
        const auto read = RouteItem::parse(item.text());
        ASSERT_TRUE(read) << item.text().toStdString();
        EXPECT_EQ(*read, item);
        EXPECT_EQ(read->text(), item.text());
    }
    EXPECT_EQ(RouteItem::parse(house->text())->flat(), QStringLiteral("кв. 5, п'ятий під'їзд"));
    EXPECT_EQ(RouteItem::parse(house->text())->mapPoint(), 412);
}

TEST(RouteItem, MarksAreRefusedInsideTheParts)
{
    EXPECT_FALSE(RouteItem::building(QStringLiteral("вул. Ринкова"), QStringLiteral("1"),
                                     QStringLiteral("кв. 5 <3>"), 9));
    EXPECT_FALSE(RouteItem::building(QStringLiteral("вул. Ринкова"), QStringLiteral("1>"), QString(), 9));
    EXPECT_FALSE(RouteItem::building(QStringLiteral("вул. <Ринкова"), QStringLiteral("1"), QString(), 9));
    EXPECT_FALSE(RouteItem::offMapText(QStringLiteral("Рівне </E>")));
    EXPECT_FALSE(RouteItem::named(QStringLiteral("Вокзал>"), 7));
    EXPECT_FALSE(RouteItem::named(QStringLiteral("   "), 7));
}

TEST(RouteItem, TextsThatAreNoItemsAreNotRead)
{
    for (const char* text : {"", "Вокзал", "Вокзал<>", "Вокзал<7", "Вокзал<07>", "Вокзал<0>", "Вокзал<-3>",
                             "Вокзал<7>x", "<7>", "Вок>зал<7>", "Вокзал</e>", "[вул]{1}<1><2>"})
        EXPECT_FALSE(RouteItem::parse(QString::fromUtf8(text))) << text;
}

TEST(RouteItem, StoredTextsBecomeItemsAgain)
{
    const auto onMap = RouteItem::fromStored(QStringLiteral("[вул. Ринкова]{1}кв.2"), 5);
    ASSERT_TRUE(onMap);
    EXPECT_EQ(onMap->text(), QStringLiteral("[вул. Ринкова]{1}кв.2<5>"));
    EXPECT_TRUE(onMap->isBuilding());
    EXPECT_EQ(RouteItem::fromStored(QStringLiteral("Вокзал"), 0)->text(), QStringLiteral("Вокзал</E>"));
    // Whatever stood after a stray marker was never part of the stored point.
    EXPECT_EQ(RouteItem::fromStored(QStringLiteral("Вокзал<7> > x"), 0)->text(),
              QStringLiteral("Вокзал</E>"));
    EXPECT_FALSE(RouteItem::fromStored(QString(), 5));
    EXPECT_FALSE(RouteItem::fromStored(QStringLiteral("  "), 5));
}

TEST(RouteItem, PlaceOfAnAddress)
{
    EXPECT_EQ(RouteItem::placeOf(QStringLiteral("[вул. Ринкова]{1}кв.2")),
              QStringLiteral("[вул. Ринкова]{1}"));
    EXPECT_EQ(RouteItem::placeOf(QStringLiteral("Вокзал {центр}")), QStringLiteral("Вокзал {центр}"));
    EXPECT_EQ(RouteItem::placeOf(QStringLiteral("[вул. Ринкова]{1")), QStringLiteral("[вул. Ринкова]{1"));
}
