#pragma once

#include "dispatch/DispatchContext.h"
#include "platform/Clock.h"
#include "support/TestDatabase.h"
#include "support/TestWorkstation.h"

#include <gtest/gtest.h>
#include <memory>

// A workstation connected to a fresh database, with a dispatch context on a set clock.
class DispatchFixture : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    static std::unique_ptr<DispatchContext> makeContext(TestWorkstation& ws, IClock& clock);

    void addCar(qint64 callsign, const QString& model = QStringLiteral("Ланос"));
    void putOnAir(qint64 callsign, const QString& name, const QString& place, const QString& key,
                  qint64 order = 0, const QString& model = QStringLiteral("Ланос"));
    qint64 addOrder(const QString& pickup, const QString& destination = {}, const QDateTime& due = {},
                    int status = 0, qint64 callsign = 0, const QString& free = QStringLiteral("HI"));
    qint64 count(const QString& sql) { return db->scalar(sql); }

    static TestDatabase* db;
    FixedClock clock{QDateTime(QDate(2026, 3, 2), QTime(12, 0, 0))};
    std::unique_ptr<TestWorkstation> ws;
    std::unique_ptr<DispatchContext> ctx;
};
