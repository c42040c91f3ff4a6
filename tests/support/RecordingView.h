#pragma once

#include "foundation/DataModuleView.h"
#include "foundation/DriversGroupView.h"
#include "foundation/HotOrdersView.h"
#include "foundation/MessagesView.h"

#include <QStringList>

// A main window stand-in that remembers what the data module showed on the desk, the
// hot orders page, the drivers group and the messages window.
class RecordingView : public DataModuleView,
                      public HotOrdersView,
                      public DriversGroupView,
                      public MessagesView
{
public:
    QString caption;
    OrdersPage page = OrdersPage::Panels;
    bool standGrid = false;
    int standGridRepaints = 0;
    QString nearestStand = QStringLiteral("не задано");
    QString firstDriver = QStringLiteral("не задано");
    int nearestStandShows = 0;
    bool nearestPanelVisible = true;
    std::optional<HotSelection> hotSelection;
    QString hotStand = QStringLiteral("не задано");
    QString hotDriver = QStringLiteral("не задано");
    qint64 executedCount = -1;
    int counters[4] = {-1, -1, -1, -1};
    ClosedOrderDetails closed[2];
    PageState state;
    int hotDetailsCleared = 0;
    int orderCounters[3] = {-1, -1, -1};
    QList<HotOrderLine> hotLines;
    int hotSelected = -1;
    bool messagesShowing = false;
    int messagesFormOpened = 0;
    QStringList messageLines; // top first

    void setMainCaption(const QString& c) override { caption = c; }
    OrdersPage ordersPage() const override { return page; }
    bool standGridShown() const override { return standGrid; }
    void repaintStandGrid() override { ++standGridRepaints; }
    QString shownNearestStand() const override { return nearestStand; }
    void showNearestStand(const QString& s, const QString& d) override
    {
        nearestStand = s;
        firstDriver = d;
        ++nearestStandShows;
    }
    void setNearestStandPanelVisible(bool v) override { nearestPanelVisible = v; }
    std::optional<HotSelection> selectedHotOrder() const override { return hotSelection; }
    QString shownHotNearestStand() const override { return hotStand; }
    void showHotNearestStand(const QString& s, const QString& d) override
    {
        hotStand = s;
        hotDriver = d;
    }
    void showExecutedCount(qint64 c) override { executedCount = c; }
    void showStandCounters(int a, int b, int c, int d) override
    {
        counters[0] = a;
        counters[1] = b;
        counters[2] = c;
        counters[3] = d;
    }
    void showClosedOrderDetails(ClosedList l, const ClosedOrderDetails& d) override
    {
        closed[l == ClosedList::Executed ? 0 : 1] = d;
    }
    PageState pageState() const override { return state; }
    void clearHotOrderDetails() override { ++hotDetailsCleared; }
    void showOrderCounters(int a, int b, int c) override
    {
        orderCounters[0] = a;
        orderCounters[1] = b;
        orderCounters[2] = c;
    }
    int selectedHotLine() const override { return hotSelected; }
    void showHotOrders(const QList<HotOrderLine>& lines, int select) override
    {
        hotLines = lines;
        hotSelected = select;
    }
    bool messagesFormShowing() const override { return messagesShowing; }
    void showMessagesForm() override
    {
        messagesShowing = true;
        ++messagesFormOpened;
    }
    void insertMessageLineAtTop(const QString& line) override { messageLines.prepend(line); }
};
