#include "dispatch/DispatchContext.h"
#include "foundation/SqlLiteral.h"
#include "mainwindow/HotOrderDetails.h"
#include "mainwindow/ListColours.h"
#include "mainwindow/OrderPanels.h"
#include "mainwindow/SecondTimer.h"
#include "mainwindow/StandCell.h"
#include "platform/Clock.h"
#include "support/DatabaseSuite.h"
#include "support/TestWorkstation.h"

TEST(MainWindowRules, MinuteJobsRunEverySixtyTicksAndAgainAfterTheWrap)
{
    QList<int> minutes;
    SecondTimer* self = nullptr;
    SecondTimer::Jobs jobs;
    jobs.autoResetMarks = [] { return true; };
    jobs.resetMarks = [&] { minutes << self->counter(); };
    SecondTimer timer(jobs);
    self = &timer;
    for (int tick = 0; tick < 661; ++tick)
        timer.tick();
    EXPECT_EQ(minutes, QList<int>({60, 120, 180, 240, 300, 360, 420, 480, 540, 600, 60}));

    bool linkUp = false;
    int clockShown = 0;
    SecondTimer::Jobs lost;
    lost.checkDatabaseLink = [&] { return linkUp; };
    lost.showClock = [&] { ++clockShown; };
    SecondTimer ending(lost);
    ending.tick(); // the program is ending: nothing else runs
    EXPECT_EQ(clockShown, 0);
    linkUp = true;
    ending.tick();
    EXPECT_EQ(clockShown, 1);
}

// A job's dialog runs an event loop that keeps ticking; here the job itself ticks, as
// that loop would.
TEST(MainWindowRules, ATickWhileAJobsDialogIsOpenSkipsThatJobOnly)
{
    SecondTimer* self = nullptr;
    int linkChecks = 0;
    int clockShown = 0;
    int resets = 0;
    SecondTimer::Jobs jobs;
    jobs.checkDatabaseLink = [&] {
        ++linkChecks;
        for (int i = 0; i < 3; ++i)
            self->tick(); // the lost-link box is open for three seconds
        return false;
    };
    jobs.showClock = [&] { ++clockShown; };
    SecondTimer timer(jobs);
    self = &timer;
    EXPECT_FALSE(timer.tick());
    EXPECT_EQ(linkChecks, 1);
    EXPECT_EQ(clockShown, 3); // the clock went on under the box
    EXPECT_EQ(timer.counter(), 3);

    SecondTimer::Jobs minuteJobs;
    minuteJobs.autoResetMarks = [] { return true; };
    minuteJobs.resetMarks = [&] {
        ++resets;
        for (int i = 0; i < 120; ++i) // a box of the reset stays open past the next minute
            self->tick();
    };
    SecondTimer minutes(minuteJobs);
    self = &minutes;
    for (int i = 0; i < 60; ++i)
        minutes.tick();
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(minutes.counter(), 180);
    for (int i = 0; i < 60; ++i)
        minutes.tick();
    EXPECT_EQ(resets, 2); // once the box is closed the job runs at its next minute
}

TEST(MainWindowRules, RecordPanelsAndTheirStatus)
{
    EXPECT_EQ(OrderPanels::panelCount(319), 1);
    EXPECT_EQ(OrderPanels::panelCount(320), 2);
    EXPECT_EQ(OrderPanels::panelCount(-5), 0);
    const QDateTime now(QDate(2026, 12, 8), QTime(12, 0));
    using OrderPanels::Status;
    EXPECT_EQ(OrderPanels::status(7, now.addSecs(3600), 30, now), Status::Carried);
    EXPECT_EQ(OrderPanels::status(0, now.addSecs(30 * 60), 30, now), Status::Due); // exactly at the lead
    EXPECT_EQ(OrderPanels::status(0, now.addSecs(30 * 60 + 1), 30, now), Status::Preliminary);
    EXPECT_EQ(OrderPanels::caption(Status::Due), QStringLiteral("!"));
    EXPECT_EQ(OrderPanels::caption(Status::Preliminary), QStringLiteral("?"));
}

TEST(MainWindowRules, GprsActionsAreColouredByTheirExactText)
{
    EXPECT_EQ(ListColours::gprsAction(QStringLiteral("ТРИВОГА ВІД ВОДІЯ")), ListColours::kRed);
    EXPECT_EQ(ListColours::gprsAction(QStringLiteral("Прохання турбувати клієнтів")), ListColours::kLime);
    EXPECT_EQ(ListColours::gprsAction(QStringLiteral("Відмова від замовлення")), ListColours::kYellow);
    EXPECT_FALSE(ListColours::gprsAction(QStringLiteral("Відмова від замовлення ")).has_value());
}

