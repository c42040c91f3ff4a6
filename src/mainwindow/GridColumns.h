#pragma once

#include <QString>
#include <QVector>

// The columns a grid shows of its list, in order: the field and its title.
struct GridColumn
{
    QString field;
    QString title;
};
using GridColumns = QVector<GridColumn>;

namespace GridLayouts {
GridColumns openOrders();
GridColumns drivers();
GridColumns stands();
GridColumns gprsActions();
GridColumns executedOrders();
GridColumns deletedOrders();
} // namespace GridLayouts
