#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// What the data module and the dispatch operations show and ask of the main window: its
// caption, the pages shown, the nearest-stand texts, the counters and the details beside
// the lists. The hot orders page, the drivers group and the messages window have their
// own (HotOrdersView, DriversGroupView, MessagesView).
// The main window implements it; tests use a recording one.
class DataModuleView
{
public:
    enum class OrdersPage { Panels = 0, ShortGrid = 1, Hot = 2 };
    enum class ClosedList { Executed, Deleted };

    struct ClosedOrderDetails
    {
        QString reason; // CZ_PRICHINA_DELETE
        QString clientName, clientAddress, clientPhone;
        QString driverName, driverAddress, driverPhone, car;
    };

    // What the list refresh needs to know of the main window.
    struct PageState
    {
        int mainPage = 0; // 0 dispatch, 1 executed orders, 2 deleted orders
        bool driversGroupVisible = true;
        bool extraDriversPanelVisible = false;
        QDate from; // the period of the executed and deleted orders
        QDate to;
        bool onlyCarried = false;            // show only orders carried by drivers
        bool onlyToHandOut = false;          // show only orders still to be handed out
        std::optional<qint64> hotOrderShown; // number in the hot order's details
    };

    virtual ~DataModuleView() = default;

    virtual void setMainCaption(const QString& caption) = 0;

    virtual OrdersPage ordersPage() const = 0;

    // Nearest stand and its first driver under the order grid ("не задано" for none).
    virtual QString shownNearestStand() const = 0;
    virtual void showNearestStand(const QString& stand, const QString& firstDriver) = 0;
    virtual void setNearestStandPanelVisible(bool visible) = 0;

    virtual void showExecutedCount(qint64 count) = 0;
    virtual void showClosedOrderDetails(ClosedList list, const ClosedOrderDetails& details) = 0;

    virtual PageState pageState() const = 0;
    virtual void showOrderCounters(int inExecution, int hot, int preliminary) = 0;
};

// A view that shows nothing: the data module's state before the windows are wired.
class NullDataModuleView : public DataModuleView
{
public:
    void setMainCaption(const QString&) override {}
    OrdersPage ordersPage() const override { return OrdersPage::Panels; }
    QString shownNearestStand() const override { return {}; }
    void showNearestStand(const QString&, const QString&) override {}
    void setNearestStandPanelVisible(bool) override {}
    void showExecutedCount(qint64) override {}
    void showClosedOrderDetails(ClosedList, const ClosedOrderDetails&) override {}
    PageState pageState() const override { return {}; }
    void showOrderCounters(int, int, int) override {}
};
