#include "orders/intake/SoftphoneOperatorSetup.h"

#include <gtest/gtest.h>

namespace {
const QString EmptyValue = QStringLiteral(
    "Невірні налаштування оператора IP телефонії (в налаштуваннях є пусте значення). Повідомте це "
    "користувачу програми ADMIN (Адміністратору) !!!");
const QString BadPort = QStringLiteral("Невірне значення порта для зєднання з SIP сервером (беремо по "
                                       "замовчюванні порт 5060). Повідомте адміністратору про помилку !!!");

SipOperatorEntry entry(const char* port = "5070")
{
    SipOperatorEntry e;
    e.dispatcher = QStringLiteral("Іваненко Марія");
    e.access = true;
    e.server = QStringLiteral("10.0.0.5");
    e.port = QString::fromUtf8(port);
    e.extension = QStringLiteral("201");
    e.password = QStringLiteral("secret");
    e.outgoingCalls = true;
    return e;
}
} // namespace

TEST(SoftphoneOperatorSetup, StaysOffWithoutAWordForNoEntryOrNoAccess)
{
    const SoftphoneOperatorSetup none = SoftphoneOperatorSetup::decide(std::nullopt, 3);
    EXPECT_FALSE(none.connectEnabled);
    EXPECT_FALSE(none.outgoingCalls);
    EXPECT_TRUE(none.messages.isEmpty());

    SipOperatorEntry closed = entry();
    closed.access = false;
    const SoftphoneOperatorSetup denied = SoftphoneOperatorSetup::decide(closed, 3);
    EXPECT_FALSE(denied.connectEnabled);
    EXPECT_FALSE(denied.outgoingCalls) << "Dostup off overrides DostupOutCall";
    EXPECT_TRUE(denied.messages.isEmpty());
}

TEST(SoftphoneOperatorSetup, AnyBlankValueKeepsTheButtonOffAndTellsTheAdministrator)
{
    for (QString SipOperatorEntry::*field : {&SipOperatorEntry::server, &SipOperatorEntry::port,
                                             &SipOperatorEntry::extension, &SipOperatorEntry::password}) {
        SipOperatorEntry blank = entry();
        blank.*field = QStringLiteral("  ");
        const SoftphoneOperatorSetup setup = SoftphoneOperatorSetup::decide(blank, 3);
        EXPECT_FALSE(setup.connectEnabled);
        EXPECT_TRUE(setup.outgoingCalls) << "the dial box follows DostupOutCall all the same";
        EXPECT_EQ(setup.messages, QStringList{EmptyValue});
    }
}

TEST(SoftphoneOperatorSetup, LocalPortIsTheBasePlusTheDispatchersNumber)
{
    EXPECT_EQ(SoftphoneOperatorSetup::decide(entry(), 7).localPort, 46507);
    EXPECT_EQ(SoftphoneOperatorSetup::decide(entry(), 0).localPort, 46500);
    EXPECT_EQ(SoftphoneOperatorSetup::decide(entry(), std::nullopt).localPort, 46500) << "number unreadable";
    EXPECT_EQ(SoftphoneOperatorSetup::decide(entry(), 19035).localPort, 65535);
    EXPECT_EQ(SoftphoneOperatorSetup::decide(entry(), 19036).localPort, 46500) << "past the port range";
    EXPECT_EQ(SoftphoneOperatorSetup::decide(entry(), -46500).localPort, 46500);
}

TEST(SoftphoneOperatorSetup, AnUnreadableServerPortFallsBackTo5060WithItsMessage)
{
    const SoftphoneOperatorSetup good = SoftphoneOperatorSetup::decide(entry(" 5070 "), 1);
    EXPECT_TRUE(good.connectEnabled);
    EXPECT_EQ(good.serverPort, 5070);
    EXPECT_TRUE(good.messages.isEmpty());
    for (const char* unreadable : {"50x", "0", "65536", "-5060", "5060.0"}) {
        const SoftphoneOperatorSetup setup = SoftphoneOperatorSetup::decide(entry(unreadable), 1);
        EXPECT_TRUE(setup.connectEnabled) << unreadable;
        EXPECT_EQ(setup.serverPort, 5060) << unreadable;
        EXPECT_EQ(setup.messages, QStringList{BadPort}) << unreadable;
    }
}
