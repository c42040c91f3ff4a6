#pragma once

#include "foundation/DataModuleView.h"
#include "mainwindow/HotKeys.h"
#include "mainwindow/ui/ListGrid.h"

#include <QMainWindow>

class ClosedOrdersPanel;
class DataSetTableModel;
class DriversPanel;
class HotOrdersPage;
class OrderRecordPanels;
class QDateEdit;
class QHBoxLayout;
class QLabel;
class QTabWidget;
class QTableView;
class QToolBar;
struct DispatchContext;
struct DispatcherRights;
struct HotOrderDetails;

// The main window: the dispatcher's desk, laid out of its panels. Before a dispatcher has
// logged in, closing it ends the program; afterwards it stays open and tells whoever
// decides (closeRefusedOnShift) until it is let go (allowClose).
class TForm1 : public QMainWindow, public DataModuleView
{
    Q_OBJECT
public:
    static const QString kNobodyLoggedIn; // "ФІО ДИСПЕТЧЕРА"

    explicit TForm1(QWidget* parent = nullptr);

    QString dispatcherName() const;
    bool loggedIn() const;
    QTabWidget* mainTabs() const { return m_mainTabs; }
    QTabWidget* orderViews() const { return m_orderViews; }
    HotOrdersPage* hotPage() const { return m_hotPage; }

    // Shows the lists of the data module in the window's grids.
    void attachLists(DispatchContext& ctx);
    // Picks up lists that were opened or closed meanwhile.
    void reloadLists();
    void applyLogIn(const QString& dispatcher, const DispatcherRights& rights);
    void setPeriod(const QDate& from, const QDate& to);
    // The roll call time beside both dates of the period, on both closed-order tabs.
    void showPeriodTimes(const QString& rollCall);
    QString shownPeriodTime() const;
    void setDriversGroupVisible(bool visible);
    void setGprsPanelVisible(bool visible);
    void setExtraDriversPanelVisible(bool visible);
    void showClock(const QDateTime& now);
    DataSetTableModel* model(int which) const { return m_models.value(which); }
    enum Model { OpenOrders, Drivers, Stands, GprsActions, Executed, Deleted };
    QTableView* grid(int which) const { return m_grids.value(which); }
    QTableView* extraDriversGrid() const { return m_extraDriversGrid; }
    QToolBar* driverTools() const;
    QToolBar* orderTools() const { return m_orderTools; }
    QToolBar* bottomTools() const { return m_bottomTools; }
    QToolBar* executedTools() const;
    ClosedOrdersPanel* closedOrders(ClosedList list) const
    {
        return m_closed[list == ClosedList::Executed ? 0 : 1];
    }
    // The drivers group shows the full list (page 0) or the stands (page 1).
    bool driversPageShown() const;
    QTabWidget* driverPages() const;
    OrderRecordPanels* recordPanels() const { return m_panels; }
    QWidget* nearestStandStrip() const { return m_nearestPanel; }
    void setOrderFilters(bool onlyToHandOut, bool onlyCarried);
    // The state the hot keys are decided in.
    HotKeyState hotKeyState() const;

    // The dispatcher's telephone: its strip, which shows and hides itself, in a row above
    // the bottom bar, and the options for incoming calls in the top bar.
    void setSoftphoneStrip(QWidget* strip, QWidget* options);

    // From now on the window closes even with somebody on shift: the program is ending.
    void allowClose() { m_closeAllowed = true; }
    DriversPanel* driversPanel() const { return m_drivers; }

    // DataModuleView
    void setMainCaption(const QString& caption) override;
    OrdersPage ordersPage() const override;
    QString shownNearestStand() const override;
    void showNearestStand(const QString& stand, const QString& firstDriver) override;
    void setNearestStandPanelVisible(bool visible) override;
    void showExecutedCount(qint64 count) override;
    void showClosedOrderDetails(ClosedList list, const ClosedOrderDetails& details) override;
    PageState pageState() const override;
    void showOrderCounters(int inExecution, int hot, int preliminary) override;

signals:
    void shiftChangeRequested();
    void settingsRequested();
    // A page was changed: the lists it shows must be opened.
    void listsNeeded();
    // The period of the executed and deleted orders changed.
    void periodChanged();
    void hotOrderChosen(const QString& line);
    void distributionRequested();
    // A column title of a grid was clicked: the grid's model and the field of the column.
    void sortRequested(int model, const QString& field);
    void hotKeyPressed(HotKey key);
    // A row of a grid was double-clicked.
    void gridDoubleClicked(int model);
    // Enter on a grid.
    void gridEnterPressed(int model);
    // The first driver of the nearest stand, shown under the chosen order, was clicked.
    void nearestFirstDriverClicked(const QString& shownDriver);
    // The window was to close while a dispatcher is on shift; it stayed open.
    void closeRefusedOnShift();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildTopBar();
    QWidget* buildActiveOrdersTab();
    void updateNearestStrip();
    QTableView* addGrid(QWidget* parent, DataSetTableModel* model, ListGrid::Rows rows);

    QLabel* m_dispatcher = nullptr;
    QLabel* m_clock = nullptr;
    QTabWidget* m_mainTabs = nullptr;
    QTabWidget* m_orderViews = nullptr;
    HotOrdersPage* m_hotPage = nullptr;
    OrderRecordPanels* m_panels = nullptr;
    QWidget* m_nearestPanel = nullptr;
    QLabel* m_nearestStand = nullptr;
    QLabel* m_firstDriver = nullptr;
    QLabel* m_orderCounters = nullptr;
    ClosedOrdersPanel* m_closed[2] = {};
    DriversPanel* m_drivers = nullptr;
    QWidget* m_extraDriversPanel = nullptr;
    QWidget* m_orderGrids[2] = {};
    QList<DataSetTableModel*> m_models;
    QList<QTableView*> m_grids;
    ListGrid* m_extraDriversGrid = nullptr;
    QToolBar* m_orderTools = nullptr;
    QToolBar* m_bottomTools = nullptr;
    QHBoxLayout* m_topLayout = nullptr;
    bool m_closeAllowed = false;
    bool m_onlyToHandOut = false;
    bool m_onlyCarried = false;
    QDate m_periodFrom = QDate::currentDate();
    QDate m_periodTo = QDate::currentDate();
};
