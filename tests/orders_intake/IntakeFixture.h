#pragma once

#include "dispatch/DispatchContext.h"
#include "platform/Clock.h"
#include "support/TestDatabase.h"
#include "support/TestWorkstation.h"

#include <gtest/gtest.h>
#include <memory>

// A workstation connected to a fresh database (one per suite, emptied before each
// test), with a dispatch context on a clock that stands still and the firm's settings
// the order form reads.
class IntakeFixture : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    qint64 addClient(const QString& code, const QString& name, const QString& telephones = {},
                     const QString& balance = QStringLiteral("0"), int jubileeTrips = 0);
    void addTariff(const QString& name, const QString& boarding, const QString& kmInTown);
    void addMapPoint(qint64 number, const QString& label, int x = 10, int y = 10,
                     const QString& status = QStringLiteral("БУДИНОК"));
    qint64 count(const QString& sql) { return db->scalar(sql); }

    static inline TestDatabase* db = nullptr;
    FixedClock clock{QDateTime(QDate(2026, 3, 2), QTime(23, 50, 20))};
    std::unique_ptr<TestWorkstation> ws;
    std::unique_ptr<DispatchContext> ctx;
};
