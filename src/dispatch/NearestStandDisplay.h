#pragma once

#include <QString>

struct DispatchContext;

// The nearest stand with a free driver and the head of its queue, as the main window
// shows them under the open orders and on the hot orders page. The stand found is kept
// in the data module's NearestStand, which the assignment commands read.
class NearestStandDisplay
{
public:
    explicit NearestStandDisplay(DispatchContext& ctx) : m_ctx(ctx) {}

    // For the current open order; an assigned order or an empty list shows none.
    // Throws DbError.
    void showForCurrentOrder();
    // For the order chosen on the hot page, by its pick-up point (empty: none chosen).
    // The queue is read again only when the stand shown changes. Throws DbError.
    void showForHotOrder(const QString& pickup);
    // The open orders list moved: followed on the pages that show the stand.
    void followCurrentOrder();
    // The drivers on air changed: the stand, or only the head of its queue, may differ.
    void followDriversChange();

private:
    QString nearestFor(const QString& pickup);
    QString firstDriverText(const QString& stand);
    bool currentOrderWaits() const;

    DispatchContext& m_ctx;
    QString m_shownFirstDriver;
};
