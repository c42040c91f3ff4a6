#include "PanelFixture.h"

#include "softphone/TSIPClient.h"

#include <QSignalSpy>

namespace {
const QString kEmptyValue = QStringLiteral(
    "Невірні налаштування оператора IP телефонії (в налаштуваннях є пусте значення). Повідомте це "
    "користувачу програми ADMIN (Адміністратору) !!!");
const QString kBadPort = QStringLiteral("Невірне значення порта для зєднання з SIP сервером (беремо по "
                                        "замовчюванні порт 5060). Повідомте адміністратору про помилку !!!");
const QString kHeadsetQuestion =
    QStringLiteral("Для роботи з VoIP телефонією потрібно налаштувати звукову гарнітуру.\r"
                   "Перейти на закладку налаштування гарнітури (потрібно обовязково зберегти налаштування і "
                   "перевантажити перезмінку диспетчера) ?");
} // namespace

using ConfigureOperator = PanelFixture;

TEST_F(ConfigureOperator, WithoutTarifIniOrAnEntryOrAccessTheLineStaysOffWithoutAWord)
{
    // The log-in found no TARIF.INI: nothing of SET_SIP is in the settings.
    EXPECT_TRUE(panel->configureFor(dispatcher()));
    EXPECT_FALSE(panel->connectEnabled());

    setSipSettings({operatorEntry(QStringLiteral("Інший"), QStringLiteral("1"), QStringLiteral("127.0.0.1"),
                                  QStringLiteral("5060"), QStringLiteral("101"), QStringLiteral("pw")),
                    operatorEntry(dispatcher(), QStringLiteral("0"), QStringLiteral("127.0.0.1"),
                                  QStringLiteral("5060"), QStringLiteral("101"), QStringLiteral("pw"))});
    EXPECT_TRUE(panel->configureFor(dispatcher()));
    EXPECT_TRUE(panel->configureFor(QStringLiteral("Нікого")));
    EXPECT_FALSE(panel->connectEnabled());
    EXPECT_FALSE(panel->settingsButtonEnabled());
    EXPECT_FALSE(panel->dialEnabled());
    EXPECT_TRUE(ws->prompts.shown().isEmpty());
    EXPECT_EQ(panel->health(), SoftphonePanel::Health::Off);
}

TEST_F(ConfigureOperator, AnEmptyValueIsReportedAndNothingConnects)
{
    setSipSettings({operatorEntry(dispatcher(), QStringLiteral("1"), QStringLiteral("127.0.0.1"),
                                  QStringLiteral("5060"), QStringLiteral(" "), QStringLiteral("pw"))});
    EXPECT_TRUE(panel->configureFor(dispatcher()));
    EXPECT_EQ(ws->prompts.messages(), QStringList{kEmptyValue});
    EXPECT_FALSE(panel->connectEnabled());
    EXPECT_EQ(panel->sip().State(), TSIPClient::Disconnected);
    // The page still shows what the entry holds, so the administrator sees what is missing.
    EXPECT_EQ(panel->settings().server, QStringLiteral("127.0.0.1"));

    // The next dispatcher without an entry sees nothing of this one's line.
    EXPECT_TRUE(panel->configureFor(QStringLiteral("Нікого")));
    EXPECT_TRUE(panel->settings().server.isEmpty());
    EXPECT_TRUE(panel->settings().password.isEmpty());
}

TEST_F(ConfigureOperator, ABadPortIsReportedAndTheLineTakesTheDispatchersOwnLocalPort)
{
    addDispatcher(dispatcher(), 7);
    writeHeadsetFile(QStringLiteral("Fake Headset Microphone"), QStringLiteral("Fake Headset"));
    setSipSettings({operatorEntry(dispatcher(), QStringLiteral("1"), QStringLiteral("127.0.0.1"),
                                  QStringLiteral("50x60"), QStringLiteral("101"), QStringLiteral("pw"),
                                  QStringLiteral("0"))});
    QSignalSpy cleared(panel.get(), &SoftphonePanel::dialBoxCleared);

    EXPECT_TRUE(panel->configureFor(dispatcher()));
    EXPECT_EQ(ws->prompts.messages(), QStringList{kBadPort});
    EXPECT_EQ(cleared.count(), 1);
    EXPECT_TRUE(panel->connectEnabled());
    EXPECT_TRUE(panel->connectPressed());
    EXPECT_EQ(panel->connectCaption(), QStringLiteral("Н Е   Т У Р Б У В А Т И"));
    EXPECT_FALSE(panel->dialEnabled()); // DostupOutCall 0
    EXPECT_EQ(panel->sip().BoundPort(), 46507);
    EXPECT_EQ(panel->sip().State(), TSIPClient::Registering);
    EXPECT_TRUE(panel->isConnected());

    // The do-not-disturb button takes the operator off the server.
    panel->pressConnect();
    EXPECT_FALSE(panel->connectPressed());
    EXPECT_EQ(panel->connectCaption(), QStringLiteral("З Є Д Н А Н Н Я"));
}

TEST_F(ConfigureOperator, WithoutAHeadsetFileTheDispatcherIsSentToTheTelephonePage)
{
    setSipSettings({operatorEntry(dispatcher(), QStringLiteral("1"), QStringLiteral("127.0.0.1"),
                                  QStringLiteral("5060"), QStringLiteral("101"), QStringLiteral("pw"))});
    QSignalSpy telephonePage(panel.get(), &SoftphonePanel::telephonePageRequested);
    ws->prompts.answerQuestion(false);
    EXPECT_TRUE(panel->configureFor(dispatcher()));
    EXPECT_EQ(ws->prompts.questions(), QStringList{kHeadsetQuestion});
    EXPECT_EQ(telephonePage.count(), 0);
    EXPECT_FALSE(panel->connectEnabled());
    EXPECT_TRUE(panel->settingsButtonEnabled());
    EXPECT_TRUE(panel->ringing()); // red: no line
    EXPECT_EQ(panel->sip().State(), TSIPClient::Disconnected);
    // No dispatcher number in PRACIVNIK: the base port, once there is a headset.

    ws->prompts.answerQuestion(true);
    EXPECT_TRUE(panel->configureFor(dispatcher()));
    EXPECT_EQ(telephonePage.count(), 1);
}

TEST_F(ConfigureOperator, AServerThatCannotBeFoundFailsTheLogInsStepAndLeavesTheLineOff)
{
    writeHeadsetFile(QStringLiteral("Fake Headset Microphone"), QStringLiteral("Fake Headset"));
    setSipSettings({operatorEntry(dispatcher(), QStringLiteral("1"), QStringLiteral("no-such-host.invalid"),
                                  QStringLiteral("5060"), QStringLiteral("101"), QStringLiteral("pw"))});
    EXPECT_FALSE(panel->configureFor(dispatcher()));
    EXPECT_EQ(ws->prompts.messages(),
              QStringList{QStringLiteral("SIP : Домен SIP сервера не найдено : no-such-host.invalid")});
    EXPECT_FALSE(panel->connectEnabled());
    EXPECT_FALSE(panel->dialEnabled());
    EXPECT_FALSE(panel->stripExpanded());
    EXPECT_EQ(panel->groupCaption(), QStringLiteral("  Ваш внутрішній номер : [НЕ ЗАДАНО]"));
    EXPECT_EQ(panel->health(), SoftphonePanel::Health::Off);
}
