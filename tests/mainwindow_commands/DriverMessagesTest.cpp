#include "CommandsFixture.h"

#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/TDANI.h"
#include "mainwindow/DriverMessageDialog.h"
#include "mainwindow/GprsActionDetails.h"

namespace {

const QString kEmpty = QStringLiteral("Повідомлення пусте. При потребі повторіть спробу.");
const QString kSent = QStringLiteral("Повідомлення надіслано успішно.");

} // namespace

class DriverMessages : public CommandsFixture
{
protected:
    void SetUp() override
    {
        CommandsFixture::SetUp();
        ws->store.setValue(SettingKeys::kDriverTemplatesGroup, SettingKeys::kDriverMessageTemplates,
                           QStringLiteral("Перший шаблон\nДругий шаблон\nТретій шаблон"));
        ws->store.setFlag(SettingKeys::kDriverTemplatesGroup, SettingKeys::kOwnDriverMessagesAllowed, true);
        putOnAir(5, QStringLiteral("Мар'яна"), QStringLiteral("[]{}"), QStringLiteral("0001"));
        openLists();
        selectDriver(5);
    }
    QStringList stored()
    {
        QStringList texts;
        for (const auto& row :
             db->exec(QStringLiteral("SELECT MSG_FOR_VODIY_POZ, MSG_FOR_VODIY_FIO, MSG_FOR_VODIY_TEXT "
                                     "FROM MSG_FOR_VODIY ORDER BY MSG_FOR_VODIY_NP"))
                 .rows)
            texts << row[0].toString() + QLatin1Char(' ') + row[1].toString() + QLatin1Char(' ') +
                         row[2].toString();
        return texts;
    }
    DriverMessageDialog dialog() { return DriverMessageDialog(*ctx); }
};

TEST_F(DriverMessages, ATemplateIsPickedByItsListedNumberOnly)
{
    prompts.answerInput(QStringLiteral("1"));
    prompts.answerInput(QStringLiteral("2"));
    EXPECT_TRUE(dialog().sendToCurrentDriver());
    EXPECT_EQ(prompts.shown()[1].text,
              QStringLiteral("Виберіть порядковий номер повідомлення :\r1.  Перший шаблон\r2.  "
                             "Другий шаблон\r3.  Третій шаблон"));
    EXPECT_EQ(stored(), QStringList{QStringLiteral("5 Мар'яна Другий шаблон")});
    EXPECT_EQ(prompts.messages(), QStringList{kSent});

    prompts.clear();
    prompts.answerInput(QStringLiteral("1"));
    prompts.answerInput(QStringLiteral("7"));
    prompts.answerInput(QStringLiteral("1"));
    prompts.cancelInput(); // the default 0
    prompts.cancelInput(); // no method at all
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(dialog().sendToCurrentDriver());
    EXPECT_EQ(prompts.messages(), QStringList(3, kEmpty));
    EXPECT_EQ(stored().size(), 1);
}

TEST_F(DriverMessages, OwnTextIsSentWhenTheCompanyAllowsIt)
{
    prompts.answerInput(QStringLiteral("2"));
    prompts.answerInput(QStringLiteral("Під'їдьте до 'Епіцентру'"));
    EXPECT_TRUE(dialog().sendToCurrentDriver());
    EXPECT_EQ(stored(), QStringList{QStringLiteral("5 Мар'яна Під'їдьте до 'Епіцентру'")});

    ws->store.setFlag(SettingKeys::kDriverTemplatesGroup, SettingKeys::kOwnDriverMessagesAllowed, false);
    prompts.clear();
    prompts.answerInput(QStringLiteral("2"));
    EXPECT_FALSE(dialog().sendToCurrentDriver());
    EXPECT_EQ(prompts.shown().size(), 2); // no text box was offered
    EXPECT_EQ(prompts.messages(), QStringList{kEmpty});
}

