#pragma once

#include <QString>

class FbDataSet;
struct DispatchContext;

// Sorting a list by the field of the grid's current column when a column title is
// clicked. Always ascending.
class ListSorting
{
public:
    explicit ListSorting(DispatchContext& ctx) : m_ctx(ctx) {}

    // The executed or deleted orders list: sets its sort text, closes it and refreshes
    // the lists. The drivers list: sets its order clause and reopens it at once.
    // A field that is not a plain column name is ignored. Throws DbError.
    void sortBy(FbDataSet& list, const QString& field);

    // Date and time columns of the closed orders sort with their companion.
    static QString closedOrdersSortText(const QString& field);
    static QString driversOrderClause(const QString& field);
    static bool isColumnName(const QString& field);

private:
    DispatchContext& m_ctx;
};
