#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "support/TestDatabase.h"
#include "support/TestWorkstation.h"
#include "support/WaitFor.h"

#include <gtest/gtest.h>

namespace {
QString serverPrefix()
{
    return qEnvironmentVariable("TAXI_FB_SERVER");
}
} // namespace

class TwoWorkstations : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        if (!serverPrefix().isEmpty())
            db = new TestDatabase(serverPrefix());
    }
    static void TearDownTestSuite()
    {
        delete db;
        db = nullptr;
    }
    void SetUp() override
    {
        if (!db)
            GTEST_SKIP() << "TAXI_FB_SERVER is not set: run this suite through run.sh";
    }
    static TestDatabase* db;
};
TestDatabase* TwoWorkstations::db = nullptr;

TEST_F(TwoWorkstations, EachSeesWhatTheOtherCommitsThroughTheServersEvents)
{
    TestWorkstation first(db->serverSettings());
    TestWorkstation second(db->serverSettings());
    ASSERT_TRUE(first.connect());
    ASSERT_TRUE(second.connect());
    EXPECT_TRUE(first.prompts.messages().isEmpty());
    (*first.reopener)();
    (*second.reopener)();
    EXPECT_EQ(first.dani->TABL_AKTIV_ZAMOVL.recordCount(), 0);

    // The first workstation takes an order; the second one's list reopens with it.
    first.dani->RIZNE.exec(
        QStringLiteral("INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_POCHAT_PUNKT, ZAMOVL_STATUS_ZAMOVL) "
                       "VALUES (GEN_ID(GENIDZAMOVL, 1), %1, 0)")
            .arg(sql::text(QStringLiteral("[Лук'янівська]{7}"))));
    first.dani->TRANZ_RIZNE.commit();
    ASSERT_TRUE(waitFor([&] { return second.dani->TABL_AKTIV_ZAMOVL.recordCount() == 1; }));
    EXPECT_EQ(second.dani->TABL_AKTIV_ZAMOVL.value(QStringLiteral("ZAMOVL_POCHAT_PUNKT")).toString(),
              QStringLiteral("[Лук'янівська]{7}"));

    // The second puts a driver on air; the first one's driver list and counters follow.
    second.dani->RIZNE.exec(
        QStringLiteral("INSERT INTO ZADIANI_AVTO (ZAD_AVTO_POZIVNIY, ZAD_AVTO_VULICA, ZAD_AVTO_NOMER_ZAMOVL, "
                       "ZAD_AVTO_CHAS_ZAMOVL) VALUES (21, '[]{}', 0, '0001')"));
    second.dani->TRANZ_RIZNE.commit();
    ASSERT_TRUE(waitFor([&] { return first.dani->TABL_ZADIANI_AVTO.recordCount() == 1; }));
    EXPECT_EQ(first.view.counters[0], 1);

    // A rolled-back change reaches nobody.
    const int opens = second.reopener->opened.value(QStringLiteral("TABL_AKTIV_ZAMOVL"));
    first.dani->RIZNE.exec(QStringLiteral("UPDATE ZAMOVLENNIA SET ZAMOVL_STATUS_ZAMOVL = -1"));
    first.dani->TRANZ_RIZNE.rollback();
    settle(400);
    EXPECT_EQ(second.reopener->opened.value(QStringLiteral("TABL_AKTIV_ZAMOVL")), opens);
}

TEST_F(TwoWorkstations, AWrongPasswordOrAnUnreachableServerGivesTheMessage)
{
    ServerSettings wrong = db->serverSettings();
    wrong.pass = QStringLiteral("not-the-password");
    TestWorkstation refused(wrong);
    EXPECT_FALSE(refused.connect());
    EXPECT_EQ(refused.prompts.messages(), QStringList{TDANI::connectionFailedMessage()});

    ServerSettings nowhere = db->serverSettings();
    nowhere.server = QStringLiteral("127.0.0.1/1:");
    TestWorkstation unreachable(nowhere);
    EXPECT_FALSE(unreachable.connect());
    EXPECT_EQ(unreachable.prompts.messages(), QStringList{TDANI::connectionFailedMessage()});
    EXPECT_FALSE(unreachable.dani->BAZA.isConnected());
}
