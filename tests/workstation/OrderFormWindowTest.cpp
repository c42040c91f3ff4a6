#include "WorkstationFixture.h"

#include "foundation/SettingKeys.h"
#include "foundation/SqlLiteral.h"
#include "mainwindow/HotKeys.h"
#include "orders/intake/DriverPreselection.h"
#include "orders/intake/Price.h"
#include "orders/intake/TariffData.h"
#include "orders/intake/ui/MeasuringStepView.h"
#include "orders/intake/ui/OrderFormView.h"
#include "orders/intake/ui/PaymentFormPrinter.h"
#include "orders/intake/ui/RoutePointPanel.h"
#include "orders/intake/ui/TForm6.h"
#include "orders/intake/ui/TForm7.h"
#include "support/DemoCity.h"
#include "support/WaitFor.h"
#include "support/WidgetFinders.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolBar>

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
    // A box of the quick-search strip by its placeholder.
    QLineEdit* searchBox(const QString& placeholder)
    {
        for (QLineEdit* box : view().findChildren<QLineEdit*>())
            if (box->placeholderText() == placeholder)
                return box;
        return nullptr;
    }
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
        shownButton(&view(), QStringLiteral("Далі"))->click();
        ASSERT_EQ(view().stepName(), QStringLiteral("STEP_3"));
    }
};

TEST_F(OrderFormWindow, TheNewOrderCardOpensOnTheClientPageAndDisablesTheMainWindow)
{
    actionWithHint(ws->form1.bottomTools(), QStringLiteral("Карточка нового замовлення"))->trigger();
    ASSERT_TRUE(ws->form2.isVisible());
    EXPECT_FALSE(ws->form1.isEnabled());
    EXPECT_EQ(view().pageName(), QStringLiteral("CardClient"));
    EXPECT_EQ(view().clientGrid()->model()->rowCount(), 1);
    EXPECT_EQ(view().saveButton()->text(), QStringLiteral("Створити"));
    ws->form2.close();
    EXPECT_TRUE(ws->form1.isEnabled());
}

TEST_F(OrderFormWindow, ACallOpensTheFormOnTheCallersClientWithHisNumberInTheSearchBoxAndItsHistory)
{
    ws->orderForm.openForCaller(QStringLiteral("sip:0671234567@pbx"));
    ASSERT_TRUE(ws->form2.isVisible());
    EXPECT_EQ(view().clientGrid()->model()->rowCount(), 1);
    // Showing the form empties the box and refilling the drop-down must not empty it again.
    EXPECT_EQ(view().telephoneSearch()->text(), QStringLiteral("0671234567"));
    auto* box = qobject_cast<QComboBox*>(view().telephoneSearch()->parentWidget());
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(box->count(), 1);
    EXPECT_TRUE(box->itemText(0).endsWith(QStringLiteral("]> 0671234567")));
}

TEST_F(OrderFormWindow, TheClientCardCommandOpensTheNewCardPage)
{
    actionWithHint(ws->form1.bottomTools(), QStringLiteral("Створити/редагувати/пошук карточку клієнта"))->trigger();
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
    actionWithHint(ws->form1.orderTools(), QStringLiteral("Відкрити карточку клієнта"))->trigger();
    ASSERT_TRUE(ws->form2.isVisible());
    EXPECT_EQ(view().pageName(), QStringLiteral("CardClient"));
    ASSERT_EQ(view().clientGrid()->model()->rowCount(), 1);
    EXPECT_EQ(view().clientGrid()->model()->index(0, 1).data().toString(), QStringLiteral("Д'Артаньян"));
}

