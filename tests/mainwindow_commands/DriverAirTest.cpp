#include "CommandsFixture.h"

#include "fleet/CarCardStands.h"
#include "foundation/TDANI.h"
#include "mainwindow/DriverAirCommands.h"

namespace {

class RecordingCarCard : public ICarCardStands
{
public:
    QStringList calls;
    void loadWithoutShowing(qint64 callsign) override { calls << QStringLiteral("load %1").arg(callsign); }
    void allowGprsStandChange() override { calls << QStringLiteral("allow GPRS"); }
    void leaveAllStands() override { calls << QStringLiteral("leave all"); }
    void untickStand(const QString& stand) override { calls << QStringLiteral("untick ") + stand; }
    void confirmStandChange() override { calls << QStringLiteral("confirm"); }
};

const QString kNoSuchCallsign =
    QStringLiteral("Вказаного позивного не існує на даній стоянці. При потребі повторіть спробу !");

} // namespace

class DriverAir : public CommandsFixture
{
protected:
    RecordingCarCard card;
    bool fromAllStands = false;
    DriverAirCommands commands()
    {
        return DriverAirCommands(*ctx, card, [this] { return fromAllStands; });
    }
};

TEST_F(DriverAir, PutOnAirEndsSilentlyWithoutAPositiveCallsign)
{
    addCar(7, 1);
    addDriver(1, QStringLiteral("Марко"));
    for (const QString& typed : {QStringLiteral(""), QStringLiteral("abc"), QStringLiteral("0"),
                                 QStringLiteral("-7"), QStringLiteral("7 OR 1=1")})
        prompts.answerInput(typed);
    prompts.cancelInput();
    for (int i = 0; i < 6; ++i)
        EXPECT_FALSE(commands().putDriverOnAir().carCard);
    EXPECT_TRUE(prompts.messages().isEmpty());
    EXPECT_FALSE(onAir(7));
}

TEST_F(DriverAir, PutOnAirWithOneDriverShowsHisCard)
{
    addCar(7, 1);
    addDriver(1, QStringLiteral("Мар'яна"));
    prompts.answerInput(QStringLiteral(" 7 "));
    const auto details = commands().putDriverOnAir().carCard;
    ASSERT_TRUE(details);
    EXPECT_EQ(details->name, QStringLiteral("Мар'яна"));
    EXPECT_EQ(details->callsign, QStringLiteral("7"));
    EXPECT_TRUE(onAir(7));
    EXPECT_TRUE(prompts.messages().isEmpty());
}

TEST_F(DriverAir, PutOnAirRefusesACallsignOnAirOrWithoutDrivers)
{
    addCar(7, 1);
    addDriver(1, QStringLiteral("Марко"));
    putOnAir(7, QStringLiteral("Марко"), QStringLiteral("[]{}"), QStringLiteral("0001"));
    addCar(8, 99); // the driver number is not in VODII
    prompts.answerInput(QStringLiteral("7"));
    prompts.answerInput(QStringLiteral("8"));
    prompts.answerInput(QStringLiteral("9"));
    EXPECT_FALSE(commands().putDriverOnAir().carCard);
    EXPECT_FALSE(commands().putDriverOnAir().carCard);
    EXPECT_FALSE(commands().putDriverOnAir().carCard);
    const QStringList shown = prompts.messages();
    ASSERT_EQ(shown.size(), 3);
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("Такий позивний активний.")));
    EXPECT_EQ(shown[1], QStringLiteral("Позивний не найдено або на позивному не зареєстровані водії."));
    EXPECT_EQ(shown[2], shown[1]);
    EXPECT_FALSE(onAir(8));
}

TEST_F(DriverAir, SeveralDriversOfACallsignAreChosenByTheirListedNumberOnly)
{
    addCar(7, 1);
    addCar(7, 2);
    addDriver(1, QStringLiteral("Перший"));
    addDriver(2, QStringLiteral("Другий"));
    // Out of range, the cancelled default 0, and text: each refused with the same message.
    for (const QString& typed : {QStringLiteral("3"), QStringLiteral("два")}) {
        prompts.answerInput(QStringLiteral("7"));
        prompts.answerInput(typed);
    }
    prompts.answerInput(QStringLiteral("7"));
    prompts.cancelInput();
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(commands().putDriverOnAir().carCard);
    EXPECT_EQ(
        prompts.messages(),
        QStringList(3,
                    QStringLiteral(
                        "Невірно вказаний порядковий номер водія зі списка. При потребі повторіть спробу.")));
    EXPECT_FALSE(onAir(7));

    prompts.clear();
    prompts.answerInput(QStringLiteral("7"));
    prompts.answerInput(QStringLiteral("2"));
    const auto details = commands().putDriverOnAir().carCard;
    ASSERT_TRUE(details);
    const auto& choice = prompts.shown()[1];
    EXPECT_EQ(choice.title, QStringLiteral("Виберіть водія зі списка"));
    EXPECT_TRUE(choice.text.endsWith(QStringLiteral("\r***********************\r1. Перший\r2. Другий")) ||
                choice.text.endsWith(QStringLiteral("\r***********************\r1. Другий\r2. Перший")));
    const QString second = choice.text.section(QStringLiteral("\r2. "), 1);
    EXPECT_EQ(details->name, second);
    EXPECT_EQ(db->exec(QStringLiteral("SELECT ZAD_AVTO_FIO_VODIY FROM ZADIANI_AVTO")).rows[0][0].toString(),
              second);
}

