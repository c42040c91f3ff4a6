#include "CommandsFixture.h"

#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "mainwindow/DispatcherMessages.h"

#include <atomic>
#include <thread>

// The dispatchers' chat: composing, numbering and storing a message.
class DispatcherChat : public CommandsFixture
{
protected:
    void SetUp() override
    {
        CommandsFixture::SetUp();
        db->exec(QStringLiteral("DELETE FROM MSG_FOR_DISP"));
        ws->store.setValue(SettingsStore::kUserGroup, SettingKeys::kDispatcherMessageTemplates,
                           QStringLiteral("Обід\nЗміна о 20:00"));
    }
    QStringList stored()
    {
        QStringList texts;
        for (const auto& row :
             db->exec(
                   QStringLiteral("SELECT MSG_FOR_DISP_NP, MSG_FOR_DISP_TEXT FROM MSG_FOR_DISP ORDER BY 1"))
                 .rows)
            texts << row[0].toString() + QLatin1Char(' ') + row[1].toString();
        return texts;
    }
};

TEST_F(DispatcherChat, AMessageFromATemplateOrTypedIsNumberedAfterTheLastAndStoredAsTyped)
{
    DispatcherMessages chat(*ctx);
    clock.set(QDateTime(QDate(2026, 3, 3), QTime(9, 5, 7)));
    prompts.answerInput(QStringLiteral("1"));
    prompts.answerInput(QStringLiteral("2"));
    EXPECT_TRUE(chat.compose());
    EXPECT_TRUE(prompts.shown()[1].text.endsWith(QStringLiteral("\r1.  Обід\r2.  Зміна о 20:00")));
    prompts.answerInput(QStringLiteral("2"));
    prompts.answerInput(QStringLiteral("Машина біля під'їзду"));
    EXPECT_TRUE(chat.compose());
    // The first message of an empty table is number 1; the seed row never stays.
    EXPECT_EQ(stored(),
              (QStringList{QStringLiteral("1 Зміна о 20:00"), QStringLiteral("2 Машина біля під'їзду")}));
    EXPECT_EQ(db->exec(QStringLiteral("SELECT MSG_FOR_DISP_DATA, MSG_FOR_DISP_FIO FROM MSG_FOR_DISP WHERE "
                                      "MSG_FOR_DISP_NP = 1"))
                  .rows[0][0]
                  .toDateTime(),
              QDateTime(QDate(2026, 3, 3), QTime(9, 5, 7)));

    // No template of that number, no way chosen, or nothing typed: nothing is sent.
    prompts.clear();
    for (const QStringList& answers :
         {QStringList{"1", "0"}, QStringList{"1", "3"}, QStringList{"0"}, QStringList{"2", ""}}) {
        for (const QString& answer : answers)
            prompts.answerInput(answer);
        EXPECT_FALSE(chat.compose());
    }
    EXPECT_EQ(prompts.messages(), QStringList(4, DispatcherMessages::kNotSentMessage));
    EXPECT_EQ(stored().size(), 2);
}

TEST_F(DispatcherChat, TwoWorkstationsSendingAtTheSameMomentBothStoreTheirMessage)
{
    TestWorkstation other(db->serverSettings());
    ASSERT_TRUE(other.connect());
    DispatchContext otherCtx{
        *other.dani, other.store, other.prompts, clock, *other.map, QStringLiteral("Інша"), {}};
    constexpr int kRounds = 20;
    for (int round = 0; round < kRounds; ++round) {
        std::atomic<int> ready{0};
        bool sent[2] = {false, false};
        auto run = [&](DispatchContext& c, bool& result, const QString& text) {
            DispatcherMessages chat(c);
            ++ready;
            while (ready < 2) {
            }
            result = chat.send(text);
        };
        std::thread a(run, std::ref(*ctx), std::ref(sent[0]), QStringLiteral("перша %1").arg(round));
        std::thread b(run, std::ref(otherCtx), std::ref(sent[1]), QStringLiteral("друга %1").arg(round));
        a.join();
        b.join();
        EXPECT_TRUE(sent[0] && sent[1]) << "round " << round;
    }
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT COUNT(*) FROM MSG_FOR_DISP WHERE MSG_FOR_DISP_NP > 0")),
              2 * kRounds);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT COUNT(*) FROM MSG_FOR_DISP WHERE MSG_FOR_DISP_NP = 0")), 0);
}
