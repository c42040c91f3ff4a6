#include "orders/intake/WebDistanceClient.h"

#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "support/WaitFor.h"

#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

// The demo desk's stand-in service (tools/webdistance), started as the demo starts it,
// answers the order form's own request with a distance the client reads.
TEST(WebDistanceStandIn, TheClientGetsAStableDistanceAndTheErrorPagesFromTheStandIn)
{
    QProcess standIn;
    standIn.setProgram(QStringLiteral(WEBDISTANCE_PATH));
    standIn.setArguments(
        {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--key"), QStringLiteral("demo")});
    standIn.start();
    ASSERT_TRUE(standIn.waitForStarted(5000)) << standIn.errorString().toStdString();
    // It says where it listens once it does: a free port of 127.0.0.1.
    ASSERT_TRUE(waitFor([&standIn] { return standIn.canReadLine(); }, 5000));
    const QString line = QString::fromUtf8(standIn.readLine()).trimmed();
    const QRegularExpressionMatch listening =
        QRegularExpression(QStringLiteral("^webdistance: listening on 127\\.0\\.0\\.1:(\\d+)$")).match(line);
    ASSERT_TRUE(listening.hasMatch()) << line.toStdString();

    SettingsStore settings;
    const QString group = SettingsStore::kServerGroup;
    settings.setValue(group, SettingKeys::kWebDistanceScheme, QStringLiteral("http"));
    settings.setValue(group, SettingKeys::kWebDistanceHost, QStringLiteral("127.0.0.1"));
    settings.setValue(group, SettingKeys::kWebDistancePort, listening.captured(1));
    settings.setValue(group, SettingKeys::kWebDistancePath, QStringLiteral("/maps/api/distancematrix/xml"));
    settings.setValue(group, SettingKeys::kWebDistanceApiKey, QStringLiteral("demo"));
    settings.setValue(group, SettingKeys::kWebDistanceTimeout, QStringLiteral("3000"));
    settings.setValue(SettingsStore::kUserGroup, SettingKeys::kMyCity, QStringLiteral("Ясногород"));
    WebDistanceClient client(settings);
    QList<WebDistanceResult> results;
    QStringList failures;
    QObject::connect(&client, &WebDistanceClient::resultReady, &client,
                     [&results](const WebDistanceResult& result) { results.append(result); });
    QObject::connect(&client, &WebDistanceClient::failed, &client,
                     [&failures](const QString& message) { failures.append(message); });
    auto ask = [&](const WebDistancePlaces& places) {
        results.clear();
        failures.clear();
        client.calculate(places);
        return waitFor([&] { return !results.isEmpty() || !failures.isEmpty(); }, 5000) && failures.isEmpty();
    };

    // A street of the own city to a village: out of town, the Cyrillic places read back.
    const WebDistancePlaces toVillage{QStringLiteral("вул. Соборна"), QStringLiteral("5"), true,
                                      QStringLiteral("Гірники"),      QString(),           false};
    ASSERT_TRUE(ask(toVillage)) << failures.join(QLatin1Char('|')).toStdString();
    ASSERT_TRUE(results[0].success) << results[0].errorName.toStdString();
    EXPECT_EQ(results[0].originAddress, QStringLiteral("Ясногород вул. Соборна 5, Україна"));
    EXPECT_EQ(results[0].destinationAddress, QStringLiteral("Гірники, Україна"));
    const QString kilometres = results[0].kilometres;
    bool ok = false;
    const double km = QString(kilometres).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    ASSERT_TRUE(ok) << kilometres.toStdString();
    EXPECT_GE(km, 8.0);
    EXPECT_LE(km, 60.0);
    EXPECT_EQ(results[0].outOfTown, km > 15.0);

    // The same two places the other way round: the same distance.
    ASSERT_TRUE(ask({QStringLiteral("Гірники"), QString(), false, QStringLiteral("вул. Соборна"),
                     QStringLiteral("5"), true}));
    ASSERT_TRUE(results[0].success);
    EXPECT_EQ(results[0].kilometres, kilometres);

    // Two streets of the town: a short trip in town.
    ASSERT_TRUE(ask({QStringLiteral("вул. Соборна"), QStringLiteral("5"), true, QStringLiteral("вул. Садова"),
                     QStringLiteral("12"), true}));
    ASSERT_TRUE(results[0].success);
    const double inTown =
        QString(results[0].kilometres).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    EXPECT_GT(inTown, 1.0);
    EXPECT_LT(inTown, 10.0);
    EXPECT_FALSE(results[0].outOfTown);

    // Two villages are two towns, whatever stands before their names.
    ASSERT_TRUE(ask({QStringLiteral("с. Вербівка"), QString(), false, QStringLiteral("с. Гірка Полонка"),
                     QString(), false}));
    ASSERT_TRUE(results[0].success);
    EXPECT_GE(QString(results[0].kilometres).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(), 8.0);

    // A place that is no place is not found, and a wrong key is refused: error pages.
    ASSERT_TRUE(
        ask({QStringLiteral("123456789"), QString(), false, QStringLiteral("Гірники"), QString(), false}));
    EXPECT_FALSE(results[0].success);
    EXPECT_EQ(results[0].errorName, QStringLiteral("NOT_FOUND"));
    settings.setValue(group, SettingKeys::kWebDistanceApiKey, QStringLiteral("wrong"));
    ASSERT_TRUE(ask(toVillage));
    EXPECT_FALSE(results[0].success);
    EXPECT_EQ(results[0].errorName, QStringLiteral("REQUEST_DENIED"));

    standIn.terminate();
    EXPECT_TRUE(standIn.waitForFinished(5000));
}
