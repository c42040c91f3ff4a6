#include "WorkstationFixture.h"

#include "foundation/SettingKeys.h"
#include "mainwindow/ui/DataSetTableModel.h"
#include "mainwindow/ui/MainWindowActions.h"
#include "orders/intake/ui/OrderFormView.h"
#include "orders/intake/ui/SoftphoneOptions.h"
#include "orders/intake/ui/SoftphonePage.h"
#include "orders/intake/ui/SoftphoneStrip.h"
#include "platform/BaseFolder.h"
#include "platform/IniFile.h"
#include "support/WaitFor.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

namespace {
const QString kNoLine = QStringLiteral("Немає зєднання / зайняте зєднання з сервером IP телефонії.");
} // namespace

// The dispatcher's telephone on the main window and the order form: what is shown, and
// that the buttons reach the panel. No SIP server answers: a configured line only tries.
class SoftphoneWindow : public WorkstationWindow
{
protected:
    SoftphoneStrip& strip() { return *ws->softphoneWiring.strip(); }
    SoftphoneOptions& options() { return *ws->softphoneWiring.options(); }
    SoftphonePage& page() { return *ws->softphoneWiring.page(); }

    // Logs in and configures her line as the log-in does once TARIF.INI is loaded: an
    // entry with outgoing calls; the headset file only when asked for.
    void logInWithALine(bool headsetFile)
    {
        logIn();
        if (headsetFile) {
            IniFile ini;
            ini.writeString(QStringLiteral("SETWAVE"), QStringLiteral("IN"), audio.inputDevices().first());
            ini.writeString(QStringLiteral("SETWAVE"), QStringLiteral("OUT"), audio.outputDevices().first());
            ASSERT_EQ(ini.save(BaseFolder::file(QStringLiteral("GarnituraDispetcher.ini"))), QString());
        }
        const QString group = SettingsStore::kServerGroup;
        ws->settings.setValue(group, SettingKeys::kSipOperatorCount, QStringLiteral("1"));
        ws->settings.setValue(
            group, SettingKeys::kSipOperators,
            QStringLiteral("OPER [Оля] ATOR<Dostup>1</Dostup><IpServer>127.0.0.1</IpServer>"
                           "<PortServer>9</PortServer><IdOperator>101</IdOperator>"
                           "<PassServer>таємниця</PassServer><DostupOutCall>1</DostupOutCall>"));
        prompts.clear();
        ASSERT_TRUE(ws->softphone.configureFor(QStringLiteral("Оля")));
    }
};

TEST_F(SoftphoneWindow, TheStripWaitsHiddenInTheMainWindowBesideItsTwoOptions)
{
    EXPECT_EQ(strip().window(), &ws->form1);
    EXPECT_EQ(options().window(), &ws->form1);
    EXPECT_FALSE(ws->softphone.stripExpanded());
    EXPECT_FALSE(strip().isVisibleTo(&ws->form1)) << "no line is registered before a log-in";
    EXPECT_EQ(strip().maximumHeight(), 60);
    EXPECT_EQ(strip().title(), ws->softphone.groupCaption());
    EXPECT_TRUE(options().isVisibleTo(&ws->form1));

    logIn(); // no operator entry for her: the line stays off
    EXPECT_FALSE(strip().isVisibleTo(&ws->form1));
    EXPECT_EQ(strip().hangUpButton()->toolTip(), ws->softphone.hangUpHint());
    EXPECT_EQ(strip().lamp()->toolTip(), ws->softphone.lampHint());
    EXPECT_EQ(strip().healthLight()->toolTip(), ws->softphone.healthText());
    EXPECT_EQ(strip().dialBox()->isEnabled(), ws->softphone.dialEnabled());
    EXPECT_FALSE(strip().ringingOrder()->isVisibleTo(&strip()));
    EXPECT_FALSE(strip().callBackButton()->isEnabled()) << "no missed calls to call back";
}

