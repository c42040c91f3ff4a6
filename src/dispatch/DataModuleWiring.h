#pragma once

#include "dispatch/NearestStandDisplay.h"

#include <QObject>

struct DispatchContext;

// The dispatch layer's answers to what the data module announces: the order counters
// and the hot list after open orders changed, the nearest stand after the drivers or the
// current open order changed. A failed read is shown; the rest of the alert goes on.
// Lives as long as the data module is connected to it; disconnects on destruction.
class DataModuleWiring : public QObject
{
    Q_OBJECT
public:
    explicit DataModuleWiring(DispatchContext& ctx, QObject* parent = nullptr);

    NearestStandDisplay& nearestStand() { return m_nearestStand; }

private:
    void refreshOrders();

    DispatchContext& m_ctx;
    NearestStandDisplay m_nearestStand;
};
