#pragma once

#include "foundation/fb/FbRows.h"

#include <QString>

class FbTransaction;

// Runs one SQL text in a transaction. The text is sent as cp1251; a character outside
// cp1251 fails before anything reaches the server. Throws DbError on any failure.
class FbQuery
{
public:
    explicit FbQuery(FbTransaction& transaction) : m_transaction(transaction) {}

    // Executes and fetches every row; returns the rows (empty for statements without).
    const FbRows& exec(const QString& sql);
    // Rows inserted, updated or deleted by the last exec.
    qint64 affectedRows() const { return m_affected; }
    const FbRows& result() const { return m_rows; }
    // Hands the rows over without copying them (lists of thousands of rows).
    FbRows takeResult() { return std::move(m_rows); }
    FbTransaction& transaction() const { return m_transaction; }

private:
    FbTransaction& m_transaction;
    FbRows m_rows;
    qint64 m_affected = 0;
};
