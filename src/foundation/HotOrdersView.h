#pragma once

#include <QList>
#include <QString>
#include <optional>

// The hot orders page as the list refresh and the nearest-stand display use it: the
// coloured list with its chosen line, and the chosen order's nearest stand.
// The hot orders page implements it; tests use a recording one.
class HotOrdersView
{
public:
    struct HotSelection
    {
        qint64 orderNumber = 0;
        QString pickup;
    };

    struct HotOrderLine
    {
        QString text;
        quint32 rgb = 0xFFFFFF; // red 0xFF0000 for overdue orders, white for the others
        bool operator==(const HotOrderLine&) const = default;
    };

    virtual ~HotOrdersView() = default;

    virtual std::optional<HotSelection> selectedHotOrder() const = 0;
    // Nearest stand of the chosen hot order and its first driver ("не задано" for none).
    virtual QString shownHotNearestStand() const = 0;
    virtual void showHotNearestStand(const QString& stand, const QString& firstDriver) = 0;
    virtual void clearHotOrderDetails() = 0;
    virtual int selectedHotLine() const = 0; // -1 when none
    virtual void showHotOrders(const QList<HotOrderLine>& lines, int selectLine) = 0;
};

// Shows nothing: the data module's hot orders before the windows are wired.
class NullHotOrdersView : public HotOrdersView
{
public:
    std::optional<HotSelection> selectedHotOrder() const override { return std::nullopt; }
    QString shownHotNearestStand() const override { return {}; }
    void showHotNearestStand(const QString&, const QString&) override {}
    void clearHotOrderDetails() override {}
    int selectedHotLine() const override { return -1; }
    void showHotOrders(const QList<HotOrderLine>&, int) override {}
};