TEST_F(OrderFormWindow, ATelephoneSearchFindsTheClientAndEnterOnTheGridGoesToTheOrder)
{
    actionWithHint(ws->form1.bottomTools(), QStringLiteral("Карточка нового замовлення"))->trigger();
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
    shownButton(&view(), QStringLiteral("Далі"))->click();
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

    typeText(points->searchBox(), QStringLiteral("Українки"));
    ASSERT_EQ(points->namesList()->count(), 1);
    QTest::keyClick(points->searchBox(), Qt::Key_Return);
    ASSERT_EQ(points->housesList()->count(), 1);
    EXPECT_EQ(QApplication::focusWidget(), points->housesList());

    QTest::keyClick(points->housesList(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), points->flatBox());
    EXPECT_EQ(points->housesList()->toolTip(), QStringLiteral("12"));
    typeText(points->flatBox(), QStringLiteral("кв. 3"));
    prompts.answerQuestion(true);
    QTest::keyClick(points->flatBox(), Qt::Key_Return);

    ASSERT_EQ(view().routeList()->count(), 1);
    EXPECT_EQ(view().routeList()->item(0)->text(), QStringLiteral("[вул. Лесі Українки]{12}кв. 3<7>"));
    EXPECT_EQ(QApplication::focusWidget(), points->searchBox());
    EXPECT_EQ(points->searchBox()->selectedText(), QStringLiteral("Українки"));
}