TEST_F(SoftphoneWindow, TheOptionsStartTickedAndSetThePanel)
{
    logIn(); // the main window is disabled until then
    QCheckBox* beep = options().beepOnIncoming();
    QCheckBox* openCard = options().openClientCard();
    EXPECT_EQ(beep->text(), QStringLiteral("Повідомляти про вхідний звінок через PC Speaker"));
    EXPECT_EQ(openCard->text(), QStringLiteral("Відкриття карточки клієнта і запит на прийняття звінка (у "
                                               "випадку вільності оператора)"));
    EXPECT_TRUE(beep->isChecked());
    EXPECT_TRUE(openCard->isChecked());

    beep->click();
    EXPECT_FALSE(ws->softphone.beepOnIncoming());
    EXPECT_TRUE(ws->softphone.openClientCard());
    openCard->click();
    EXPECT_FALSE(ws->softphone.openClientCard());
    beep->click();
    EXPECT_TRUE(ws->softphone.beepOnIncoming());
}

TEST_F(SoftphoneWindow, TheButtonsReachThePanel)
{
    logInWithALine(true); // trying the server, red until it registers
    EXPECT_TRUE(ws->softphone.ringing());
    EXPECT_TRUE(strip().dialBox()->text().isEmpty()) << "configuring empties the dial box";
    EXPECT_EQ(strip().dialBox()->isEnabled(), ws->softphone.dialEnabled());
    EXPECT_EQ(page().connectButton()->text(), QStringLiteral("Н Е   Т У Р Б У В А Т И"));
    EXPECT_TRUE(page().connectButton()->styleSheet().contains(QStringLiteral("128, 0, 0")));

    // "Do not disturb" takes the operator off the server: the group is blue again.
    page().connectButton()->click();
    EXPECT_FALSE(ws->softphone.connectPressed());
    EXPECT_EQ(page().connectButton()->text(), QStringLiteral("З Є Д Н А Н Н Я"));
    EXPECT_TRUE(page().connectButton()->styleSheet().contains(QStringLiteral("silver")));
    ASSERT_FALSE(ws->softphone.ringing());

    prompts.clear();
    strip().dialBox()->setText(QStringLiteral("0671234567"));
    strip().acceptButton()->click();
    EXPECT_EQ(prompts.messages(), QStringList{kNoLine}) << "not registered: nothing is dialled";
    // Enter in the dial box is the accept button.
    prompts.clear();
    QTest::keyClick(strip().dialBox(), Qt::Key_Return);
    EXPECT_EQ(prompts.messages(), QStringList{kNoLine});

    prompts.clear();
    strip().hangUpButton()->click();
    EXPECT_FALSE(prompts.messages().contains(kNoLine)) << "hanging up never dials";
    EXPECT_EQ(strip().hangUpButton()->toolTip(), ws->softphone.hangUpHint());
}

// An open order form disables the main window and its strip: the call is answered from
// the form's own strip.
TEST_F(SoftphoneWindow, WithTheOrderFormOpenTheCallIsHandledFromTheFormsOwnStrip)
{
    logInWithALine(true);
    page().connectButton()->click(); // off the server: blue, and dialling says why it cannot
    ws->orderForm.openForCaller(QStringLiteral("sip:0671234567@pbx"));
    ASSERT_TRUE(ws->form2.isVisible());
    ASSERT_FALSE(ws->form1.isEnabled());
    EXPECT_FALSE(strip().acceptButton()->isEnabled());

    SoftphoneStrip* formStrip = ws->softphoneWiring.formStrip();
    ASSERT_TRUE(ws->form2.view()->isAncestorOf(formStrip));
    ASSERT_TRUE(formStrip->acceptButton()->isEnabled());
    prompts.clear();
    formStrip->dialBox()->setText(QStringLiteral("0671234567"));
    formStrip->acceptButton()->click();
    EXPECT_EQ(prompts.messages(), QStringList{kNoLine});
    EXPECT_EQ(formStrip->title(), strip().title());
}

TEST_F(SoftphoneWindow, TheTelephonePageTakesThePlaceOfTheOrderFormsPlaceholder)
{
    OrderFormView* view = ws->form2.view();
    auto* pages = view->findChild<QStackedWidget*>();
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->count(), 5);
    EXPECT_EQ(pages->widget(4), &page());
    EXPECT_EQ(page().outgoingCalls()->text(), QStringLiteral("ДОЗВІЛ ВИХІДНИХ ЗВІНКІВ"));
    EXPECT_EQ(page().prefixAsContact()->text(), QStringLiteral("ПРЕФІКС ЯК КОНТАКТНИЙ ТЕЛЕФОН ЗАМОВЛЕННЯ"));
    EXPECT_EQ(page().saveHeadsetButton()->text(),
              QStringLiteral("Зберегти налаштування гарнітури для даного компютера"));
}

