#pragma once

#include <QDate>
#include <QString>

struct DispatchContext;

// Opens every list of the main window that is closed and shown, with its current filter
// and sort, at its remembered row. Open lists are left alone. Throws DbError.
void RefreshLists(DispatchContext& ctx);

// The WHERE clause of the executed (status 1) or deleted (status -1) orders of a period.
// With a roll-call time other than "00:00" the period runs from the roll call of the
// first day to the roll call of the last: on the first day an order counts when its
// minute is after the roll call, on the last day when it is not. Expressed as date and
// time conditions, so any number of orders may fall into the period.
QString ClosedOrdersFilter(int status, const QDate& from, const QDate& to, const QString& rollCall);
