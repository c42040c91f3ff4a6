#include "DispatchFixture.h"

#include "dispatch/HotOrders.h"
#include "dispatch/ListRefresh.h"
#include "dispatch/OrderCounters.h"
#include "dispatch/WorkstationChecks.h"
#include "foundation/SettingKeys.h"
#include "foundation/SqlLiteral.h"
#include "platform/ProgramExit.h"

class Lists : public DispatchFixture
{
protected:
    void SetUp() override
    {
        DispatchFixture::SetUp();
        ws->store.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kPreliminaryLead,
                           QStringLiteral("30"));
        ws->store.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kHotOrderDelay, QStringLiteral("5"));
    }
    void addClosed(int number, int status, const QString& date, const QString& time)
    {
        db->exec(
            QStringLiteral("INSERT INTO CLOSEZAMOVLENNIA (CZ_NUMBER, CZ_STATUS_ZAMOVL, CZ_DATA_PRIYOMA, "
                           "CZ_CHAS_PRIYOMA) "
                           "VALUES (%1, %2, %3, %4)")
                .arg(QString::number(number), QString::number(status), sql::text(date), sql::text(time)));
    }
    QList<int> executedNumbers(const QString& rollCall)
    {
        ws->store.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kRollCall, rollCall);
        ws->view.state.mainPage = 1;
        ws->view.state.from = QDate(2026, 3, 1);
        ws->view.state.to = QDate(2026, 3, 2);
        ws->dani->TABL_VIKON_ZAMOVL.close();
        RefreshLists(*ctx);
        while (ws->dani->TABL_VIKON_ZAMOVL.canFetchMore())
            ws->dani->TABL_VIKON_ZAMOVL.fetchMore();
        QList<int> numbers;
        for (int row = 1; row <= ws->dani->TABL_VIKON_ZAMOVL.recordCount(); ++row)
            numbers << ws->dani->TABL_VIKON_ZAMOVL.valueAt(row, QStringLiteral("CZ_NUMBER")).toInt();
        return numbers;
    }
};

TEST_F(Lists, WorkingDayRunsFromRollCallToRollCallComparedByTheMinute)
{
    addClosed(1, 1, QStringLiteral("01.03.2026"), QStringLiteral("07:59:59"));
    addClosed(2, 1, QStringLiteral("01.03.2026"),
              QStringLiteral("08:00:30")); // minute 08:00 is the roll call
    addClosed(3, 1, QStringLiteral("01.03.2026"), QStringLiteral("08:01:00"));
    addClosed(4, 1, QStringLiteral("02.03.2026"), QStringLiteral("08:00:59"));
    addClosed(5, 1, QStringLiteral("02.03.2026"), QStringLiteral("08:01:00"));
    addClosed(6, -1, QStringLiteral("01.03.2026"), QStringLiteral("12:00:00"));
    addClosed(7, 1, QStringLiteral("28.02.2026"), QStringLiteral("12:00:00"));
    EXPECT_EQ(executedNumbers(QStringLiteral("08:00")), QList<int>({3, 4}));
    EXPECT_EQ(ws->view.executedCount, 2);
    EXPECT_EQ(executedNumbers(QStringLiteral("00:00")), QList<int>({1, 2, 3, 4, 5}));
    EXPECT_EQ(executedNumbers(QStringLiteral("23:59")), QList<int>({4, 5}));
}

TEST_F(Lists, WorkingDayCutCopesWithAnyNumberOfOrders)
{
    db->exec(QStringLiteral(
        "EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < 4000) DO BEGIN "
        "INSERT INTO CLOSEZAMOVLENNIA (CZ_NUMBER, CZ_STATUS_ZAMOVL, CZ_DATA_PRIYOMA, CZ_CHAS_PRIYOMA) "
        "VALUES (:I + 100, 1, IIF(MOD(:I, 2) = 0, '01.03.2026', '02.03.2026'), IIF(MOD(:I, 4) < 2, '06:00', "
        "'10:00')); "
        "I = I + 1; END END"));
    // Of each day half fall on the wrong side of the roll call at 08:00.
    EXPECT_EQ(executedNumbers(QStringLiteral("08:00")).size(), 2000);
    EXPECT_TRUE(ws->prompts.messages().isEmpty());
}

