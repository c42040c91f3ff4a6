#pragma once

#include "dispatch/DispatchContext.h"
#include "fleet/CarCard.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompts.h"
#include "support/MeddlingPrompts.h"
#include "support/TestDatabase.h"
#include "support/TestWorkstation.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

// A fresh database with stands "Вокзал", "Ринок" and "Центр" in the tick list, a car
// card over a workstation without a city map, and a set clock.
class CarCardFixture : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    void addCar(qint64 callsign, const QString& driver, qint64 driverNumber);
    void putOnAir(qint64 callsign, const QString& name, const QString& stand, const QString& key,
                  const QString& model = QStringLiteral("Ланос"));
    void addStandPoint(const QString& name);
    // The rows of a callsign as "stand key", ordered by stand.
    QStringList placesOf(qint64 callsign);
    QString keyOf(qint64 callsign, const QString& stand);
    int tickIndex(const QString& text) const;
    void tick(const QString& text, bool on = true);
    qint64 count(const QString& sql) { return db->scalar(sql); }

    static TestDatabase* db;
    FixedClock clock{QDateTime(QDate(2026, 3, 2), QTime(12, 0, 0))};
    std::unique_ptr<TestWorkstation> ws;
    MeddlingPrompts prompts;
    std::unique_ptr<DispatchContext> ctx;
    std::unique_ptr<CarCard> card;
};
