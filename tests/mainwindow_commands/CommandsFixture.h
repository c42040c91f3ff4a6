#pragma once

#include "dispatch/DispatchContext.h"
#include "platform/Clock.h"
#include "support/MeddlingPrompts.h"
#include "support/TestDatabase.h"
#include "support/TestWorkstation.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

// A workstation on a fresh database with a dispatcher on shift and a set clock.
class CommandsFixture : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    void addCar(qint64 callsign, qint64 driverNumber);
    void addDriver(qint64 number, const QString& name);
    void putOnAir(qint64 callsign, const QString& name, const QString& stand, const QString& key,
                  qint64 order = 0, const QString& model = QStringLiteral("Ланос"));
    bool onAir(qint64 callsign);
    // Opens the lists as the refresh would and puts the drivers list on a callsign.
    void openLists();
    void selectDriver(qint64 callsign);
    void selectStand(const QString& stand);

    static TestDatabase* db;
    FixedClock clock{QDateTime(QDate(2026, 3, 2), QTime(12, 0, 0))};
    std::unique_ptr<TestWorkstation> ws;
    MeddlingPrompts prompts;
    std::unique_ptr<DispatchContext> ctx;
};