TEST_F(Lists, ExecutedOrdersShowTheirFirstRowsAtOnceWithTheWholeCountAndTheirRememberedRow)
{
    const int orders = 2 * FbDataSet::kRowsPerFetch + 50;
    db->exec(QStringLiteral("EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= %1) DO BEGIN "
                            "INSERT INTO CLOSEZAMOVLENNIA (CZ_NUMBER, CZ_STATUS_ZAMOVL, CZ_DATA_PRIYOMA, "
                            "CZ_CHAS_PRIYOMA) VALUES (:I, 1, '01.03.2026', '12:00'); I = I + 1; END END")
                 .arg(orders));
    ws->view.state.mainPage = 1;
    ws->view.state.from = QDate(2026, 3, 1);
    ws->view.state.to = QDate(2026, 3, 2);
    FbDataSet& executed = ws->dani->TABL_VIKON_ZAMOVL;
    executed.close();
    RefreshLists(*ctx);
    EXPECT_EQ(executed.recordCount(), FbDataSet::kRowsPerFetch);
    EXPECT_EQ(ws->view.executedCount, orders); // the count is of the whole period
    const int row = FbDataSet::kRowsPerFetch + 100;
    executed.moveTo(row);
    ASSERT_EQ(executed.value(QStringLiteral("CZ_NUMBER")).toInt(), row);
    executed.close();
    RefreshLists(*ctx);
    EXPECT_EQ(executed.recNo(), row);
    EXPECT_EQ(executed.value(QStringLiteral("CZ_NUMBER")).toInt(), row);
    executed.last();
    EXPECT_EQ(executed.value(QStringLiteral("CZ_NUMBER")).toInt(), orders);
    EXPECT_TRUE(ws->prompts.messages().isEmpty());
}

TEST_F(Lists, RefreshOpensOnlyClosedListsAtTheirRememberedRows)
{
    for (int i = 0; i < 4; ++i)
        putOnAir(10 + i, QStringLiteral("В"), QStringLiteral("Вокзал"), QStringLiteral("000%1").arg(i + 1));
    addOrder(QStringLiteral("[Лесі]{1}"));
    addOrder(QStringLiteral("[Лесі]{2}"), {}, {}, 0, 10);
    RefreshLists(*ctx);
    FbDataSet& drivers = ws->dani->TABL_ZADIANI_AVTO;
    ASSERT_EQ(drivers.recordCount(), 4);
    drivers.moveTo(3);
    putOnAir(20, QStringLiteral("Г"), QStringLiteral("Ринок"), QStringLiteral("0001"));
    RefreshLists(*ctx); // open lists are not touched
    EXPECT_EQ(drivers.recordCount(), 4);
    drivers.close();
    ws->dani->TABLE_ZADIANI_AVTO_GROUP.close();
    RefreshLists(*ctx);
    EXPECT_EQ(drivers.recordCount(), 5);
    EXPECT_EQ(drivers.recNo(), 3);
    EXPECT_EQ(ws->dani->TABLE_ZADIANI_AVTO_GROUP.recordCount(), 2);

    ws->view.state.onlyToHandOut = true;
    ws->dani->TABL_AKTIV_ZAMOVL.close();
    RefreshLists(*ctx);
    EXPECT_EQ(ws->dani->TABL_AKTIV_ZAMOVL.recordCount(), 1);
    ws->view.state.onlyCarried = true; // both on: every open order
    ws->dani->TABL_AKTIV_ZAMOVL.close();
    RefreshLists(*ctx);
    EXPECT_EQ(ws->dani->TABL_AKTIV_ZAMOVL.recordCount(), 2);
}