TEST_F(DriverMessages, TheOrderDriverMustBeAssignedAndAFailedSendIsTold)
{
    EXPECT_FALSE(dialog().sendToOrderDriver()); // no open order
    EXPECT_TRUE(prompts.messages().first().startsWith(
        QStringLiteral("Немає можливості відправити повідомлення водію")));

    // A driver without a name cannot be written to: the send fails and says so.
    prompts.clear();
    prompts.answerInput(QStringLiteral("1"));
    prompts.answerInput(QStringLiteral("1"));
    EXPECT_FALSE(dialog().send(9, QString()));
    EXPECT_EQ(prompts.messages(),
              QStringList{QStringLiteral("Повідомлення для водія [9][] через систему GPRS не надіслано. "
                                         "При потребі повторіть спробу.")});
}

TEST_F(DriverMessages, GprsActionDetailsDescribeTheOrderClientAndDriverThenOfferAMessage)
{
    db->exec(QStringLiteral(
        "INSERT INTO VODII (TABL_VODIY_NOMER, TABL_VODIY_FIO, TABL_VODIY_ADRESSA, TABL_VODIY_TELEFON) "
        "VALUES (1, 'Мар''яна', 'Лесі Українки 5', '067 111')"));
    db->exec(QStringLiteral(
        "INSERT INTO KLIENT (KLIENT_NUMBER, KLIENT_FIO, KLIENT_ADRESS, KLIENT_TELEFON, KLIENT_DODATKOVO) "
        "VALUES (1, 'Клієнт', 'Адреса', '050', '[00042]')"));
    db->exec(QStringLiteral(
        "INSERT INTO KLIENT (KLIENT_NUMBER, KLIENT_FIO, KLIENT_DODATKOVO) VALUES (2, 'Інший', '[00421]')"));
    db->exec(
        QStringLiteral("INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_POCHAT_PUNKT, ZAMOVL_PUNKT_PRIZHACH, "
                       "ZAMOVL_NOMER_KLIENT, ZAMOVL_FIO_TAXI, ZAMOVL_POZIVNIY, ZAMOVL_STATUS_ZAMOVL) "
                       "VALUES (77, '[Ринок]{1}', '[Вокзал]{2}', 42, 'Мар''яна', 5, 0)"));
    db->exec(QStringLiteral(
        "INSERT INTO DYA_VODIY_GPRS (DYA_VODIY_GPRS_NP, DYA_VODIY_GPRS_DYA, DYA_VODIY_GPRS_NZ, "
        "DYA_VODIY_GPRS_POZ) VALUES (1, 'Відмова від замовлення', 77, 5)"));
    db->exec(QStringLiteral(
        "INSERT INTO DYA_VODIY_GPRS (DYA_VODIY_GPRS_NP, DYA_VODIY_GPRS_DYA, DYA_VODIY_GPRS_NZ, "
        "DYA_VODIY_GPRS_POZ) VALUES (2, 'ТРИВОГА ВІД ВОДІЯ', 0, 5)"));
    openLists();
    DriverMessageDialog messages(*ctx);
    GprsActionDetails details(*ctx, messages);
    FbDataSet& actions = ws->dani->TABL_DIY_VODY_GPRS;
    actions.moveTo(1); // newest first: the alarm without an order does nothing
    EXPECT_FALSE(details.showCurrentAction());
    EXPECT_TRUE(prompts.shown().isEmpty());

    actions.moveTo(2);
    prompts.answerQuestion(true);
    prompts.answerInput(QStringLiteral("1"));
    prompts.answerInput(QStringLiteral("3"));
    EXPECT_TRUE(details.showCurrentAction());
    const QString text = prompts.shown().first().text;
    EXPECT_TRUE(
        text.startsWith(QStringLiteral("================= ДАНІ ЗАМОВЛЕННЯ :\rПочатковий пункт : [Ринок]{1}\r"
                                       "Кінцевий пункт : [Вокзал]{2}\r")));
    EXPECT_TRUE(text.contains(QStringLiteral("Код клієнта : 42\rПозивний : 5\r\r")));
    EXPECT_TRUE(text.contains(QStringLiteral("ФІО клієнта : Клієнт\r"))); // [00042], not [00421]
    EXPECT_TRUE(text.contains(QStringLiteral("ФІО водія : Мар'яна\rАдреса проживання : Лесі Українки 5\r")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("ВІДПРАВИТИ ПОВІДОМЛЕННЯ ВИБРАНОМУ ПОЗИВНОМУ ?\r")));
    EXPECT_EQ(stored(), QStringList{QStringLiteral("5 Мар'яна Третій шаблон")});
}
