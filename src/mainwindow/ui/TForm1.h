#pragma once

#include "foundation/DataModuleView.h"
#include "mainwindow/HotKeys.h"
#include "mainwindow/ui/ListGrid.h"

#include <QMainWindow>
#include <functional>

class ClosedOrdersPanel;
class DataSetTableModel;
class HotOrdersPage;
class OrderRecordPanels;
class QDateEdit;
class QLabel;
class QTabWidget;
class QTableView;
class QToolBar;
struct DispatchContext;
struct DispatcherRights;
struct HotOrderDetails;

// The main window: the dispatcher's desk. Before a dispatcher has logged in, closing it
// ends the program; afterwards closeGuard decides.
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
    QToolBar* driverTools() const { return m_driverTools; }
    QToolBar* orderTools() const { return m_orderTools; }
    QToolBar* bottomTools() const { return m_bottomTools; }
    QToolBar* executedTools() const;
    ClosedOrdersPanel* closedOrders(ClosedList list) const
    {
        return m_closed[list == ClosedList::Executed ? 0 : 1];
    }
    // The drivers group shows the full list (page 0) or the stands (page 1).
    bool driversPageShown() const;
    QTabWidget* driverPages() const { return m_driverPages; }
    OrderRecordPanels* recordPanels() const { return m_panels; }
    QWidget* nearestStandStrip() const { return m_nearestPanel; }
    void setOrderFilters(bool onlyToHandOut, bool onlyCarried);
    // The state the hot keys are decided in.
    HotKeyState hotKeyState() const;

    // Asked when the window is to close while somebody is logged in; false keeps it open.
    std::function<bool()> closeGuard;

    // DataModuleView
    void setMainCaption(const QString& caption) override;
    OrdersPage ordersPage() const override;
    bool standGridShown() const override { return !driversPageShown(); }
    void repaintStandGrid() override;
    QString shownNearestStand() const override;
    void showNearestStand(const QString& stand, const QString& firstDriver) override;
    void setNearestStandPanelVisible(bool visible) override;
    std::optional<HotSelection> selectedHotOrder() const override;
    QString shownHotNearestStand() const override;
    void showHotNearestStand(const QString& stand, const QString& firstDriver) override;
    void showExecutedCount(qint64 count) override;
    void showStandCounters(int onAir, int gprs, int free, int freeAtStand) override;
    void showClosedOrderDetails(ClosedList list, const ClosedOrderDetails& details) override;
    PageState pageState() const override;
    void clearHotOrderDetails() override;
    void showOrderCounters(int inExecution, int hot, int preliminary) override;
    int selectedHotLine() const override;
    void showHotOrders(const QList<HotOrderLine>& lines, int selectLine) override;

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
    QLabel* m_standCounters = nullptr;
    QLabel* m_orderCounters = nullptr;
    ClosedOrdersPanel* m_closed[2] = {};
    QWidget* m_driversGroup = nullptr;
    QWidget* m_gprsPanel = nullptr;
    QWidget* m_extraDriversPanel = nullptr;
    QWidget* m_orderGrids[2] = {};
    QList<DataSetTableModel*> m_models;
    QList<QTableView*> m_grids;
    ListGrid* m_extraDriversGrid = nullptr;
    QTabWidget* m_driverPages = nullptr;
    QToolBar* m_driverTools = nullptr;
    QToolBar* m_orderTools = nullptr;
    QToolBar* m_bottomTools = nullptr;
    bool m_onlyToHandOut = false;
    bool m_onlyCarried = false;
    QDate m_periodFrom = QDate::currentDate();
    QDate m_periodTo = QDate::currentDate();
};