TEST_F(SoftphoneWindow, WithoutAHeadsetTheOrderFormOpensOnTheTelephonePageShowingTheLine)
{
    prompts.answerQuestion(true); // go to the headset settings
    logInWithALine(false);
    EXPECT_EQ(prompts.questions().size(), 1);
    EXPECT_TRUE(ws->form2.isVisible());
    EXPECT_EQ(ws->form2.view()->pageName(), QStringLiteral("Telefon"));
    EXPECT_TRUE(page().isVisible());
    EXPECT_FALSE(ws->form1.isEnabled()) << "the order form is a task window";

    EXPECT_EQ(page().server()->text(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(page().port()->text(), QStringLiteral("9"));
    EXPECT_EQ(page().extension()->text(), QStringLiteral("101"));
    EXPECT_EQ(page().password()->text(), QStringLiteral("таємниця"));
    EXPECT_EQ(page().password()->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(page().proxy()->text().isEmpty());
    for (QLineEdit* field : {page().server(), page().port(), page().extension(), page().password()})
        EXPECT_TRUE(field->isReadOnly());
    EXPECT_TRUE(page().outgoingCalls()->isChecked());
    EXPECT_EQ(page().connectButton()->text(), ws->softphone.connectCaption());
    EXPECT_FALSE(page().connectButton()->isEnabled()) << "no headset, no connection";
    EXPECT_EQ(page().incomingCount()->text(), QStringLiteral("0"));

    // The headset is to be chosen here: the lists are open and the choice reaches it.
    ASSERT_TRUE(page().inputDevices()->isEnabled());
    EXPECT_EQ(page().inputDevices()->count(), audio.inputDevices().size());
    EXPECT_EQ(page().outputDevices()->count(), audio.outputDevices().size());
    EXPECT_TRUE(page().saveHeadsetButton()->isEnabled());
    EXPECT_EQ(page().inputDevices()->currentRow(), ws->softphone.headset().selectedInput());
    EXPECT_EQ(page().outputDevices()->currentRow(), ws->softphone.headset().selectedOutput());

    // Saving asks, then writes the chosen devices for this computer.
    prompts.clear();
    prompts.answerQuestion(true);
    page().saveHeadsetButton()->click();
    ASSERT_EQ(prompts.questions().size(), 1);
    EXPECT_TRUE(prompts.questions()[0].startsWith(QStringLiteral("Змінити дані налаштування")));
    const IniFile saved = IniFile::load(BaseFolder::file(QStringLiteral("GarnituraDispetcher.ini")));
    EXPECT_EQ(saved.readString(QStringLiteral("SETWAVE"), QStringLiteral("IN")),
              audio.inputDevices().first());
    EXPECT_EQ(saved.readString(QStringLiteral("SETWAVE"), QStringLiteral("OUT")),
              audio.outputDevices().first());
}

TEST_F(SoftphoneWindow, TheOrderMenusClientCallAsksThenDialsThroughTheTelephone)
{
    logInWithALine(true);
    page().connectButton()->click(); // off the server: blue, and nothing can be dialled
    db->exec(QStringLiteral(
        "INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_POCHAT_PUNKT, ZAMOVL_STATUS_ZAMOVL, "
        "ZAMOVL_DATA_PRIYOMA, "
        "ZAMOVL_CHAS_PRIYOMA, ZAMOVL_PRICHINA_DELETE) VALUES (GEN_ID(GENIDZAMOVL, 1), '[Лесі]{2}', 0, "
        "'08.12.2026', '11:50', 'тел.:[0671234567]  ')"));
    ASSERT_TRUE(waitFor([this] { return ws->form1.model(TForm1::OpenOrders)->rowCount() == 1; }));

    QMenu menu;
    ws->mainWindow.actions().orders().fillMenu(menu);
    QAction* call = nullptr;
    for (QAction* action : menu.actions())
        if (action->text() == QStringLiteral("Звінок клієнту (на вхідний зареєстрований номер)"))
            call = action;
    ASSERT_NE(call, nullptr);
    prompts.clear();
    prompts.answerQuestion(true);
    call->trigger();
    EXPECT_EQ(prompts.questions(),
              QStringList{QStringLiteral("Виконати звінок на вказаний телефон [0671234567] ?")});
    EXPECT_EQ(prompts.messages(), QStringList{kNoLine});
}