TEST_F(Lists, CountersAndTheHotListAroundTheLeadAndTheDelay)
{
    const QDateTime now = clock.now(); // 12:00, lead 30 minutes, delay 5
    addOrder(QStringLiteral("в роботі"), {}, now, 0, 7);
    addOrder(QStringLiteral("прострочене"), {}, now.addSecs(-6 * 60));
    addOrder(QStringLiteral("свіже"), {}, now.addSecs(-4 * 60), 0, 0, QStringLiteral("TAK"));
    addOrder(QStringLiteral("в межах"), {}, now.addSecs(29 * 60));
    addOrder(QStringLiteral("на межі"), {}, now.addSecs(30 * 60));
    addOrder(QStringLiteral("попереднє"), {}, now.addSecs(31 * 60));
    RefreshOrderCounters(*ctx);
    EXPECT_EQ(ws->view.orderCounters[0], 1);
    EXPECT_EQ(ws->view.orderCounters[1], 3); // the order exactly at the limit is in neither
    EXPECT_EQ(ws->view.orderCounters[2], 1);

    const auto lines = ListHotOrders(*ctx);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].text.endsWith(QStringLiteral("  -> !!! {HI} прострочене")));
    EXPECT_EQ(lines[0].rgb, 0xFF0000u);
    EXPECT_TRUE(lines[1].text.endsWith(QStringLiteral("  -> {TAK} свіже")));
    EXPECT_EQ(lines[1].rgb, 0xFFFFFFu);
    EXPECT_TRUE(lines[3].text.endsWith(QStringLiteral("на межі")));

    ws->view.hotSelected = 2;
    ListHotOrders(*ctx);
    EXPECT_EQ(ws->view.hotSelected, 2);
    ws->view.hotSelected = 0; // the first line is not reselected
    ListHotOrders(*ctx);
    EXPECT_EQ(ws->view.hotSelected, -1);
}

TEST_F(Lists, ALostLinkEndsTheProgramWithItsMessageOnce)
{
    RecordedExit exit;
    EXPECT_TRUE(CheckDatabaseLink(*ctx, exit));
    const qint64 mine = db->scalar(
        QStringLiteral("SELECT MAX(MON$ATTACHMENT_ID) FROM MON$ATTACHMENTS")); // the newest is ours
    ws->dani->RIZNE.exec(QStringLiteral("SELECT 1 FROM RDB$DATABASE"));
    db->exec(QStringLiteral("DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = %1").arg(mine));
    EXPECT_FALSE(CheckDatabaseLink(*ctx, exit));
    EXPECT_EQ(exit.count(), 1);
    EXPECT_EQ(exit.code(), 1);
    EXPECT_EQ(ws->prompts.messages().size(), 1);
    EXPECT_TRUE(ws->prompts.messages()[0].startsWith(QStringLiteral("Немає звязку з базою даних")));
    EXPECT_FALSE(ws->dani->TRANZ_RIZNE.isActive());
    // The link is given up: later checks (ticks while the box is open) stay silent.
    EXPECT_FALSE(ws->dani->BAZA.isConnected());
    EXPECT_TRUE(CheckDatabaseLink(*ctx, exit));
    EXPECT_EQ(exit.count(), 1);
    EXPECT_EQ(ws->prompts.messages().size(), 1);
}

namespace {
struct CountingWriter : IWorkLogWriter
{
    int records = 0;
    void writeAnalysisRecord() override { ++records; }
};
} // namespace

TEST_F(Lists, AnalysisRunsAtTheScheduledMinutesOnly)
{
    ws->store.setValue(SettingsStore::kAnalysisGroup, SettingKeys::kAnalysisSchedule,
                       QStringLiteral("08:00\n12:00"));
    CountingWriter writer;
    EXPECT_TRUE(CheckAnalysisSchedule(*ctx, writer));
    clock.set(QDateTime(QDate(2026, 3, 2), QTime(8, 1)));
    EXPECT_FALSE(CheckAnalysisSchedule(*ctx, writer));
    EXPECT_EQ(writer.records, 1);
}
