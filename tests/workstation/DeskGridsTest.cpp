#include "WorkstationFixture.h"
#include "citymap/ui/TForm8.h"
#include "fleet/ui/TForm5.h"
#include "mainwindow/ui/DataSetTableModel.h"
#include "mainwindow/ui/OrderRecordPanels.h"
#include "orders/intake/ui/OrderFormView.h"
#include "orders/maintenance/ui/TForm11.h"

#include "support/WaitFor.h"
#include <QGroupBox>

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

// What the dispatcher sees highlighted is what the commands act on.
class DeskGrids : public WorkstationWindow
{
protected:
    void SetUp() override
    {
        WorkstationWindow::SetUp();
        logIn();
        ws->form1.resize(1260, 780);
        ws->form1.show();
    }
    void putOnAir(int callsign, const char* name)
    {
        db->exec(QStringLiteral("INSERT INTO ZADIANI_AVTO (ZAD_AVTO_POZIVNIY, ZAD_AVTO_VULICA, "
                                "ZAD_AVTO_NOMER_ZAMOVL, ZAD_AVTO_CHAS_ZAMOVL, ZAD_AVTO_FIO_VODIY) "
                                "VALUES (%1, 'Вокзал', 0, '0001', '%2')")
                     .arg(callsign)
                     .arg(QString::fromUtf8(name)));
    }
    // An open order taken at the given date and time, with a driver when callsign is not 0.
    void addOrder(int number, int callsign, const char* date, const char* time)
    {
        db->exec(QStringLiteral("INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_POCHAT_PUNKT, "
                                "ZAMOVL_STATUS_ZAMOVL, ZAMOVL_POZIVNIY, ZAMOVL_DATA_PRIYOMA, "
                                "ZAMOVL_CHAS_PRIYOMA) VALUES (%1, '[Лесі]{2}', 0, %2, '%3', '%4')")
                     .arg(number)
                     .arg(callsign)
                     .arg(QLatin1String(date), QLatin1String(time)));
    }
    static int highlightedRow(QTableView* grid)
    {
        const QModelIndexList rows = grid->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows[0].row() : -1;
    }
    FbDataSet& drivers() { return ws->dani.TABL_ZADIANI_AVTO; }
    FbDataSet& orders() { return ws->dani.TABL_AKTIV_ZAMOVL; }
};

