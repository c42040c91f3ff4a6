#include "WorkstationFixture.h"
#include "fleet/ui/TForm5.h"
#include "mainwindow/ui/TForm1.h"
#include "support/WaitFor.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QToolBar>

// The drivers strip's card button shows the car card filled for the current driver,
// and the card's own buttons reach its commands.
class CarCardWindow : public WorkstationWindow
{
protected:
    void SetUp() override
    {
        WorkstationWindow::SetUp();
        logIn();
    }
    QAction* cardButton() const
    {
        for (QAction* action : ws->form1.driverTools()->actions())
            if (action->toolTip() == QStringLiteral("Відкрити карточку водія"))
                return action;
        return nullptr;
    }
};

TEST_F(CarCardWindow, TheDriversStripOpensTheCardOfTheCurrentDriver)
{
    db->exec(QStringLiteral(
        "INSERT INTO ZADIANI_AVTO (ZAD_AVTO_POZIVNIY, ZAD_AVTO_FIO_VODIY, ZAD_AVTO_VULICA, "
        "ZAD_AVTO_NOMER_ZAMOVL, ZAD_AVTO_CHAS_ZAMOVL, ZAD_AVTO_MARKA_AVTO) VALUES (21, 'Іван', "
        "'Вокзал', 0, '0001', '{GPRS}Ланос')"));
    ASSERT_TRUE(waitFor([&] { return ws->dani.TABL_ZADIANI_AVTO.recordCount() == 1; }));
    ws->form1.driverPages()->setCurrentIndex(0);
    ASSERT_NE(cardButton(), nullptr);
    cardButton()->trigger();
    ASSERT_TRUE(ws->form5->isVisible());
    EXPECT_EQ(ws->form5->fieldText(QStringLiteral("Label11")), QStringLiteral("21"));
    EXPECT_EQ(ws->form5->fieldText(QStringLiteral("Label29")), QStringLiteral("Іван"));
    EXPECT_EQ(ws->form5->fieldText(QStringLiteral("Label46")), QStringLiteral("+"));
    EXPECT_EQ(ws->form5->fieldText(QStringLiteral("Label12")), QStringLiteral("не задано"));
    EXPECT_EQ(ws->form5->standList()->count(), 1);
    EXPECT_FALSE(ws->form5->gprsEditBox()->isChecked());

    // A GPRS car's stands are refused until the box is ticked; the question comes then.
    prompts.clear();
    ws->form5->button(QStringLiteral("zero"))->click();
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages()[0].startsWith(QStringLiteral("Немає можливості змінити стоянку.")));
    ws->form5->gprsEditBox()->setChecked(true);
    prompts.clear();
    prompts.answerQuestion(false);
    ws->form5->button(QStringLiteral("zero"))->click();
    EXPECT_EQ(prompts.questions(), QStringList{QStringLiteral("Зїхати зі стоянки <на нульову стоянку>  ?")});
    EXPECT_TRUE(ws->form5->isVisible());
}

TEST_F(CarCardWindow, ItsPutOnAirButtonIsTheMainWindowsPutOnAir)
{
    prompts.clear();
    emit ws->carCard.putOnAirRequested();
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].kind, ScriptedPrompts::Shown::Input);
    EXPECT_EQ(prompts.shown()[0].title, QStringLiteral("Відкриття автомобіля у ефір"));
}
