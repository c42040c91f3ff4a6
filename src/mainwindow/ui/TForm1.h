#pragma once

#include "foundation/DataModuleView.h"

#include <QMainWindow>

class DataSetTableModel;
class QLabel;
class QTabWidget;
class QTableView;
class TDANI;
class TForm12;
struct DispatcherRights;

// The main window: the dispatcher's desk. Closing it before a dispatcher has logged in
// ends the program.
class TForm1 : public QMainWindow, public DataModuleView
{
    Q_OBJECT
public:
    static const QString kNobodyLoggedIn; // "ФІО ДИСПЕТЧЕРА"

    explicit TForm1(QWidget* parent = nullptr);
    void setMessagesForm(TForm12* form) { m_messages = form; }

    QString dispatcherName() const;
    bool loggedIn() const;
    // Shows the lists of the data module in the window's grids.
    void attachLists(TDANI& dani);
    // Picks up lists that were opened or closed meanwhile.
    void reloadLists();
    void applyLogIn(const QString& dispatcher, const DispatcherRights& rights);
    void setPeriod(const QDate& from, const QDate& to);
    void setDriversGroupVisible(bool visible);
    QTabWidget* mainTabs() const { return m_mainTabs; }
    QTabWidget* orderViews() const { return m_orderViews; }

    // DataModuleView
    void setMainCaption(const QString& caption) override;
    OrdersPage ordersPage() const override;
    bool standGridShown() const override { return false; }
    void repaintStandGrid() override {}
    QString shownNearestStand() const override;
    void showNearestStand(const QString& stand, const QString& firstDriver) override;
    void setNearestStandPanelVisible(bool visible) override;
    std::optional<HotSelection> selectedHotOrder() const override { return std::nullopt; }
    QString shownHotNearestStand() const override;
    void showHotNearestStand(const QString& stand, const QString& firstDriver) override;
    void showExecutedCount(qint64 count) override;
    void showStandCounters(int onAir, int gprs, int free, int freeAtStand) override;
    void showClosedOrderDetails(ClosedList list, const ClosedOrderDetails& details) override;
    PageState pageState() const override;
    void clearHotOrderDetails() override {}
    void showOrderCounters(int inExecution, int hot, int preliminary) override;
    int selectedHotLine() const override { return -1; }
    void showHotOrders(const QList<HotOrderLine>&, int) override {}
    bool messagesFormShowing() const override;
    void showMessagesForm() override;
    void insertMessageLineAtTop(const QString& line) override;

signals:
    void shiftChangeRequested();
    void settingsRequested();
    // A page was changed: the lists it shows must be opened.
    void listsNeeded();

private:
    QWidget* buildTopBar();
    QWidget* buildActiveOrdersTab();
    QTableView* addGrid(QWidget* parent, DataSetTableModel* model);

    QLabel* m_dispatcher = nullptr;
    QLabel* m_clock = nullptr;
    QTabWidget* m_mainTabs = nullptr;
    QTabWidget* m_orderViews = nullptr;
    QWidget* m_nearestPanel = nullptr;
    QLabel* m_nearestStand = nullptr;
    QLabel* m_firstDriver = nullptr;
    QLabel* m_hotNearestStand = nullptr;
    QLabel* m_hotFirstDriver = nullptr;
    QLabel* m_executedCount = nullptr;
    QLabel* m_standCounters = nullptr;
    QLabel* m_orderCounters = nullptr;
    QLabel* m_closedDetails[2] = {};
    TForm12* m_messages = nullptr;
    QWidget* m_driversGroup = nullptr;
    QWidget* m_orderGrids[2] = {};
    QWidget* m_closedGrids[2] = {};
    QList<DataSetTableModel*> m_models;
    QDate m_from = QDate::currentDate();
    QDate m_to = QDate::currentDate();
};
