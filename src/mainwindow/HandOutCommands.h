#pragma once

#include "foundation/DataModuleView.h"
#include "foundation/HotOrdersView.h"

#include <QString>
#include <optional>

struct DispatchContext;

// The main window's commands that give an order to a driver: the drivers menu's default
// item with its caption, a click on the first driver of the nearest stand, the choice of
// a car at a stand, and the pick-up of a coded client a driver took on the road. Each
// hand-out ends in AssignOrderToDriver; a lost race says who has the order now.
class HandOutCommands
{
public:
    static const QString kChangedMessage;
    static const QString kNotAtStandMessage;

    explicit HandOutCommands(DispatchContext& ctx) : m_ctx(ctx) {}

    // What the order views show: their page, and the chosen hot order on the hot page.
    struct Shown
    {
        DataModuleView::OrdersPage page = DataModuleView::OrdersPage::Panels;
        std::optional<HotOrdersView::HotSelection> hotOrder;
    };

    // The drivers menu's default item, computed as the menu opens.
    QString assignmentCaption(const Shown& shown) const;
    // The item was chosen: asks its caption as a question and hands the order out.
    bool assignByCaption(const QString& caption);
    // A click on the first driver shown for the current open order (the nearest-stand
    // strip) or for the chosen hot order.
    bool assignFirstDriver(const QString& shownDriver, const Shown& shown);
    // Double-click or Enter on the stand grid: a callsign of the stand's queue for the
    // current (or chosen hot) order.
    bool chooseCarAtStand(const Shown& shown, bool byEnter);
    // "Створити підсадку кодованого клієнта до вибраного позивного".
    bool createPickUp();

private:
    struct Order
    {
        qint64 number = 0;
        QString pickup;
    };
    // The order the lists offer for hand-out: due and without a driver on the record
    // panels and the short grid, the chosen one on the hot page.
    std::optional<Order> offeredOrder(const Shown& shown) const;
    bool dueWithoutDriver() const;
    bool askAndAssign(qint64 callsign, const Order& order);
    bool assign(qint64 callsign, qint64 orderNumber);

    DispatchContext& m_ctx;
};