TEST_F(DeskGrids, AGridHighlightsTheListsCurrentRowAfterEveryReopen)
{
    for (int callsign : {11, 12, 13})
        putOnAir(callsign, "Водій");
    QTableView* grid = ws->form1.grid(TForm1::Drivers);
    ASSERT_TRUE(waitFor([&] { return grid->model()->rowCount() == 3; }));
    grid->selectionModel()->setCurrentIndex(grid->model()->index(2, 1),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ASSERT_EQ(drivers().recNo(), 3);

    // Another workstation puts a driver on air: the list closes and reopens at its row.
    putOnAir(14, "Водій");
    ASSERT_TRUE(waitFor([&] { return grid->model()->rowCount() == 4; }));
    EXPECT_EQ(drivers().recNo(), 3);
    EXPECT_EQ(highlightedRow(grid), 2);
    EXPECT_EQ(grid->currentIndex().row(), 2);

    // A sort reopens it too.
    emit ws->form1.sortRequested(TForm1::Drivers, QStringLiteral("ZAD_AVTO_POZIVNIY"));
    EXPECT_EQ(highlightedRow(grid), drivers().recNo() - 1);
}

TEST_F(DeskGrids, AColumnTitleSortsByTheColumnClickedNotTheCurrentOne)
{
    putOnAir(11, "Яків");
    putOnAir(12, "Андрій");
    QTableView* grid = ws->form1.grid(TForm1::Drivers);
    ASSERT_TRUE(waitFor([&] { return grid->model()->rowCount() == 2; }));
    grid->setCurrentIndex(grid->model()->index(0, 0));
    const int driverColumn = 6; // "Водій"
    ASSERT_EQ(grid->model()->headerData(driverColumn, Qt::Horizontal).toString(), QStringLiteral("Водій"));
    QHeaderView* header = grid->horizontalHeader();
    grid->scrollTo(grid->model()->index(0, driverColumn));
    const int x = header->sectionViewportPosition(driverColumn) + header->sectionSize(driverColumn) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    EXPECT_EQ(drivers().sortText, QStringLiteral("ORDER BY ZAD_AVTO_FIO_VODIY"));
    EXPECT_EQ(drivers().valueAt(1, QStringLiteral("ZAD_AVTO_POZIVNIY")).toInt(), 12);
}

TEST_F(DeskGrids, TheDriversAndClosedOrdersGridsTakeSeveralRows)
{
    for (int which : {TForm1::Drivers, TForm1::Executed, TForm1::Deleted})
        EXPECT_EQ(ws->form1.grid(which)->selectionMode(), QAbstractItemView::ExtendedSelection) << which;
    EXPECT_EQ(ws->form1.extraDriversGrid()->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(ws->form1.grid(TForm1::OpenOrders)->selectionMode(), QAbstractItemView::SingleSelection);
}

TEST_F(DeskGrids, TheExtraDriversGridMovesTheDriversList)
{
    ws->settings.setSwitch(SettingsStore::Switch::ExtraDriversPanel, true);
    for (int callsign : {11, 12, 13})
        putOnAir(callsign, "Водій");
    QTableView* extra = ws->form1.extraDriversGrid();
    ASSERT_TRUE(waitFor([&] { return extra->model()->rowCount() == 3; }));
    extra->selectionModel()->setCurrentIndex(extra->model()->index(1, 0),
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EXPECT_EQ(drivers().recNo(), 2);
    EXPECT_EQ(highlightedRow(ws->form1.grid(TForm1::Drivers)), 1); // the other grid follows
    // Del now asks about the driver chosen in the extra grid.
    ws->form1.grid(TForm1::Drivers)->setFocus();
    prompts.answerQuestion(false);
    emit ws->form1.hotKeyPressed(HotKey::Del);
    ASSERT_FALSE(prompts.shown().isEmpty());
    EXPECT_TRUE(prompts.shown().last().text.contains(QStringLiteral("[12]")));
}

TEST_F(DeskGrids, AClickAnywhereInsideARecordPanelChoosesItsOrder)
{
    for (int number = 1; number <= 4; ++number)
        addOrder(number, 0, "08.12.2026", "11:50");
    ASSERT_TRUE(waitFor([&] { return orders().recordCount() == 4; }));
    OrderRecordPanels* panels = ws->form1.recordPanels();
    // A height that is no multiple of 160: the layout spreads the rest between the panels.
    ws->form1.resize(1260, 780 + 150 - panels->height() % 160);
    ASSERT_TRUE(waitFor([&] { return panels->height() % 160 > 100; }));
    ASSERT_GE(panels->panelCount(), 2);
    for (int i = panels->panelCount() - 1; i >= 0; --i) {
        const QRect panel = panels->panelGeometry(i);
        QTest::mouseClick(panels, Qt::LeftButton, {}, QPoint(panel.center().x(), panel.bottom() - 3));
        EXPECT_EQ(orders().recNo(), i + 1)
            << "panel " << i << " at " << panel.top() << ".." << panel.bottom();
    }
    // A click on a caption inside the panel counts as well.
    QLabel* caption = nullptr;
    for (QLabel* label : panels->findChildren<QLabel*>())
        if (label->text() == QStringLiteral("Кінцевий пункт") &&
            panels->panelGeometry(1).contains(label->mapTo(panels, QPoint(1, 1))))
            caption = label;
    ASSERT_NE(caption, nullptr);
    QTest::mouseClick(caption, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(orders().recNo(), 2);
}

TEST_F(DeskGrids, TheNearestStandStripShowsOnlyUnderADueUnassignedChosenOrder)
{
    addOrder(1, 21, "08.12.2026", "11:00"); // carried by driver 21
    addOrder(2, 0, "09.12.2026", "11:00");  // preliminary: tomorrow
    addOrder(3, 0, "08.12.2026", "12:20");  // due: within the 30 minutes' lead
    ASSERT_TRUE(waitFor([&] { return orders().recordCount() == 3; }));
    QWidget* strip = ws->form1.nearestStandStrip();
    auto choose = [&](int number) {
        for (int row = 1; row <= orders().recordCount(); ++row)
            if (orders().valueAt(row, QStringLiteral("ZAMOVL_NUMBER")).toInt() == number)
                orders().moveTo(row);
    };
    choose(1);
    EXPECT_FALSE(strip->isVisible());
    choose(2);
    EXPECT_FALSE(strip->isVisible());
    choose(3);
    EXPECT_TRUE(strip->isVisible());

    ws->form1.orderViews()->setCurrentIndex(int(DataModuleView::OrdersPage::ShortGrid));
    EXPECT_FALSE(strip->isVisible());
    ws->form1.orderViews()->setCurrentIndex(int(DataModuleView::OrdersPage::Panels));
    EXPECT_TRUE(strip->isVisible());

    // The orders are closed elsewhere: the strip goes, and the scroll reaction that follows
    // the reopen does not bring it back.
    db->exec(QStringLiteral("UPDATE ZAMOVLENNIA SET ZAMOVL_STATUS_ZAMOVL = 1"));
    ASSERT_TRUE(waitFor([&] { return orders().isOpen() && orders().isEmpty(); }));
    EXPECT_FALSE(strip->isVisible());
}

// A double-click on a record panel leads where the value under the pointer says: the
// callsign to the car card, the client code to the client card, a place to the map, the
// status square folds the facts, anywhere else edits the order; the nearest-stand strip
// edits the chosen order too.
TEST_F(DeskGrids, ADoubleClickOnARecordPanelLeadsWhereItsValueSays)
{
    putOnAir(21, "Шевчук");
    addOrder(1, 21, "08.12.2026", "11:50");
    addOrder(2, 0, "08.12.2026", "11:55");
    db->exec(QStringLiteral("UPDATE ZAMOVLENNIA SET ZAMOVL_NOMER_KLIENT = 37 WHERE ZAMOVL_NUMBER = 1"));
    ASSERT_TRUE(waitFor([&] { return orders().recordCount() == 2; }));
    OrderRecordPanels* panels = ws->form1.recordPanels();
    ASSERT_GE(panels->panelCount(), 2);
    const int firstRow = orders().valueAt(1, QStringLiteral("ZAMOVL_NUMBER")).toInt() == 1 ? 1 : 2;
    auto valueOnPanel = [&](int panel, const QString& text) -> QLabel* {
        for (QLabel* label : panels->findChildren<QLabel*>())
            if (label->text() == text && label->isVisible() &&
                panels->panelGeometry(panel).contains(label->mapTo(panels, QPoint(1, 1))))
                return label;
        return nullptr;
    };
    const int panel = firstRow - 1;
    QLabel* callsign = valueOnPanel(panel, QStringLiteral("21"));
    ASSERT_NE(callsign, nullptr);
    QTest::mouseDClick(callsign, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(ws->form5->isVisible());
    ws->form5->close();

    orders().moveTo(firstRow == 1 ? 2 : 1); // the double-click chooses its own order first
    QLabel* client = valueOnPanel(panel, QStringLiteral("37"));
    ASSERT_NE(client, nullptr);
    QTest::mouseDClick(client, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(orders().recNo(), firstRow);
    EXPECT_TRUE(ws->form2.isVisible());
    ws->form2.close();

    QLabel* pickup = valueOnPanel(panel, QStringLiteral("[Лесі]{2}"));
    ASSERT_NE(pickup, nullptr);
    QTest::mouseDClick(pickup, Qt::LeftButton, {}, QPoint(2, 2));
    // This desk has no city map: the place is searched on the online map.
    ASSERT_EQ(shell.opened().size(), 1);
    EXPECT_TRUE(shell.opened()[0].toString(QUrl::FullyEncoded).contains(QStringLiteral("?text=")));

    const QRect frame = panels->panelGeometry(panel);
    EXPECT_FALSE(panels->compact());
    QTest::mouseDClick(panels, Qt::LeftButton, {}, frame.topLeft() + QPoint(12, 12)); // the status square
    EXPECT_TRUE(panels->compact());
    EXPECT_FALSE(ws->form11->isVisible());

    QTest::mouseDClick(panels, Qt::LeftButton, {}, QPoint(frame.right() - 3, frame.bottom() - 3));
    EXPECT_TRUE(ws->form11->isVisible());
    ws->form11->close();

    // The unassigned order is due: the strip shows under it and edits it.
    orders().moveTo(firstRow == 1 ? 2 : 1);
    ASSERT_TRUE(ws->form1.nearestStandStrip()->isVisible());
    QTest::mouseDClick(ws->form1.nearestStandStrip(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(ws->form11->isVisible());
    ws->form11->close();
}

TEST_F(DeskGrids, EnterOnTheDriversAndExecutedGridsDoesWhatTheirDoubleClickDoes)
{
    putOnAir(21, "Шевчук");
    ASSERT_TRUE(waitFor([&] { return drivers().recordCount() == 1; }));
    QTableView* grid = ws->form1.grid(TForm1::Drivers);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_TRUE(ws->form5->isVisible());
    ws->form5->close();

    db->exec(QStringLiteral("INSERT INTO CLOSEZAMOVLENNIA (CZ_NUMBER, CZ_STATUS_ZAMOVL, CZ_DATA_PRIYOMA, "
                            "CZ_CHAS_PRIYOMA, CZ_POCHAT_PUNKT) VALUES (7, 1, '08.12.2026', '11:00', "
                            "'[Лесі]{2}')"));
    ws->form1.mainTabs()->setCurrentIndex(1);
    ASSERT_TRUE(waitFor([&] { return ws->dani.TABL_VIKON_ZAMOVL.recordCount() == 1; }));
    QTableView* executed = ws->form1.grid(TForm1::Executed);
    executed->setFocus();
    QTest::keyClick(executed, Qt::Key_Enter);
    EXPECT_TRUE(ws->form11->isVisible());
    // The archived orders' page, with its balance group and without the closing one.
    using Group = OrderMaintenanceRequest::Group;
    EXPECT_TRUE(ws->form11->group(Group::Balance)->isVisibleTo(ws->form11.get()));
    EXPECT_EQ(ws->form11->group(Group::Close), nullptr);
    EXPECT_EQ(ws->form11->headerValue(QStringLiteral("Номер замовлення")), QStringLiteral("7"));
    ws->form11->close();
}

// Ctrl+B opens the maintenance window on the chosen order and asks to close it at once;
// the window shows the order's header and only the groups of an order with a driver.
TEST_F(DeskGrids, CtrlBClosesTheChosenOrderThroughTheMaintenanceWindow)
{
    putOnAir(21, "Шевчук");
    db->exec(QStringLiteral("UPDATE ZADIANI_AVTO SET ZAD_AVTO_NOMER_ZAMOVL = 1, ZAD_AVTO_ZADIANIST = 1"));
    addOrder(1, 21, "08.12.2026", "11:50");
    db->exec(QStringLiteral("UPDATE ZAMOVLENNIA SET ZAMOVL_FIO_TAXI = 'Шевчук', ZAMOVL_BEZKOSHTOVN = 'HI', "
                            "ZAMOVL_NOMER_KLIENT = 0 WHERE ZAMOVL_NUMBER = 1"));
    ASSERT_TRUE(waitFor([&] { return orders().recordCount() == 1; }));
    prompts.clear();
    prompts.answerQuestion(true);
    emit ws->form1.hotKeyPressed(HotKey::CtrlB);
    ASSERT_FALSE(prompts.questions().isEmpty());
    EXPECT_EQ(prompts.questions()[0], QStringLiteral("Закрити вибране замовлення ?"));
    EXPECT_EQ(ws->form11->headerValue(QStringLiteral("Номер замовлення")), QStringLiteral("1"));
    EXPECT_EQ(ws->form11->headerValue(QStringLiteral("Позивний")), QStringLiteral("21"));
    EXPECT_EQ(
        db->scalar(QStringLiteral("SELECT ZAMOVL_STATUS_ZAMOVL FROM ZAMOVLENNIA WHERE ZAMOVL_NUMBER = 1")),
        1);
    EXPECT_FALSE(ws->form11->isVisible()); // closed after the order was closed
    using Group = OrderMaintenanceRequest::Group;
    EXPECT_FALSE(ws->form11->group(Group::Deletion)->isVisibleTo(ws->form11.get()));
    EXPECT_TRUE(ws->form11->group(Group::Close)->isVisibleTo(ws->form11.get()));
}

// The maintenance window's recalculation reopens the order in the order form to edit
// its route and sum: the order page at its first step, saving as an edit.
TEST_F(DeskGrids, RecalculatingAnOrderOpensItInTheOrderFormForEditing)
{
    addOrder(1, 0, "08.12.2026", "11:50");
    ASSERT_TRUE(waitFor([&] { return orders().recordCount() == 1; }));
    emit ws->form1.gridDoubleClicked(TForm1::OpenOrders);
    ASSERT_TRUE(ws->form11->isVisible());
    ws->maintenance.run(OrderMaintenanceController::Command::Recalculate);
    EXPECT_FALSE(ws->form11->isVisible());
    ASSERT_TRUE(ws->form2.isVisible());
    EXPECT_EQ(ws->form2.view()->pageName(), QStringLiteral("CreateZam"));
    EXPECT_EQ(ws->form2.view()->stepName(), QStringLiteral("STEP_1"));
    EXPECT_EQ(ws->form2.view()->saveButton()->text(), QStringLiteral("Редагувати"));
    ws->form2.close();
}
