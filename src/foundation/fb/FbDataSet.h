#pragma once

#include "foundation/fb/FbRows.h"

#include <QString>
#include <functional>
#include <memory>

class FbStatement;
class FbTransaction;

// A list behind a grid: a query, its rows, a current row, and the state that lets the
// list be closed and opened again at the same place.
// Rows are numbered from 1 as the dispatcher sees them; 0 means "no row".
class FbDataSet
{
public:
    enum class Fetching {
        AllAtOpen, // every row is read when the list opens
        // The rows up to the current one and a grid's worth beyond are read when the list
        // opens, the rest as the grid scrolls (fetchMore) or the current row moves on.
        // The list's transaction then stays open until the last row is read or the list
        // closes: give it a read-only read-committed one.
        AsNeeded,
    };
    static constexpr int kRowsPerFetch = 200;

    explicit FbDataSet(FbTransaction& transaction, QString name = {},
                       Fetching fetching = Fetching::AllAtOpen);
    ~FbDataSet();

    const QString& name() const { return m_name; }
    FbTransaction& transaction() const { return m_transaction; }

    void setSql(const QString& sql) { m_sql = sql; }
    const QString& sql() const { return m_sql; }

    // List state kept across reopening.
    QString sortText;
    QString filterText;
    int rememberedRow = 0;

    // Commits the list's transaction when active, runs the statement, fetches the rows
    // (see Fetching), commits again once they are all read and goes to the first row.
    // Throws DbError; a failed open leaves the list closed.
    void open();
    // Opens and goes forward by the remembered row minus 1, stopping at the last row
    // when the list has shrunk meanwhile.
    void openAtRememberedRow();
    // Remembers the current row, then closes.
    void close();
    bool isOpen() const { return m_open; }

    // Rows read so far; all of them unless canFetchMore().
    int recordCount() const { return m_open ? m_rows.rowCount() : 0; }
    bool canFetchMore() const { return m_statement != nullptr; }
    // Reads the next rows. Throws DbError; the list then keeps the rows it has and ends.
    void fetchMore();
    bool isEmpty() const { return recordCount() == 0; }
    int recNo() const { return m_recNo; }
    void first() { moveTo(isEmpty() ? 0 : 1); }
    void last(); // reads the rows left, if any
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
    // Reads rows until the list holds row (and a grid's worth beyond) or has them all.
    void fetchTo(int row);
    void fetch(int rows); // all of them when rows < 0

    FbTransaction& m_transaction;
    QString m_name;
    Fetching m_fetching;
    QString m_sql;
    FbRows m_rows;
    std::unique_ptr<FbStatement> m_statement; // while rows are left to read
    bool m_open = false;
    int m_recNo = 0;
    int m_generation = 0;
};
