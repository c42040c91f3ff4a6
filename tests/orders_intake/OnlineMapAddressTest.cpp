#include "orders/intake/OnlineMapAddress.h"
#include "orders/intake/WebRouteController.h"

#include <gtest/gtest.h>

namespace {

// Map y grows downwards, latitude upwards: the latitude span goes with a negative map span.
MapBinding lutsk()
{
    MapBinding binding;
    binding.x = 1000.7;
    binding.y = 2000;
    binding.longitude = 25.3;
    binding.latitude = 50.75;
    binding.mapSpanX = 1000;
    binding.mapSpanY = -1000;
    binding.longitudeSpan = 0.1;
    binding.latitudeSpan = 0.05;
    return binding;
}

} // namespace

TEST(OnlineMapAddress, TheRouteNamesTheStartThreeTimesAndTheDestinationOnce)
{
    const QUrl address = OnlineMapAddress::route(QStringLiteral("https://map.example/"), lutsk(),
                                                 QPoint(1500, 2500), QPoint(1000, 1000));
    // The reference x counts as 1000, not 1000.7: otherwise the start would be 25.34993.
    EXPECT_EQ(address.toString(),
              QStringLiteral("https://map.example/#lng=25.35;lat=50.725;z=10;map=ukraine_ru;"
                             "lngm=25.35;latm=50.725;lngms=25.35;latms=50.725;lngmf=25.3;"
                             "latmf=50.8;"));
}

TEST(OnlineMapAddress, CoordinatesUseADotAndNoNeedlessDigits)
{
    EXPECT_EQ(OnlineMapAddress::coordinate(25.349999999999998), QStringLiteral("25.35"));
    EXPECT_EQ(OnlineMapAddress::coordinate(50), QStringLiteral("50"));
    EXPECT_EQ(OnlineMapAddress::coordinate(-0.0000001), QStringLiteral("0"));
    EXPECT_EQ(OnlineMapAddress::coordinate(-73.9856541), QStringLiteral("-73.985654"));
}

TEST(OnlineMapAddress, ABindingWithoutAMapSpanCannotPlaceAPoint)
{
    EXPECT_TRUE(lutsk().usable());
    MapBinding binding = lutsk();
    binding.mapSpanY = 0;
    EXPECT_FALSE(binding.usable());
    EXPECT_FALSE(MapBinding{}.usable()); // the defaults of an empty TARIF.INI
}

TEST(WebRouteDistance, TheDistanceIsCutNotRoundedAfterTwoDecimals)
{
    EXPECT_EQ(WebRouteController::cutDistance(QStringLiteral("12,3456")), QStringLiteral("12,34"));
    EXPECT_EQ(WebRouteController::cutDistance(QStringLiteral("14,999")), QStringLiteral("14,99"));
    EXPECT_EQ(WebRouteController::cutDistance(QStringLiteral("15,2")), QStringLiteral("15,2"));
    EXPECT_EQ(WebRouteController::cutDistance(QStringLiteral("7.128")), QStringLiteral("7.12"));
    EXPECT_EQ(WebRouteController::cutDistance(QStringLiteral("230")), QStringLiteral("230"));
}
