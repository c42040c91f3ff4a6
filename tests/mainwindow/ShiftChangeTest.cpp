#include "citymap/CityMapData.h"
#include "dispatch/DispatchContext.h"
#include "foundation/SettingKeys.h"
#include "mainwindow/ShiftChangeController.h"
#include "orders/intake/SoftphoneLine.h"
#include "platform/BaseFolder.h"
#include "platform/Clock.h"
#include "support/DatabaseSuite.h"
#include "support/TestDatabase.h"
#include "support/TestWorkstation.h"

#include "mainwindow/ui/TForm3.h"

#include <QFile>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <utility>

namespace {

class RecordingLine : public ISoftphoneLine
{
public:
    bool connected = true;
    QStringList calls;
    std::function<void()> whenDisconnected; // what else happens right after the password check
    bool isConnected() const override { return connected; }
    bool disconnect() override
    {
        calls << QStringLiteral("disconnect");
        connected = false;
        if (whenDisconnected)
            whenDisconnected();
        return true;
    }
    bool configureFor(const QString& dispatcher) override
    {
        calls << QStringLiteral("configure ") + dispatcher;
        connected = true;
        return true;
    }
};

} // namespace

TEST(ShiftChangeRules, RollCallIsNormalisedToHoursAndMinutes)
{
    EXPECT_EQ(ShiftChangeController::normaliseRollCall(QStringLiteral("5")), QStringLiteral("00:05"));
    EXPECT_EQ(ShiftChangeController::normaliseRollCall(QStringLiteral("30")), QStringLiteral("00:30"));
    EXPECT_EQ(ShiftChangeController::normaliseRollCall(QStringLiteral("930")), QStringLiteral("09:30"));
    EXPECT_EQ(ShiftChangeController::normaliseRollCall(QStringLiteral("1930")), QStringLiteral("19:30"));
    EXPECT_EQ(ShiftChangeController::normaliseRollCall(QStringLiteral("19:30")), QStringLiteral("19:30"));
}

TEST(ShiftChangeRules, ThePeriodRunsFromTheLastRollCall)
{
    const QDate today(2026, 12, 8);
    const ShiftPeriod morning =
        ShiftChangeController::periodFor(QDateTime(today, QTime(8, 0)), QStringLiteral("19:30"));
    EXPECT_EQ(morning.from, today.addDays(-1));
    EXPECT_EQ(morning.to, today);
    const ShiftPeriod evening =
        ShiftChangeController::periodFor(QDateTime(today, QTime(20, 0)), QStringLiteral("19:30"));
    EXPECT_EQ(evening.from, today);
    EXPECT_EQ(evening.to, today.addDays(1));
    const ShiftPeriod atRollCall =
        ShiftChangeController::periodFor(QDateTime(today, QTime(19, 30)), QStringLiteral("19:30"));
    EXPECT_EQ(atRollCall.from, today.addDays(-1)); // not later than the roll call yet
}

