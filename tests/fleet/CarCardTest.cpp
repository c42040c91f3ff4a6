#include "CarCardFixture.h"

#include "foundation/SettingKeys.h"
#include "foundation/SqlLiteral.h"
#include "support/HeldRowLock.h"

#include <QSignalSpy>

namespace {
const QString kVokzal = QStringLiteral("Вокзал");
const QString kRynok = QStringLiteral("Ринок");
const QString kCentr = QStringLiteral("Центр");
const QString kOrderOrGprs =
    QStringLiteral("Дані вибраного позивного змінилися - він отримав замовлення або змінився статус GPRS");
} // namespace

// Filling: the fields, the tick list with its headers and counter, the two boxes.
TEST_F(CarCardFixture, OpeningFillsTheCardAndItsLists)
{
    addCar(7, QStringLiteral("Іван Петренко"), 1);
    db->exec(
        QStringLiteral("INSERT INTO VODII (TABL_VODIY_NOMER, TABL_VODIY_FIO) VALUES (2, 'Петро Змінник')"));
    db->exec(QStringLiteral("INSERT INTO DANI_AVTO (TABL_AVTO_POZIVN, TABL_AVTO_NOM_VODIY) VALUES (7, 2)"));
    putOnAir(7, QStringLiteral("Іван Петренко"), kRynok, QStringLiteral("0001"));
    putOnAir(9, QStringLiteral("Інший"), kVokzal, QStringLiteral("0001"));
    QSignalSpy shown(card.get(), &CarCard::showRequested);
    card->open(7);
    EXPECT_EQ(shown.count(), 1);
    EXPECT_EQ(card->details().callsign, QStringLiteral("7"));
    EXPECT_EQ(card->details().gprs, QStringLiteral("-"));
    EXPECT_EQ(card->details().phone, QStringLiteral("067 111"));
    EXPECT_EQ(card->tickedCount(), 1);
    EXPECT_TRUE(card->details().objects[tickIndex(kRynok)].checked);
    EXPECT_EQ(card->otherCars(), (QStringList{QStringLiteral("7"), QStringLiteral("9")}));
    EXPECT_EQ(card->otherDrivers(), QStringList{QStringLiteral("Петро Змінник")});
    EXPECT_TRUE(card->standButtonsShown()); // no city map here

    // A header never stays ticked, and every tick change recounts.
    card->setTicked(0, true);
    EXPECT_FALSE(card->details().objects[0].checked);
    tick(kCentr);
    EXPECT_EQ(card->tickedCount(), 2);

    card->chooseOtherCar(QStringLiteral("9"));
    EXPECT_EQ(card->details().callsign, QStringLiteral("9"));
    EXPECT_TRUE(card->otherDrivers().isEmpty());
}

// Applying stands: the zero-stand row goes, one row per ticked stand with its stand's next key.
TEST_F(CarCardFixture, ApplyingStandsWritesOneRowPerTickedStandWithItsNextKey)
{
    addCar(7, QStringLiteral("Іван"), 1);
    putOnAir(7, QStringLiteral("Іван"), QStringLiteral("[]{}"), QStringLiteral("0004"));
    putOnAir(9, QStringLiteral("Інший"), kVokzal, QStringLiteral("0003"));
    card->open(7);
    tick(kVokzal);
    tick(kCentr);
    prompts.answerQuestion(true);
    QSignalSpy closed(card.get(), &CarCard::closeRequested);
    card->confirmStandChange();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(placesOf(7), (QStringList{QStringLiteral("Вокзал 0004"), QStringLiteral("Центр 0001")}));
    EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messages().join('|').toStdString();

    // Unticking all moves the car to the zero stand.
    card->open(7);
    tick(kVokzal, false);
    tick(kCentr, false);
    prompts.answerQuestion(true);
    prompts.answerQuestion(true);
    card->confirmStandChange();
    EXPECT_EQ(placesOf(7), QStringList{QStringLiteral("[]{} 0001")});
}

TEST_F(CarCardFixture, TheStandLimitRefusesAndChangesNothing)
{
    ws->store.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kMaxStandsPerDriver,
                       QStringLiteral("2"));
    addCar(7, QStringLiteral("Іван"), 1);
    putOnAir(7, QStringLiteral("Іван"), QStringLiteral("[]{}"), QStringLiteral("0001"));
    card->open(7);
    for (const QString& stand : {kVokzal, kRynok, kCentr})
        tick(stand);
    prompts.answerQuestion(true);
    card->confirmStandChange();
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages()[0].endsWith(QStringLiteral("= [2]")));
    EXPECT_EQ(placesOf(7), QStringList{QStringLiteral("[]{} 0001")});
}

