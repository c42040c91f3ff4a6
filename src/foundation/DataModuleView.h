#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What the data module shows and asks of the windows: the main window's caption, the
// nearest-stand texts, the counters and details beside the lists, and the messages form.
// The main window implements it; tests use a recording one.
class DataModuleView
{
public:
    enum class OrdersPage { Panels = 0, ShortGrid = 1, Hot = 2 };
    enum class ClosedList { Executed, Deleted };

    struct ClosedOrderDetails
    {
        QString reason;                         // CZ_PRICHINA_DELETE
        QString clientName, clientAddress, clientPhone;
        QString driverName, driverAddress, driverPhone, car;
    };

    struct HotSelection
    {
        qint64 orderNumber = 0;
        QString pickup;
    };

    virtual ~DataModuleView() = default;

    virtual void setMainCaption(const QString& caption) = 0;

    virtual OrdersPage ordersPage() const = 0;
    virtual bool standGridShown() const = 0;
    virtual void repaintStandGrid() = 0;

    // Nearest stand and its first driver under the order grid ("не задано" for none).
    virtual QString shownNearestStand() const = 0;
    virtual void showNearestStand(const QString& stand, const QString& firstDriver) = 0;
    virtual void setNearestStandPanelVisible(bool visible) = 0;
    // The same on the hot orders page.
    virtual std::optional<HotSelection> selectedHotOrder() const = 0;
    virtual QString shownHotNearestStand() const = 0;
    virtual void showHotNearestStand(const QString& stand, const QString& firstDriver) = 0;

    virtual void showExecutedCount(qint64 count) = 0;
    virtual void showStandCounters(int onAir, int gprs, int free, int freeAtStand) = 0;
    virtual void showClosedOrderDetails(ClosedList list, const ClosedOrderDetails& details) = 0;

    virtual bool messagesFormShowing() const = 0;
    virtual void showMessagesForm() = 0;
    // Inserts one line at the top of the messages form's text.
    virtual void insertMessageLineAtTop(const QString& line) = 0;
};

// A view that shows nothing: the data module's state before the windows are wired.
class NullDataModuleView : public DataModuleView
{
public:
    void setMainCaption(const QString&) override {}
    OrdersPage ordersPage() const override { return OrdersPage::Panels; }
    bool standGridShown() const override { return false; }
    void repaintStandGrid() override {}
    QString shownNearestStand() const override { return {}; }
    void showNearestStand(const QString&, const QString&) override {}
    void setNearestStandPanelVisible(bool) override {}
    std::optional<HotSelection> selectedHotOrder() const override { return std::nullopt; }
    QString shownHotNearestStand() const override { return {}; }
    void showHotNearestStand(const QString&, const QString&) override {}
    void showExecutedCount(qint64) override {}
    void showStandCounters(int, int, int, int) override {}
    void showClosedOrderDetails(ClosedList, const ClosedOrderDetails&) override {}
    bool messagesFormShowing() const override { return false; }
    void showMessagesForm() override {}
    void insertMessageLineAtTop(const QString&) override {}
};