TEST_F(DriverAir, TakeOffAirRefusesBusyAndGprsDriversAndAnEmptyList)
{
    const QString refusal = QStringLiteral("Немає можливості закрити з ефіра водія.");
    EXPECT_FALSE(commands().takeCurrentDriverOffAir()); // list closed: nothing to act on
    putOnAir(5, QStringLiteral("Зайнятий"), QStringLiteral("[]{}"), QStringLiteral("0001"), 42);
    putOnAir(6, QStringLiteral("GPRS"), QStringLiteral("[]{}"), QStringLiteral("0002"), 0,
             QStringLiteral("{GPRS}Ланос"));
    openLists();
    for (qint64 callsign : {5, 6}) {
        selectDriver(callsign);
        EXPECT_FALSE(commands().takeCurrentDriverOffAir());
    }
    const QStringList shown = prompts.messages();
    ASSERT_EQ(shown.size(), 3);
    for (const QString& text : shown)
        EXPECT_TRUE(text.startsWith(refusal));
    EXPECT_TRUE(onAir(5));
    EXPECT_TRUE(onAir(6));
}

TEST_F(DriverAir, TakeOffAirActsOnTheDriverAskedAboutEvenWhenTheListMovesMeanwhile)
{
    putOnAir(5, QStringLiteral("А"), QStringLiteral("[]{}"), QStringLiteral("0001"));
    putOnAir(6, QStringLiteral("Б"), QStringLiteral("[]{}"), QStringLiteral("0002"));
    openLists();
    selectDriver(5);
    prompts.answerQuestion(false);
    EXPECT_FALSE(commands().takeCurrentDriverOffAir());
    EXPECT_TRUE(onAir(5));

    // An event reopens the list on another row while the question is open.
    prompts.whileOpen = [this] { selectDriver(6); };
    prompts.answerQuestion(true);
    EXPECT_TRUE(commands().takeCurrentDriverOffAir());
    EXPECT_EQ(prompts.shown().last().text, QStringLiteral("Зняти вибраного позивного [5] з ефіра ?"));
    EXPECT_FALSE(onAir(5));
    EXPECT_TRUE(onAir(6));
}

TEST_F(DriverAir, StandPageTakesOffOnlyACallsignQueuedThere)
{
    putOnAir(112, QStringLiteral("А"), QStringLiteral("Вокзал"), QStringLiteral("0001"));
    putOnAir(12, QStringLiteral("Б"), QStringLiteral("Вокзал"), QStringLiteral("0002"));
    putOnAir(13, QStringLiteral("В"), QStringLiteral("Ринок"), QStringLiteral("0001"));
    openLists();
    selectStand(QStringLiteral("Вокзал"));
    for (const QString& typed : {QStringLiteral("1"), QStringLiteral("13"), QStringLiteral("12] [112")})
        prompts.answerInput(typed);
    prompts.cancelInput(); // empty: ends silently
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(commands().takeStandDriverOffAir());
    EXPECT_EQ(prompts.messages(), QStringList(3, kNoSuchCallsign));
    EXPECT_TRUE(prompts.shown()[0].text.contains(QStringLiteral("Вибрана стоянка : Вокзал\r\r")));
    EXPECT_TRUE(prompts.shown()[0].text.contains(QStringLiteral("\r[112] [12] \r")));

    prompts.answerInput(QStringLiteral("12"));
    EXPECT_TRUE(commands().takeStandDriverOffAir());
    EXPECT_FALSE(onAir(12));
    EXPECT_TRUE(onAir(112));
    EXPECT_TRUE(onAir(13));
}

TEST_F(DriverAir, RemovalFromAStandGoesThroughTheCarCard)
{
    putOnAir(5, QStringLiteral("А"), QStringLiteral("[]{}"), QStringLiteral("0001"));
    putOnAir(6, QStringLiteral("Б"), QStringLiteral("Вокзал"), QStringLiteral("0001"));
    openLists();
    selectDriver(5);
    EXPECT_FALSE(commands().removeCurrentDriverFromStand());
    EXPECT_EQ(prompts.messages(), QStringList{QStringLiteral("Таблиця пуста / вибрана стоянка нульова !!!")});
    EXPECT_TRUE(card.calls.isEmpty());

    selectDriver(6);
    EXPECT_TRUE(commands().removeCurrentDriverFromStand());
    EXPECT_EQ(card.calls, (QStringList{QStringLiteral("load 6"), QStringLiteral("allow GPRS"),
                                       QStringLiteral("untick Вокзал"), QStringLiteral("confirm")}));

    card.calls.clear();
    fromAllStands = true;
    selectStand(QStringLiteral("Вокзал"));
    prompts.answerInput(QStringLiteral("6"));
    EXPECT_TRUE(commands().removeDriverFromSelectedStand());
    EXPECT_EQ(card.calls, (QStringList{QStringLiteral("load 6"), QStringLiteral("allow GPRS"),
                                       QStringLiteral("leave all")}));
    EXPECT_EQ(prompts.shown().last().title, QStringLiteral("Зняття водія зі стоянки"));
}