TEST_F(OrderFormWindow, PreviousAddressesDockToTheFormFollowTheGridAndADoubleClickAddsARoutePoint)
{
    db->exec(QStringLiteral("DELETE FROM KARTA_MISTA"));
    db->exec(QStringLiteral("INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PIDPIS, "
                            "KOORD_KART_MISTA_PUKT_1, KOORD_KART_MISTA_STATUS) "
                            "VALUES (7, 'Кафе [вул. Соборна]{9}', 0, 'БУДИНОК')"));
    for (const auto& [number, start] : {std::pair{10, "[вул. Соборна]{9}кв. 2"}, std::pair{11, "Вокзал"}})
        db->exec(QStringLiteral("INSERT INTO CLOSEZAMOVLENNIA (CZ_NUMBER, CZ_NOMER_KLIENT, CZ_POCHAT_PUNKT, "
                                "CZ_STATUS_ZAMOVL) VALUES (%1, 42, %2, 1)")
                     .arg(sql::integer(number), sql::text(QString::fromUtf8(start))));
    actionWithHint(ws->form1.bottomTools(), QStringLiteral("Карточка нового замовлення"))->trigger();
    TForm6& window = *ws->form6;
    QPushButton* toggle = shownButton(
        &view(),
        QStringLiteral("Показати / скрити список адрес попередньовиконаних 15 останніх замовлень клієнта"));
    ASSERT_TRUE(toggle);
    toggle->click();
    ASSERT_TRUE(window.isVisible());
    const auto dockedAt = [this] {
        const QRect form = ws->form2.frameGeometry();
        return QPoint(form.x() + form.width(), form.y());
    };
    EXPECT_EQ(window.frameGeometry().topLeft(), dockedAt());
    EXPECT_EQ(window.addressList()->count(), 0); // the unknown client

    QLineEdit* name = searchBox(QStringLiteral("ФІО"));
    name->setText(QStringLiteral("Артаньян"));
    emit name->returnPressed();
    ASSERT_EQ(window.addressList()->count(), 2);
    EXPECT_EQ(window.addressList()->item(0)->text(), QStringLiteral("Вокзал"));
    window.sortButton()->click();
    EXPECT_EQ(window.addressList()->item(0)->text(), QStringLiteral("[вул. Соборна]{9}кв. 2"));

    ws->form2.move(ws->form2.pos() + QPoint(35, 20));
    EXPECT_EQ(window.frameGeometry().topLeft(), dockedAt());
    ws->form2.resize(ws->form2.size() + QSize(60, 0));
    EXPECT_EQ(window.frameGeometry().topLeft(), dockedAt());

    // On the client page a double-click does nothing; on the first step it adds the point.
    QListWidget* list = window.addressList();
    emit list->itemDoubleClicked(list->item(1));
    shownButton(&view(), QStringLiteral("Перейти до замовлення"))->click();
    ASSERT_EQ(view().stepName(), QStringLiteral("STEP_1"));
    EXPECT_EQ(view().routeList()->count(), 0);
    emit list->itemDoubleClicked(list->item(1));
    emit list->itemDoubleClicked(list->item(0));
    ASSERT_EQ(view().routeList()->count(), 2);
    EXPECT_EQ(view().routeList()->item(0)->text(), QStringLiteral("Вокзал</E>"));
    EXPECT_EQ(view().routeList()->item(1)->text(), QStringLiteral("[вул. Соборна]{9}кв. 2<7>"));

    window.closeButton()->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(ws->orderForm.previousAddresses().isShown());
    ws->orderForm.togglePreviousAddresses();
    EXPECT_TRUE(window.isVisible());
    ws->form2.close();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(OrderFormWindow, TheTariffDataWindowShowsTheChosenTariffBelowTheDockedAddresses)
{
    ws->settings.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kFreeRideLimit, QStringLiteral("40"));
    openUncoded();
    enterRouteAndGoOn();
    TForm7& window = *ws->form7;
    EXPECT_FALSE(window.isVisible());
    emit view().tariffs()->textActivated(QStringLiteral("Місто"));
    ASSERT_TRUE(window.isVisible());
    const QRect form = ws->form2.frameGeometry();
    EXPECT_EQ(window.frameGeometry().topLeft(), QPoint(form.x() + form.width(), form.y() + 400));
    QStringList shown;
    for (int row = 0; row < TariffData::kCaptions.size(); ++row)
        shown << window.value(row);
    EXPECT_EQ(shown, (QStringList{QStringLiteral("15"), QStringLiteral("4,2"), QStringLiteral("8"),
                                  QStringLiteral("10"), QStringLiteral("1,5"), QStringLiteral("40")}));

    // A tariff left empty has no prices to show.
    emit view().tariffs()->textActivated(QString());
    EXPECT_FALSE(window.isVisible());
    emit view().tariffs()->textActivated(QStringLiteral("Місто"));
    window.closeButton()->click();
    EXPECT_FALSE(window.isVisible());
    emit view().tariffs()->textActivated(QStringLiteral("Місто"));
    EXPECT_TRUE(window.isVisible());
    // Back and on again: the last step starts without a tariff.
    shownButton(&view(), QStringLiteral("Назад"))->click();
    prompts.answerQuestion(true);
    shownButton(&view(), QStringLiteral("Далі"))->click();
    EXPECT_FALSE(window.isVisible());
    emit view().tariffs()->textActivated(QStringLiteral("Місто"));
    ws->form2.close();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(OrderFormWindow, TheLastStepPreselectsADriverIntoTheNotesAndPrintingWithoutAPrinterSaysSo)
{
    db->exec(QStringLiteral("DELETE FROM KARTA_MISTA"));
    db->exec(QStringLiteral("INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PIDPIS, "
                            "KOORD_KART_MISTA_X, KOORD_KART_MISTA_Y, KOORD_KART_MISTA_PUKT_1, "
                            "KOORD_KART_MISTA_STATUS) VALUES (1, 'Центр', 100, 100, 0, 'СТОЯНКА')"));
    db->exec(
        QStringLiteral("INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PIDPIS, "
                       "KOORD_KART_MISTA_X, KOORD_KART_MISTA_Y, KOORD_KART_MISTA_PUKT_1, "
                       "KOORD_KART_MISTA_STATUS) VALUES (2, '[вул. Ринкова]{1}', 400, 500, 0, 'БУДИНОК')"));
    db->exec(
        QStringLiteral("INSERT INTO ZADIANI_AVTO (ZAD_AVTO_POZIVNIY, ZAD_AVTO_FIO_VODIY, "
                       "ZAD_AVTO_CHAS_ZAMOVL, ZAD_AVTO_VULICA, ZAD_AVTO_ZADIANIST, ZAD_AVTO_NOMER_ZAMOVL) "
                       "VALUES (30, 'Водій', '0002', 'Центр', 0, 0)"));
    putMapInForce(ws->dani, ws->map, QStringLiteral("100"), QStringLiteral("50"));
    openUncoded();
    ws->orderForm.order().addRouteItem(*RouteItem::parse(QStringLiteral("[вул. Ринкова]{1}кв. 3<2>")));
    prompts.answerQuestion(true); // on without a destination
    shownButton(&view(), QStringLiteral("Далі"))->click();
    ASSERT_EQ(view().stepName(), QStringLiteral("STEP_3"));
    view().notes()->setPlainText(QStringLiteral("з дитиною"));

    QPushButton* preselect = shownButton(&view(), QStringLiteral("Попередній підбір водія"));
    ASSERT_TRUE(preselect);
    prompts.clear();
    prompts.answerQuestion(true);
    preselect->click();
    ASSERT_EQ(prompts.questions().size(), 1);
    EXPECT_TRUE(prompts.questions()[0].startsWith(QStringLiteral("Найближчий позивний [30]")));
    EXPECT_TRUE(prompts.questions()[0].endsWith(
        QStringLiteral("Добавити дані вказаного водія, як бажаного для замовлення ?")));
    EXPECT_TRUE(view().notes()->toPlainText().startsWith(QStringLiteral("бажаний позивний : 30")));
    EXPECT_TRUE(view().notes()->toPlainText().endsWith(QStringLiteral("з дитиною")));

    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "this machine has a default printer";
    emit view().tariffs()->textActivated(QStringLiteral("Місто"));
    prompts.clear();
    prompts.answerQuestion(true);
    QTest::mouseDClick(view().sumToPay(), Qt::LeftButton);
    EXPECT_EQ(prompts.messages(), QStringList{PaymentFormPrinter::kNoPrinterMessage});
}

TEST_F(OrderFormWindow, TheCardsPlusButtonsFillTheirBoxesAndTheStreetBoxesOfferTheCitysStreets)
{
    db->exec(QStringLiteral("DELETE FROM VULICA_LUCK"));
    db->exec(QStringLiteral(
        "INSERT INTO VULICA_LUCK (SPISOK_VUL_NOMER, SPISOK_VUL_VULICA) VALUES (1, 'вул. Соборна')"));
    db->exec(QStringLiteral(
        "INSERT INTO VULICA_LUCK (SPISOK_VUL_NOMER, SPISOK_VUL_VULICA) VALUES (2, 'вул. Ринкова')"));
    actionWithHint(ws->form1.bottomTools(), QStringLiteral("Створити/редагувати/пошук карточку клієнта"))->trigger();
    ASSERT_EQ(view().pageName(), QStringLiteral("CreateCardClient"));
    searchBox(QStringLiteral("ФІО"))->setText(QStringLiteral("Мар'яна"));
    view().newCardName()->setText(QStringLiteral("Коваль"));
    shownButtonWithHint(&view(), QStringLiteral("Додати ФІО з рядка швидкого пошуку"))->click();
    EXPECT_EQ(view().newCardName()->text(), QStringLiteral("Коваль Мар'яна"));

    view().telephoneSearch()->setText(QStringLiteral("0501112233"));
    prompts.cancelInput(); // a cancelled box gives the telephone search text it offered
    shownButtonWithHint(&view(), QStringLiteral("Додати телефон"))->click();
    EXPECT_EQ(view().newCardTelephones()->text(), QStringLiteral("0501112233"));

    QComboBox* street = view().newCardStreet();
    street->setEditText(QStringLiteral("Собор"));
    street->showPopup();
    street->hidePopup();
    ASSERT_EQ(street->count(), 1);
    EXPECT_EQ(street->itemText(0), QStringLiteral("вул. Соборна"));
    EXPECT_EQ(street->currentText(), QStringLiteral("Собор")); // what was typed stays

    prompts.clear();
    prompts.answerQuestion(true);
    shownButton(&view(), QStringLiteral("Очистити всі поля"))->click();
    EXPECT_EQ(prompts.questions().value(0), QStringLiteral("Очистити поля для вводу інформації ?"));
    EXPECT_TRUE(view().newCardName()->text().isEmpty());
    EXPECT_TRUE(view().newCardTelephones()->text().isEmpty());
    EXPECT_TRUE(street->currentText().isEmpty());

    // The edit card: a street joins the free-text address as it is.
    shownButton(&view(), QStringLiteral("Назад"))->click();
    QLineEdit* name = searchBox(QStringLiteral("ФІО"));
    name->setText(QStringLiteral("Артаньян"));
    emit name->returnPressed();
    shownButton(&view(), QStringLiteral("Редагувати карточку вибраного клієнта"))->click();
    ASSERT_EQ(view().pageName(), QStringLiteral("EditCardClient"));
    view().editCardAddress()->setText(QStringLiteral("Луцьк, "));
    view().editCardStreet()->setEditText(QStringLiteral("вул. Ринкова"));
    shownButtonWithHint(&view(), QStringLiteral("Додати вулицю до адреси"))->click();
    EXPECT_EQ(view().editCardAddress()->text(), QStringLiteral("Луцьк, вул. Ринкова"));
}
