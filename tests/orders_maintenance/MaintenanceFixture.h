#pragma once

#include "dispatch/DispatchContext.h"
#include "orders/maintenance/OpenOrderMaintenance.h"
#include "platform/Clock.h"
#include "support/TestDatabase.h"
#include "support/TestWorkstation.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

// An open order as another workstation left it, due twenty minutes ago.
struct OpenOrderRow
{
    qint64 client = 0;
    qint64 callsign = 0;
    QString driver{};
    QString free = QStringLiteral("HI");
    QDateTime plannedEnd{};
};

// A workstation on a fresh database, a dispatch context on a set clock, and the rows
// the maintenance commands work on.
class MaintenanceFixture : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;
    static std::unique_ptr<DispatchContext> makeContext(TestWorkstation& ws, IClock& clock);

    qint64 addOrder(const OpenOrderRow& row);
    void putOnAir(qint64 callsign, const QString& name, const QString& place, const QString& key,
                  qint64 order = 0, const QString& model = QStringLiteral("Ланос"));
    // VODII, the car with 10 rides and the GPRS refresh row of a driver.
    void addDriver(qint64 callsign, const QString& name);
    void addClient(qint64 code, int rides, int freeRides);
    // The driver carries the order and stands at its destination.
    qint64 addAssignedOrder(qint64 callsign, const QString& name, OpenOrderRow row = {});

    OrderMaintenanceRequest header(qint64 order);
    OpenOrderMaintenance page(qint64 order) { return OpenOrderMaintenance(*ctx, header(order)); }
    qint64 count(const QString& sql) { return db->scalar(sql); }
    QVariant value(const QString& sql) { return db->exec(sql).rows.at(0).at(0); }
    QString driverColumn(qint64 callsign, const char* column);
    // The tables an operation may write, whose rows the no-trace check compares.
    virtual QStringList watchedTables() const;
    QString snapshot();
    // The operation fails on the refused update, says why, and leaves nothing behind.
    void expectNoTrace(const QString& table, const QString& condition,
                       const std::function<bool()>& operation);
    // A trigger that refuses the table's updates whose NEW row meets the condition.
    void refuseUpdatesOf(const QString& table, const QString& condition);
    void allowUpdates();

    static TestDatabase* db;
    FixedClock clock{QDateTime(QDate(2026, 3, 2), QTime(12, 0, 0))};
    std::unique_ptr<TestWorkstation> ws;
    std::unique_ptr<DispatchContext> ctx;
};