class ShiftChange : public DatabaseSuite
{
protected:
    void SetUp() override
    {
        BaseFolder::overrideForTests(folder.path());
        for (const char* table : {"PRACIVNIK", "DANI_FIRMI", "SET_TARIFI", "DYA_VODIY_GPRS"})
            db->exec(QStringLiteral("DELETE FROM ") + QLatin1String(table));
        db->exec(QStringLiteral(
            "INSERT INTO PRACIVNIK (TABLE_PRACIV_NOMER, TABLE_PRACIV_FIO, TABLE_PRACIV_PASSWORD, "
            "TABLE_PRACIV_DOST_ADMIN, TABLE_PRACIV_DOST_PRIYOM, TABLE_PRACIV_DOST_ROZD, "
            "TABLE_PRACIV_DOST_KARTA, "
            "TABLE_PRACIV_DOST_TARIF, TABLE_PRACIV_DOST_ZAMOVL) VALUES (1, 'Мар''яна', 'па''роль', 1, 1, 1, "
            "0, 1, 1)"));
        db->exec(QStringLiteral(
            "INSERT INTO PRACIVNIK (TABLE_PRACIV_NOMER, TABLE_PRACIV_FIO, TABLE_PRACIV_PASSWORD, "
            "TABLE_PRACIV_DOST_ADMIN, TABLE_PRACIV_DOST_PRIYOM, TABLE_PRACIV_DOST_ROZD, "
            "TABLE_PRACIV_DOST_KARTA, "
            "TABLE_PRACIV_DOST_TARIF, TABLE_PRACIV_DOST_ZAMOVL) VALUES (2, 'Архів', '2', 0, 0, 0, 0, 0, 1)"));
        db->exec(QStringLiteral(
            "INSERT INTO PRACIVNIK (TABLE_PRACIV_NOMER, TABLE_PRACIV_FIO, TABLE_PRACIV_PASSWORD, "
            "TABLE_PRACIV_DOST_ADMIN, TABLE_PRACIV_DOST_PRIYOM, TABLE_PRACIV_DOST_ROZD, "
            "TABLE_PRACIV_DOST_KARTA, "
            "TABLE_PRACIV_DOST_TARIF, TABLE_PRACIV_DOST_ZAMOVL) VALUES (3, 'Без прав', '3', 0, 0, 0, 0, 0, "
            "0)"));
        db->exec(QStringLiteral("INSERT INTO DANI_FIRMI (FIRMA_SERED_SHVIDKIST, FIRMA_ZA_CHAS_POPERED_ZAMOV, "
                                "FIRMA_CHAS_DLIA_PEREZM_AVTO) "
                                "VALUES (40, 30, '930')"));
        db->exec(QStringLiteral(
            "INSERT INTO SET_TARIFI (SET_TARIF_NOMER, SET_TARIF_NAME) VALUES (1, '[SET_DISPETCHER]')"));
        db->exec(QStringLiteral(
            "INSERT INTO SET_TARIFI (SET_TARIF_NOMER, SET_TARIF_NAME) VALUES (2, 'PROZVON_KLIENT=7')"));
        db->exec(QStringLiteral(
            "INSERT INTO DYA_VODIY_GPRS (DYA_VODIY_GPRS_NP, DYA_VODIY_GPRS_DYA) VALUES (17, 'На місці')"));
        ws = std::make_unique<TestWorkstation>(db->serverSettings());
        ASSERT_TRUE(ws->connect());
        ctx = std::make_unique<DispatchContext>(DispatchContext{
            *ws->dani, ws->store, ws->prompts, clock, *ws->map, QStringLiteral("Попередня"), {}});
        controller = std::make_unique<ShiftChangeController>(*ctx, *ws->map, line);
    }
    // The workstation's attachment as a lost network leaves it: every statement fails.
    std::function<void()> killTheAttachment()
    {
        const qint64 mine =
            ws->dani->RIZNE.exec(QStringLiteral("SELECT CURRENT_CONNECTION FROM RDB$DATABASE"))
                .rows[0][0]
                .toLongLong();
        ws->dani->TRANZ_RIZNE.commit();
        return [mine] {
            db->exec(QStringLiteral("DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = %1").arg(mine));
        };
    }
    // The shift before: a map in use, a GPRS bound, district tables.
    void previousShift()
    {
        ws->useMap(2.0);
        ws->dani->gprsLowerBound = 17;
        ctx->regions.streets.push_back({QStringLiteral("Ковельська"), QStringLiteral("Вокзал")});
        ws->store.setValue(SettingsStore::kUserGroup, QStringLiteral("TABLE_PRACIV_FIO"),
                           QStringLiteral("Попередня"));
        ws->store.setFlag(SettingsStore::kUserGroup, QStringLiteral("TABLE_PRACIV_DOST_ROZD"), true);
    }
    void TearDown() override
    {
        controller.reset();
        ctx.reset();
        ws.reset();
        BaseFolder::overrideForTests({});
    }

    QTemporaryDir folder;
    FixedClock clock{QDateTime(QDate(2026, 12, 8), QTime(10, 0))};
    RecordingLine line;
    std::unique_ptr<TestWorkstation> ws;
    std::unique_ptr<DispatchContext> ctx;
    std::unique_ptr<ShiftChangeController> controller;
};

TEST_F(ShiftChange, OnlyDispatchersWithARightAreOffered)
{
    EXPECT_EQ(controller->dispatcherNames(),
              QStringList({QStringLiteral("Архів"), QStringLiteral("Мар'яна")}));
}

TEST_F(ShiftChange, AWrongPasswordChangesNothingAndKeepsTheLineOnShift)
{
    ws->dani->gprsLowerBound = 17;
    for (const QString& typed : {QStringLiteral("пароль"), QStringLiteral("' OR '1'='1"), QString()}) {
        const auto outcome = controller->logIn(QStringLiteral("Мар'яна"), typed);
        EXPECT_FALSE(outcome.loggedIn) << qPrintable(typed);
    }
    EXPECT_FALSE(controller->logIn(QStringLiteral("' OR '1'='1"), QStringLiteral("' OR '1'='1")).loggedIn);
    EXPECT_TRUE(ws->prompts.shown().isEmpty());
    EXPECT_TRUE(line.calls.isEmpty());
    EXPECT_EQ(ctx->currentDispatcher, QStringLiteral("Попередня"));
    EXPECT_EQ(ws->dani->gprsLowerBound, 17); // the dispatcher on shift still sees only his actions
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("TARIF.INI"))));
}