TEST_F(CarCardFixture, PuttingTheThirdOfThreeFirstKeepsTheOthersInTheirOrder)
{
    for (qint64 c : {11, 12, 13}) {
        addCar(c, QStringLiteral("Водій %1").arg(c), c);
        putOnAir(c, QStringLiteral("Водій %1").arg(c), kVokzal, QStringLiteral("000%1").arg(c - 10));
    }
    card->open(13);
    prompts.answerQuestion(true);
    card->putFirstAtStand();
    EXPECT_EQ(keyOf(13, kVokzal), QStringLiteral("0001"));
    EXPECT_EQ(keyOf(11, kVokzal), QStringLiteral("0002"));
    EXPECT_EQ(keyOf(12, kVokzal), QStringLiteral("0003"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZADIANI_AVTO")), 3);
}

// Stand names, reasons and messages with quotes reach the database as typed.
TEST_F(CarCardFixture, QuotedTextsAreStoredAsTyped)
{
    const QString stand = QStringLiteral("Кафе 'Ромашка' OR 1=1");
    addStandPoint(stand);
    addCar(7, QStringLiteral("Д'Артаньян"), 1);
    putOnAir(7, QStringLiteral("Д'Артаньян"), QStringLiteral("[]{}"), QStringLiteral("0001"));
    card->open(7);
    tick(stand);
    prompts.answerQuestion(true);
    card->confirmStandChange();
    EXPECT_EQ(keyOf(7, stand), QStringLiteral("0001"));

    card->open(7);
    prompts.answerInput(QStringLiteral("2"));
    prompts.answerInput(QStringLiteral("Під'їдь до 'Ромашки'"));
    card->sendMessage();
    EXPECT_EQ(prompts.messages().last(), QStringLiteral("Повідомлення надіслано успішно."));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM MSG_FOR_VODIY WHERE MSG_FOR_VODIY_TEXT = "
                                   "'Під''їдь до ''Ромашки''' AND MSG_FOR_VODIY_FIO = 'Д''Артаньян'")),
              1);

    prompts.answerInput(QStringLiteral("Сварка ' з клієнтом ") + QString(250, QLatin1Char('x')));
    card->addToBlackList();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZADIANI_AVTO")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT CHAR_LENGTH(BL_TEXT) FROM BL_VODII WHERE BL_AVTO_POZIVN = 7 AND "
                                   "BL_TEXT STARTING WITH 'Сварка '' з'")),
              200);
    EXPECT_EQ(card->details().callsign, CarCard::kNotSet);
}

TEST_F(CarCardFixture, ATemplateNumberThatNamesNoTemplateSendsNothing)
{
    ws->store.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kDriverMessageTemplates,
                       QStringLiteral("Вас чекають\nЗателефонуйте"));
    addCar(7, QStringLiteral("Іван"), 1);
    putOnAir(7, QStringLiteral("Іван"), QStringLiteral("[]{}"), QStringLiteral("0001"));
    card->open(7);
    prompts.answerInput(QStringLiteral("1"));
    prompts.answerInput(QStringLiteral("3"));
    card->sendMessage();
    EXPECT_TRUE(prompts.messages().last().contains(QStringLiteral("[3]")));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM MSG_FOR_VODIY")), 0);

    prompts.answerInput(QStringLiteral("1"));
    prompts.answerInput(QStringLiteral("2"));
    card->sendMessage();
    EXPECT_EQ(count(QStringLiteral(
                  "SELECT COUNT(*) FROM MSG_FOR_VODIY WHERE MSG_FOR_VODIY_TEXT = 'Зателефонуйте'")),
              1);
}

