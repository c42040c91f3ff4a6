#pragma once

#include "foundation/fb/FbRows.h"

#include <QString>
#include <functional>

class FbTransaction;

// A list behind a grid: a query whose rows are fetched whole, a current row, and the
// state that lets the list be closed and opened again at the same place.
// Rows are numbered from 1 as the dispatcher sees them; 0 means "no row".
class FbDataSet
{
public:
    explicit FbDataSet(FbTransaction& transaction, QString name = {});

    const QString& name() const { return m_name; }
    FbTransaction& transaction() const { return m_transaction; }

    void setSql(const QString& sql) { m_sql = sql; }
    const QString& sql() const { return m_sql; }

    // List state kept across reopening.
    QString sortText;
    QString filterText;
    int rememberedRow = 0;

    // Commits the list's transaction when active, runs the statement, fetches every row,
    // commits again and goes to the first row. Throws DbError; a failed open leaves the
    // list closed.
    void open();
    // Opens and goes forward by the remembered row minus 1, stopping at the last row
    // when the list has shrunk meanwhile.
    void openAtRememberedRow();
    // Remembers the current row, then closes.
    void close();
    bool isOpen() const { return m_open; }

    int recordCount() const { return m_open ? m_rows.rowCount() : 0; }
    bool isEmpty() const { return recordCount() == 0; }
    int recNo() const { return m_recNo; }
    void first() { moveTo(isEmpty() ? 0 : 1); }
    void last() { moveTo(recordCount()); }
    void next() { moveBy(1); }
    void moveBy(int distance);
    void moveTo(int row);

    // Value of a column in the current row (an invalid QVariant when the list is empty).
    QVariant value(const QString& column) const;
    QVariant valueAt(int row, const QString& column) const; // row from 1
    const FbRows& rows() const { return m_rows; }
    // Changes whenever the list is opened or closed, so views know to reload.
    int generation() const { return m_generation; }

    std::function<void()> beforeOpen;
    std::function<void()> afterOpen;
    std::function<void()> afterScroll;

private:
    void moveSilently(int row);

    FbTransaction& m_transaction;
    QString m_name;
    QString m_sql;
    FbRows m_rows;
    bool m_open = false;
    int m_recNo = 0;
    int m_generation = 0;
};