TEST_F(ShiftChange, APasswordThatCannotBeCheckedKeepsTheShiftAsItWas)
{
    previousShift();
    killTheAttachment()();
    const auto outcome = controller->logIn(QStringLiteral("Мар'яна"), QStringLiteral("па'роль"));
    EXPECT_FALSE(outcome.loggedIn);
    EXPECT_FALSE(outcome.loggedOut);
    EXPECT_EQ(ws->prompts.messages().size(), 1); // the database's reason
    EXPECT_TRUE(line.calls.isEmpty());
    EXPECT_EQ(ctx->currentDispatcher, QStringLiteral("Попередня"));
    EXPECT_TRUE(ws->map->MapSupported());
    EXPECT_EQ(ws->dani->gprsLowerBound, 17);
}

// The link goes after the password was accepted: the TARIF.INI and map reads fall back
// on what they can, but the district tables cannot be read either.
TEST_F(ShiftChange, ADatabaseErrorAfterThePasswordLeavesNobodyOnShift)
{
    previousShift();
    line.whenDisconnected = killTheAttachment();
    QSignalSpy progress(controller.get(), &ShiftChangeController::loadProgress);
    const auto outcome = controller->logIn(QStringLiteral("Мар'яна"), QStringLiteral("па'роль"));
    EXPECT_FALSE(outcome.loggedIn);
    EXPECT_TRUE(outcome.loggedOut);
    EXPECT_FALSE(outcome.rights.handOut); // nothing is granted
    EXPECT_TRUE(ctx->currentDispatcher.isEmpty());
    EXPECT_EQ(line.calls, QStringList{QStringLiteral("disconnect")}); // no line for a shift not begun
    ASSERT_FALSE(ws->prompts.messages().isEmpty());
    EXPECT_NE(
        ws->prompts.messages().last(),
        QStringLiteral("Процес закриття зєднання попереднього оператора IP телефонії пройшло успішно."));
    EXPECT_TRUE(ws->store.value(QStringLiteral("TABLE_PRACIV_FIO")).isEmpty());
    EXPECT_FALSE(ws->store.flag(QStringLiteral("TABLE_PRACIV_DOST_ROZD")));
    EXPECT_EQ(ws->view.messagesFormOpened, 0); // no map report for a shift that did not begin
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last(), (QList<QVariant>{0, 0})); // the gauge goes
    // Nothing of the previous shift's map stays in force.
    EXPECT_FALSE(ws->map->MapSupported());
    EXPECT_EQ(ws->map->lengthText(), QStringLiteral("0"));
    EXPECT_FALSE(ws->map->metres(100).has_value());
    EXPECT_TRUE(ctx->regions.streets.empty());
    EXPECT_EQ(ws->dani->gprsLowerBound, 0);
}

// The link goes once the company settings, TARIF.INI and the district tables were read,
// before the GPRS period: none of what was read comes into force.
TEST_F(ShiftChange, SettingsReadBeforeAFailureDoNotComeIntoForce)
{
    ws->store.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kPreliminaryLead, QStringLiteral("99"));
    std::function<void()> kill = killTheAttachment();
    QObject::connect(controller.get(), &ShiftChangeController::loadProgress, controller.get(), [&] {
        if (kill)
            std::exchange(kill, {})();
    });
    EXPECT_TRUE(controller->logIn(QStringLiteral("Мар'яна"), QStringLiteral("па'роль")).loggedOut);
    EXPECT_TRUE(QFile::exists(folder.filePath(QStringLiteral("TARIF.INI")))); // it was read
    EXPECT_EQ(ws->store.value(SettingKeys::kPreliminaryLead), QStringLiteral("99"));
    EXPECT_FALSE(ws->store.contains(SettingKeys::kHotOrderDelay));
    EXPECT_FALSE(ws->store.contains(SettingKeys::kRollCall));
}