TEST_F(CarCardFixture, QuickChangeOfDriverAndStandsKeptByHand)
{
    addCar(7, QStringLiteral("Іван"), 1);
    db->exec(QStringLiteral("INSERT INTO VODII (TABL_VODIY_NOMER, TABL_VODIY_FIO) VALUES (2, 'Петро')"));
    db->exec(QStringLiteral("INSERT INTO DANI_AVTO (TABL_AVTO_POZIVN, TABL_AVTO_NOM_VODIY) VALUES (7, 2)"));
    putOnAir(7, QStringLiteral("Іван"), kVokzal, QStringLiteral("0001"));
    card->open(7);
    prompts.answerQuestion(true);
    card->changeDriver(QStringLiteral("Петро"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZADIANI_AVTO WHERE ZAD_AVTO_FIO_VODIY = 'Петро'")),
              1);

    prompts.answerQuestion(true);
    prompts.answerInput(kCentr);
    card->addStand();
    EXPECT_EQ(prompts.messages().last(), QStringLiteral("Вказана стоянка попередньо була створена !!!"));
    prompts.answerQuestion(true);
    prompts.answerInput(QStringLiteral("Нова"));
    card->addStand();
    ASSERT_GE(tickIndex(QStringLiteral("Нова")), 0);
    card->setCurrentObject(tickIndex(QStringLiteral("Нова")));
    prompts.answerQuestion(true);
    card->deleteStand();
    EXPECT_EQ(tickIndex(QStringLiteral("Нова")), -1);
}

// Every writing command with another workstation giving the car an order, or the
// driver's application switching on GPRS, while its question is open.
class CarCardRace : public CarCardFixture,
                    public ::testing::WithParamInterface<std::tuple<const char*, const char*>>
{
};

TEST_P(CarCardRace, AChangeBetweenReadAndWriteWritesNothing)
{
    const QString command = QString::fromLatin1(std::get<0>(GetParam()));
    const QString change = QString::fromLatin1(std::get<1>(GetParam()));
    addCar(7, QStringLiteral("Іван"), 1);
    db->exec(QStringLiteral("INSERT INTO VODII (TABL_VODIY_NOMER, TABL_VODIY_FIO) VALUES (2, 'Петро')"));
    putOnAir(7, QStringLiteral("Іван"), kVokzal, QStringLiteral("0002"));
    putOnAir(7, QStringLiteral("Іван"), kRynok, QStringLiteral("0001"));
    putOnAir(8, QStringLiteral("Перший"), kVokzal, QStringLiteral("0001"));
    card->open(7);
    tick(kCentr);
    prompts.whileOpen = [this, change] {
        db->exec(change == QLatin1String("order")
                     ? QStringLiteral(
                           "UPDATE ZADIANI_AVTO SET ZAD_AVTO_NOMER_ZAMOVL = 77 WHERE ZAD_AVTO_POZIVNIY = 7")
                     : QStringLiteral("UPDATE ZADIANI_AVTO SET ZAD_AVTO_MARKA_AVTO = '{GPRS}Ланос' WHERE "
                                      "ZAD_AVTO_POZIVNIY = 7"));
    };
    const QStringList before = placesOf(7);
    prompts.answerQuestion(true);
    if (command == QLatin1String("apply"))
        card->confirmStandChange();
    else if (command == QLatin1String("zero"))
        card->leaveAllStands();
    else if (command == QLatin1String("first"))
        card->putFirstAtStand();
    else if (command == QLatin1String("driver"))
        card->changeDriver(QStringLiteral("Петро"));
    else
        card->takeOffAir();
    EXPECT_EQ(placesOf(7), before);
    EXPECT_EQ(keyOf(8, kVokzal), QStringLiteral("0001"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZADIANI_AVTO WHERE ZAD_AVTO_FIO_VODIY = 'Петро'")),
              0);
    ASSERT_FALSE(prompts.messages().isEmpty());
    EXPECT_TRUE(prompts.messages().last().startsWith(QStringLiteral("Дані вибраного позивного змінилися")));
    if (change == QLatin1String("gprs")) {
        EXPECT_EQ(prompts.messages().last(), kOrderOrGprs);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryCommand, CarCardRace,
                         ::testing::Combine(::testing::Values("apply", "zero", "first", "driver", "offAir"),
                                            ::testing::Values("order", "gprs")));

// A change still uncommitted on another connection when the card writes: the card's
// claim on the rows fails, so the write is refused instead of overwriting it.
TEST_F(CarCardFixture, ARowHeldByAnotherWorkstationIsNotWrittenOver)
{
    addCar(7, QStringLiteral("Іван"), 1);
    putOnAir(7, QStringLiteral("Іван"), kVokzal, QStringLiteral("0001"));
    card->open(7);
    tick(kCentr);
    {
        const HeldRowLock held(db->other(),
                               QStringLiteral("UPDATE ZADIANI_AVTO SET ZAD_AVTO_NOMER_ZAMOVL = 5 "
                                              "WHERE ZAD_AVTO_POZIVNIY = 7"));
        prompts.answerQuestion(true);
        card->confirmStandChange();
    }
    EXPECT_EQ(placesOf(7), QStringList{QStringLiteral("Вокзал 0001")});
    EXPECT_EQ(card->details().callsign, CarCard::kNotSet);
}
