#include "WorkstationFixture.h"

#include "mainwindow/HotKeys.h"
#include "orders/intake/Price.h"
#include "orders/intake/ui/MeasuringStepView.h"
#include "orders/intake/ui/OrderFormView.h"
#include "orders/intake/ui/RoutePointPanel.h"
#include "support/DemoCity.h"
#include "support/WaitFor.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolBar>

namespace {

QAction* byHint(QToolBar* strip, const QString& hint)
{
    for (QAction* action : strip->actions())
        if (action->toolTip() == hint)
            return action;
    return nullptr;
}

QPushButton* buttonOf(QWidget* within, const QString& caption)
{
    for (QPushButton* button : within->findChildren<QPushButton*>())
        if (button->text() == caption && button->isVisibleTo(within))
            return button;
    return nullptr;
}

// Types text as the keyboard does, one key pressed and released at a time (keyClicks
// knows ASCII only).
void type(QWidget* widget, const QString& text)
{
    for (const QChar c : text)
        for (QTest::KeyAction action : {QTest::Press, QTest::Release})
            QTest::sendKeyEvent(action, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace

// The order form as the dispatcher meets it: opened from the main window, its pages,
// its wizard and a saved order.
class OrderFormWindow : public WorkstationWindow
{
protected:
    void SetUp() override
    {
        WorkstationWindow::SetUp();
        for (const char* table : {"KLIENT", "TARIFI"})
            db->exec(QStringLiteral("DELETE FROM ") + QLatin1String(table));
        db->exec(
            QStringLiteral("INSERT INTO KLIENT (KLIENT_NUMBER, KLIENT_FIO, KLIENT_DODATKOVO, KLIENT_BALANS) "
                           "VALUES (1, 'Некодований', '[00000] приватний ()', 0)"));
        db->exec(QStringLiteral(
            "INSERT INTO KLIENT (KLIENT_NUMBER, KLIENT_FIO, KLIENT_TELEFON, KLIENT_DODATKOVO, "
            "KLIENT_BALANS) VALUES (2, 'Д''Артаньян', '0671234567', '[00042] приватний (x)', 0)"));
        db->exec(QStringLiteral("INSERT INTO TARIFI (TARIF_NAME, TARIF_PRIINYATTA_ZAMOVL, TARIF_KM_MISTO, "
                                "TARIF_KM_ZA_MISTO, TARIF_CINA_POPERED_ZAMOVL, TARIF_HV_PROSTOU) "
                                "VALUES ('Місто', '15', '4.2', '8', '10', '1.5')"));
        logIn();
    }
    OrderFormView& view() { return *ws->form2.view(); }
    void openUncoded() { emit ws->form1.hotKeyPressed(HotKey::CtrlV); }
    // Two points off the map, then on to the last step without a distance.
    void enterRouteAndGoOn()
    {
        RoutePointPanel* points = view().routePoints();
        points->openOutsideArea(true);
        points->startMyCity()->setChecked(false);
        points->startPlace()->setEditText(QStringLiteral("Рівне, вул. Київська 2"));
        points->destinationMyCity()->setChecked(false);
        points->destinationPlace()->setEditText(QStringLiteral("Ковель"));
        prompts.answerQuestion(true);
        points->addOutsideButton()->click();
        ASSERT_EQ(view().routeList()->count(), 2);
        prompts.answerQuestion(true);
        buttonOf(&view(), QStringLiteral("Далі"))->click();
        ASSERT_EQ(view().stepName(), QStringLiteral("STEP_3"));
    }
};

TEST_F(OrderFormWindow, TheNewOrderCardOpensOnTheClientPageAndDisablesTheMainWindow)
{
    byHint(ws->form1.bottomTools(), QStringLiteral("Карточка нового замовлення"))->trigger();
    ASSERT_TRUE(ws->form2.isVisible());
    EXPECT_FALSE(ws->form1.isEnabled());
    EXPECT_EQ(view().pageName(), QStringLiteral("CardClient"));
    EXPECT_EQ(view().clientGrid()->model()->rowCount(), 1);
    EXPECT_EQ(view().saveButton()->text(), QStringLiteral("Створити"));
    ws->form2.close();
    EXPECT_TRUE(ws->form1.isEnabled());
}

TEST_F(OrderFormWindow, TheClientCardCommandOpensTheNewCardPage)
{
    byHint(ws->form1.bottomTools(), QStringLiteral("Створити/редагувати/пошук карточку клієнта"))->trigger();
    ASSERT_TRUE(ws->form2.isVisible());
    EXPECT_EQ(view().pageName(), QStringLiteral("CreateCardClient"));
}

TEST_F(OrderFormWindow, CtrlVGoesStraightToTheOrderPageForTheUncodedClient)
{
    openUncoded();
    ASSERT_TRUE(ws->form2.isVisible());
    EXPECT_EQ(view().pageName(), QStringLiteral("CreateZam"));
    EXPECT_EQ(view().stepName(), QStringLiteral("STEP_1"));
}

TEST_F(OrderFormWindow, TheClientCardOfAnOrderShowsThatClient)
{
    db->exec(
        QStringLiteral("INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_NOMER_KLIENT, ZAMOVL_POCHAT_PUNKT, "
                       "ZAMOVL_STATUS_ZAMOVL, ZAMOVL_POZIVNIY) VALUES (7, 42, 'Луцьк', 0, 0)"));
    // The insert's event reopens the open orders.
    ASSERT_TRUE(waitFor([this] { return ws->dani.TABL_AKTIV_ZAMOVL.recordCount() == 1; }));
    byHint(ws->form1.orderTools(), QStringLiteral("Відкрити карточку клієнта"))->trigger();
    ASSERT_TRUE(ws->form2.isVisible());
    EXPECT_EQ(view().pageName(), QStringLiteral("CardClient"));
    ASSERT_EQ(view().clientGrid()->model()->rowCount(), 1);
    EXPECT_EQ(view().clientGrid()->model()->index(0, 1).data().toString(), QStringLiteral("Д'Артаньян"));
}

TEST_F(OrderFormWindow, ATelephoneSearchFindsTheClientAndEnterOnTheGridGoesToTheOrder)
{
    byHint(ws->form1.bottomTools(), QStringLiteral("Карточка нового замовлення"))->trigger();
    QLineEdit* telephone = view().telephoneSearch();
    telephone->setText(QStringLiteral("1234"));
    emit telephone->returnPressed();
    ASSERT_EQ(view().clientGrid()->model()->rowCount(), 1);
    emit view().clientGrid()->activated(view().clientGrid()->model()->index(0, 0));
    EXPECT_EQ(view().pageName(), QStringLiteral("CreateZam"));
}

TEST_F(OrderFormWindow, ASavedOrderIsStoredTheFormClosesAndTheMainWindowListsIt)
{
    openUncoded();
    enterRouteAndGoOn();
    EXPECT_EQ(view().sumToPay()->text(), QStringLiteral("не всі дані"));
    view().tariffs()->setCurrentText(QStringLiteral("Місто"));
    emit view().tariffs()->textActivated(QStringLiteral("Місто"));
    EXPECT_EQ(view().sumToPay()->text(), QStringLiteral("15"));

    QList<bool> enabledWhileSaving;
    QObject::connect(&ws->orderForm.order(), &OrderIntake::savingChanged, &view(),
                     [this, &enabledWhileSaving](bool) { enabledWhileSaving << view().isEnabled(); });
    prompts.answerQuestion(true);
    view().saveButton()->click();
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT COUNT(*) FROM ZAMOVLENNIA")), 1);
    EXPECT_EQ(enabledWhileSaving, (QList<bool>{false, true}));
    EXPECT_FALSE(ws->form2.isVisible());
    EXPECT_TRUE(ws->form1.isEnabled());
}

TEST_F(OrderFormWindow, ATripCountOfZeroIsRefusedAndTheRouteStays)
{
    openUncoded();
    enterRouteAndGoOn();
    emit view().tariffs()->textActivated(QStringLiteral("Місто"));
    view().tripCount()->setText(QStringLiteral("0"));
    emit view().tripCount()->editingFinished();
    prompts.answerQuestion(true);
    view().saveButton()->click();
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT COUNT(*) FROM ZAMOVLENNIA")), 0);
    EXPECT_TRUE(ws->form2.isVisible());
    EXPECT_EQ(ws->orderForm.order().route().size(), 2);
}

TEST_F(OrderFormWindow, APreliminaryOrderOnTheLastStepBlinksWithTheTimer)
{
    openUncoded();
    enterRouteAndGoOn();
    QWidget* panel = view().kindPanel();
    const QColor face = panel->palette().color(QPalette::Window);
    view().tick(clock.now());
    EXPECT_EQ(panel->palette().color(QPalette::Window), face); // a quick order does not blink
    for (QRadioButton* kind : panel->findChildren<QRadioButton*>())
        if (kind->text() == QStringLiteral("Попереднє"))
            kind->setChecked(true);
    ASSERT_TRUE(ws->orderForm.order().preliminary());
    view().tick(clock.now());
    const QColor first = panel->palette().color(QPalette::Window);
    view().tick(clock.now());
    EXPECT_NE(first, panel->palette().color(QPalette::Window));
}

TEST_F(OrderFormWindow, TheSecondStepShowsTheMeasuredLegsOfARouteOnTheMap)
{
    for (const char* table : {"VULICA_LUCK", "KARTA_MISTA"})
        db->exec(QStringLiteral("DELETE FROM ") + QLatin1String(table));
    copyDemoTables(*db, {QStringLiteral("VULICA_LUCK"), QStringLiteral("KARTA_MISTA")});
    putMapInForce(ws->dani, ws->map, QStringLiteral("100"), QStringLiteral("50"));

    openUncoded();
    for (const char* street : {"вул. Набережна", "вул. Соборна", "вул. Зарічна"}) {
        const std::optional<MapHouse> house = firstHouseOn(*db, QString::fromUtf8(street));
        ASSERT_TRUE(house.has_value());
        ws->orderForm.order().addRouteItem(*RouteItem::parse(house->item()));
    }
    buttonOf(&view(), QStringLiteral("Далі"))->click();
    ASSERT_EQ(view().stepName(), QStringLiteral("STEP_2"));
    MeasuringStepView* step = view().measuringStep();
    EXPECT_GT(step->legList()->count(), 10);
    EXPECT_FALSE(
        step->legList()->findItems(QStringLiteral("[2] відрізок ....."), Qt::MatchExactly).isEmpty());
    const QString distance = step->distance()->text();
    EXPECT_NE(distance, QStringLiteral("0"));
    EXPECT_TRUE(step->note()->text().isEmpty());
    EXPECT_TRUE(step->nextButton()->isEnabled());
    EXPECT_TRUE(step->backButton()->isEnabled());

    step->nextButton()->click();
    EXPECT_EQ(view().stepName(), QStringLiteral("STEP_3"));
    EXPECT_EQ(ws->orderForm.order().kmInTown(), Price::measuredKilometres(distance));
}

TEST_F(OrderFormWindow, TheKeyboardLeadsFromTheSearchBoxThroughTheHousesToTheFlatWhereEnterAddsTheHouse)
{
    for (const char* table : {"VULICA_LUCK", "KARTA_MISTA"})
        db->exec(QStringLiteral("DELETE FROM ") + QLatin1String(table));
    db->exec(QStringLiteral("INSERT INTO VULICA_LUCK (SPISOK_VUL_NOMER, SPISOK_VUL_VULICA) "
                            "VALUES (1, 'вул. Лесі Українки')"));
    db->exec(QStringLiteral("INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PIDPIS, "
                            "KOORD_KART_MISTA_PUKT_1, KOORD_KART_MISTA_STATUS) "
                            "VALUES (7, '[вул. Лесі Українки]{12}', 0, 'БУДИНОК')"));
    openUncoded();
    QApplication::setActiveWindow(&ws->form2);
    RoutePointPanel* points = view().routePoints();
    ASSERT_TRUE(points->mapArea()->isVisible());

    type(points->searchBox(), QStringLiteral("Українки"));
    ASSERT_EQ(points->namesList()->count(), 1);
    QTest::keyClick(points->searchBox(), Qt::Key_Return);
    ASSERT_EQ(points->housesList()->count(), 1);
    EXPECT_EQ(QApplication::focusWidget(), points->housesList());

    QTest::keyClick(points->housesList(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), points->flatBox());
    EXPECT_EQ(points->housesList()->toolTip(), QStringLiteral("12"));
    type(points->flatBox(), QStringLiteral("кв. 3"));
    prompts.answerQuestion(true);
    QTest::keyClick(points->flatBox(), Qt::Key_Return);

    ASSERT_EQ(view().routeList()->count(), 1);
    EXPECT_EQ(view().routeList()->item(0)->text(), QStringLiteral("[вул. Лесі Українки]{12}кв. 3<7>"));
    EXPECT_EQ(QApplication::focusWidget(), points->searchBox());
    EXPECT_EQ(points->searchBox()->selectedText(), QStringLiteral("Українки"));
}
