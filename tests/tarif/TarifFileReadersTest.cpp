#include "dispatch/DistrictNeighbours.h"
#include "orders/intake/TariffGrid.h"
#include "platform/Cp1251.h"

#include <gtest/gtest.h>

namespace {
IniFile iniOf(const QString& text)
{
    return IniFile::fromBytes(*cp1251::encode(text));
}
} // namespace

TEST(TariffGrid, LooksUpBothOrdersOfThePairAndTheLargerWins)
{
    const TariffGrid grid(iniOf(QStringLiteral("[TARIFSITKA]\r\nL{вул. Соборна}->{вул. Ринкова}=1200\r\n"
                                               "L{вул. Ринкова}->{вул. Соборна}=1500,5\r\n"
                                               "L{пров. Тихий}->{вул. Ринкова}=900\r\n"
                                               "L{вул. Мостова}->{вул. Садова}=не число\r\n"
                                               "L{вул. Садова}->{вул. Мостова}=\r\n")));
    EXPECT_EQ(grid.metresBetween(QStringLiteral("вул. Соборна"), QStringLiteral("вул. Ринкова")), 1500.5);
    EXPECT_EQ(grid.metresBetween(QStringLiteral("вул. Ринкова"), QStringLiteral("вул. Соборна")), 1500.5);
    // Written in one order only, found from either end.
    EXPECT_EQ(grid.metresBetween(QStringLiteral("вул. Ринкова"), QStringLiteral("пров. Тихий")), 900.0);
    // Keys match without regard to case, Cyrillic included.
    EXPECT_EQ(grid.metresBetween(QStringLiteral("ПРОВ. ТИХИЙ"), QStringLiteral("Вул. Ринкова")), 900.0);
    // Present but unreadable is a distance of 0, unlike a pair that is not in the grid.
    EXPECT_EQ(grid.metresBetween(QStringLiteral("вул. Мостова"), QStringLiteral("вул. Садова")), 0.0);
    EXPECT_FALSE(
        grid.metresBetween(QStringLiteral("вул. Соборна"), QStringLiteral("пров. Тихий")).has_value());
}

TEST(DistrictNeighbours, GivesBothTextsOfADistrictAndEmptyTextsForAnUnknownOne)
{
    const DistrictNeighbours table(iniOf(QStringLiteral(
        "[SETREGION]\r\nNEAREST_REGION{Центр}={Північний}{Вокзальний}\r\nnearest_stoyanka{центр}={Ринок}\r\n"
        "NEAREST_STOYANKA{Садки}={Садки}\r\n")));
    const auto centre = table.forDistrict(QStringLiteral("Центр"));
    EXPECT_EQ(centre.nearestRegions, QStringLiteral("{Північний}{Вокзальний}"));
    EXPECT_EQ(centre.nearestStands, QStringLiteral("{Ринок}"));
    const auto gardens = table.forDistrict(QStringLiteral("Садки"));
    EXPECT_EQ(gardens.nearestRegions, QString());
    EXPECT_EQ(gardens.nearestStands, QStringLiteral("{Садки}"));
    const auto unknown = table.forDistrict(QStringLiteral("Заріччя"));
    EXPECT_EQ(unknown.nearestRegions, QString());
    EXPECT_EQ(unknown.nearestStands, QString());
}