TEST_F(ShiftChange, ALogInHandsTheWorkstationOver)
{
    const auto outcome = controller->logIn(QStringLiteral("Мар'яна"), QStringLiteral("па'роль"));
    ASSERT_TRUE(outcome.loggedIn);
    EXPECT_EQ(ctx->currentDispatcher, QStringLiteral("Мар'яна"));
    EXPECT_TRUE(outcome.rights.admin);
    EXPECT_TRUE(outcome.rights.handOut);
    EXPECT_FALSE(outcome.rights.maps);
    EXPECT_EQ(line.calls, QStringList({QStringLiteral("disconnect"), QStringLiteral("configure Мар'яна")}));
    EXPECT_EQ(
        ws->prompts.messages().first(),
        QStringLiteral("Процес закриття зєднання попереднього оператора IP телефонії пройшло успішно."));
    EXPECT_EQ(outcome.rollCallLabel, QStringLiteral("09:30"));
    ASSERT_TRUE(outcome.period.has_value());
    EXPECT_EQ(outcome.period->from, QDate(2026, 12, 8));
    EXPECT_EQ(ws->store.value(SettingKeys::kRollCall), QStringLiteral("09:30"));
    EXPECT_EQ(ws->store.value(SettingKeys::kPreliminaryLead), QStringLiteral("30"));
    EXPECT_EQ(ws->store.value(SettingKeys::kHotOrderDelay),
              QStringLiteral("7")); // from the regenerated TARIF.INI
    EXPECT_TRUE(QFile::exists(folder.filePath(QStringLiteral("TARIF.INI"))));
    EXPECT_EQ(ws->dani->gprsLowerBound, 17);
    EXPECT_FALSE(ws->map->MapSupported());     // no map settings here: the district tables stand in
    EXPECT_EQ(ws->view.messagesFormOpened, 1); // the report says so

    // The same dispatcher again: his line is released and configured again.
    line.calls.clear();
    ASSERT_TRUE(controller->logIn(QStringLiteral("Мар'яна"), QStringLiteral("па'роль")).loggedIn);
    EXPECT_EQ(line.calls, QStringList({QStringLiteral("disconnect"), QStringLiteral("configure Мар'яна")}));
}

TEST_F(ShiftChange, OnlyTheClosedOrdersRightShowsOnlyThoseTabs)
{
    const auto outcome = controller->logIn(QStringLiteral("Архів"), QStringLiteral("2"));
    ASSERT_TRUE(outcome.loggedIn);
    EXPECT_TRUE(outcome.rights.closedOrders);
    EXPECT_FALSE(outcome.rights.handOut);
    EXPECT_FALSE(outcome.rights.admin);
    EXPECT_FALSE(controller->logIn(QStringLiteral("Без прав"), QStringLiteral("4")).loggedIn);
}

TEST_F(ShiftChange, WithoutExactlyOneCompanyRowTheLogicSettingsAreZero)
{
    db->exec(QStringLiteral("INSERT INTO DANI_FIRMI (FIRMA_SERED_SHVIDKIST) VALUES (50)"));
    db->exec(QStringLiteral("DELETE FROM SET_TARIFI"));
    db->exec(QStringLiteral("DELETE FROM DYA_VODIY_GPRS"));
    const auto outcome = controller->logIn(QStringLiteral("Мар'яна"), QStringLiteral("па'роль"));
    ASSERT_TRUE(outcome.loggedIn);
    EXPECT_FALSE(outcome.period.has_value());
    EXPECT_EQ(outcome.rollCallLabel, QStringLiteral("00:00"));
    EXPECT_EQ(ws->store.value(SettingKeys::kPreliminaryLead), QStringLiteral("0"));
    EXPECT_EQ(ws->store.value(SettingKeys::kAverageSpeed), QStringLiteral("0"));
    EXPECT_EQ(ws->dani->gprsLowerBound, 0); // an empty action table sets no bound
}

TEST_F(ShiftChange, TheGaugeShowsWhileTheDistrictTablesAreReadAndGoesAfterwards)
{
    db->exec(QStringLiteral("DELETE FROM VULICA_LUCK"));
    db->exec(QStringLiteral("INSERT INTO VULICA_LUCK (SPISOK_VUL_NOMER, SPISOK_VUL_VULICA, SPISOK_VUL_RAYON) "
                            "VALUES (1, 'Лесі Українки', 'Центр')"));
    db->exec(QStringLiteral("INSERT INTO VULICA_LUCK (SPISOK_VUL_NOMER, SPISOK_VUL_VULICA, SPISOK_VUL_RAYON) "
                            "VALUES (2, 'Ковельська', 'Вокзал')"));
    TForm3 window;
    window.show();
    QList<bool> shownWhileLoading;
    QObject::connect(controller.get(), &ShiftChangeController::loadProgress, &window,
                     [&](int done, int total) {
                         window.showProgress(done, total);
                         shownWhileLoading << window.gauge()->isVisible();
                     });
    QSignalSpy progress(controller.get(), &ShiftChangeController::loadProgress);
    // Without SETTING_KART.INI the log-in falls back to the district tables.
    ASSERT_TRUE(controller->logIn(QStringLiteral("Мар'яна"), QStringLiteral("па'роль")).loggedIn);
    ASSERT_EQ(progress.size(), 3);
    EXPECT_EQ(progress[0], (QList<QVariant>{1, 2}));
    EXPECT_EQ(progress[2], (QList<QVariant>{0, 0}));
    EXPECT_EQ(shownWhileLoading, (QList<bool>{true, false, false}));
    EXPECT_FALSE(window.gauge()->isVisible());
}
