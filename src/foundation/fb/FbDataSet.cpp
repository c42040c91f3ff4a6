#include "foundation/fb/FbDataSet.h"

#include "foundation/fb/DbError.h"
#include "foundation/fb/FbStatement.h"
#include "foundation/fb/FbTransaction.h"

#include <algorithm>
#include <climits>

FbDataSet::FbDataSet(FbTransaction& transaction, QString name, Fetching fetching)
    : m_transaction(transaction), m_name(std::move(name)), m_fetching(fetching)
{
}

FbDataSet::~FbDataSet() = default;

void FbDataSet::open()
{
    if (m_open)
        return;
    if (beforeOpen)
        beforeOpen();
    m_transaction.commitIfActive();
    m_rows = FbRows();
    try {
        m_statement = std::make_unique<FbStatement>(m_transaction, m_sql);
        m_rows.columns = m_statement->columns();
        m_statement->execute(m_rows);
        fetch(m_fetching == Fetching::AllAtOpen ? -1 : kRowsPerFetch);
    } catch (const DbError&) {
        m_statement.reset();
        m_rows = FbRows();
        m_transaction.rollbackQuietly();
        throw;
    }
    m_open = true;
    ++m_generation;
    moveSilently(m_rows.isEmpty() ? 0 : 1);
    if (afterOpen)
        afterOpen();
    if (afterScroll)
        afterScroll();
}

void FbDataSet::openAtRememberedRow()
{
    open();
    if (rememberedRow > 1)
        moveBy(rememberedRow - 1);
}

void FbDataSet::fetchMore()
{
    if (m_statement)
        fetch(kRowsPerFetch);
}

void FbDataSet::fetchTo(int row)
{
    if (m_statement && row > m_rows.rowCount())
        fetch(int(std::min<qint64>(qint64(row) - m_rows.rowCount() + kRowsPerFetch, INT_MAX)));
}

void FbDataSet::fetch(int rows)
{
    try {
        if (m_statement->fetch(m_rows, rows))
            return;
        m_statement.reset();
        // The rows are all here: no snapshot is kept open while the list is shown, which
        // would hold back the server's garbage collection for a whole shift.
        m_transaction.commitIfActive();
    } catch (const DbError&) {
        m_statement.reset();
        m_transaction.rollbackQuietly();
        throw;
    }
}

void FbDataSet::last()
{
    if (m_statement)
        fetch(-1);
    moveTo(recordCount());
}

void FbDataSet::close()
{
    if (!m_open)
        return;
    rememberedRow = m_recNo;
    m_statement.reset();
    m_transaction.rollbackQuietly(); // it only read
    m_open = false;
    ++m_generation;
    m_rows = FbRows();
    m_recNo = 0;
}

void FbDataSet::moveBy(int distance)
{
    moveTo(m_recNo + distance);
}

void FbDataSet::moveTo(int row)
{
    const int before = m_recNo;
    fetchTo(row);
    moveSilently(row);
    if (m_recNo != before && afterScroll)
        afterScroll();
}

void FbDataSet::moveSilently(int row)
{
    const int count = recordCount();
    m_recNo = count == 0 ? 0 : std::clamp(row, 1, count);
}

QVariant FbDataSet::value(const QString& column) const
{
    return valueAt(m_recNo, column);
}

QVariant FbDataSet::valueAt(int row, const QString& column) const
{
    if (!m_open || row < 1 || row > m_rows.rowCount())
        return {};
    return m_rows.value(row - 1, column);
}