TEST(MainWindowRules, HotOrderDescriptionParts)
{
    const QString description = QStringLiteral("{швидке}   тел.:[0501112233] тариф:[Місто]  (з дитиною) ");
    EXPECT_EQ(HotOrderDetails::tariffOf(description), QStringLiteral("Місто"));
    EXPECT_EQ(HotOrderDetails::notesOf(description), QStringLiteral("з дитиною"));
    EXPECT_EQ(HotOrderDetails::tariffOf(QStringLiteral("без тарифу")), QString());
    EXPECT_EQ(HotOrderDetails::numberOfLine(QStringLiteral("105  -> {HI} [Лесі]{2}")), 105);
    EXPECT_FALSE(HotOrderDetails::numberOfLine(QStringLiteral("  -> {HI}")).has_value());
}

class StandGridCells : public DatabaseSuite
{
};

TEST_F(StandGridCells, TheQueueWithFlagsAndTheDistance)
{
    TestWorkstation ws(db->serverSettings());
    ASSERT_TRUE(ws.connect());
    FixedClock clock;
    ws.useMap(2.0);
    DispatchContext ctx{*ws.dani, ws.store, ws.prompts, clock, *ws.map, {}, {}};
    for (const char* row :
         {"(12, 'Вокзал', '0001', '{GPRS}Ланос', '02.03.2026 10:00:00')",
          "(15, 'Вокзал', '0002', 'Ланос', NULL)", "(7, 'Вокзал', '0003', 'Ланос {GPRS}', NULL)",
          "(8, '[]{}', '0001', 'Ланос', NULL)", "(9, 'Ринок', '0004', 'Ланос', NULL)",
          "(4, 'Ринок', '0004', 'Ланос', NULL)"})
        db->exec(QStringLiteral(
                     "INSERT INTO ZADIANI_AVTO (ZAD_AVTO_POZIVNIY, ZAD_AVTO_VULICA, ZAD_AVTO_CHAS_ZAMOVL, "
                     "ZAD_AVTO_MARKA_AVTO, ZAD_AVTO_YUVILEYKA) VALUES ") +
                 QString::fromUtf8(row));
    db->exec(QStringLiteral(
        "INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PIDPIS, KOORD_KART_MISTA_X, "
        "KOORD_KART_MISTA_Y) VALUES (1, 'Вокзал', 100, 100)"));
    db->exec(QStringLiteral(
        "INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PIDPIS, KOORD_KART_MISTA_X, "
        "KOORD_KART_MISTA_Y) VALUES (2, '[Лесі]{2}', 100, 525)"));
    EXPECT_EQ(StandCellText(ctx, QStringLiteral("Вокзал"), {true, true, {}}),
              QStringLiteral("Вокзал  <[12 G+]> [15] [7 G]"));
    EXPECT_EQ(StandCellText(ctx, QStringLiteral("Вокзал"), {false, false, {}}),
              QStringLiteral("Вокзал  <[12]> [15] [7]"));
    EXPECT_EQ(StandCellText(ctx, QStringLiteral("Вокзал"), {false, false, QStringLiteral("[Лесі]{2} кв. 7")}),
              QStringLiteral("850 м.  Вокзал  <[12]> [15] [7]"));
    // The zero stand never gets a distance.
    EXPECT_EQ(StandCellText(ctx, QStringLiteral("[]{}"), {false, false, QStringLiteral("[Лесі]{2}")}),
              QStringLiteral("[]{}  <[8]>"));
    // All stands from one read: each keeps its own queue, equal keys go by callsign as the
    // head of the queue does, a stand without a map point shows no distance, and a stand
    // without free drivers shows none.
    const ::StandCells cells(ctx, {false, false, QStringLiteral("[Лесі]{2}")});
    EXPECT_EQ(cells.text(QStringLiteral("Вокзал")), QStringLiteral("850 м.  Вокзал  <[12]> [15] [7]"));
    EXPECT_EQ(cells.text(QStringLiteral("Ринок")), QStringLiteral("Ринок  <[4]> [9]"));
    EXPECT_EQ(cells.text(QStringLiteral("Порт")), QStringLiteral("Порт  "));
}
