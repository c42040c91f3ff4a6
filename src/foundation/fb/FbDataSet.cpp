#include "foundation/fb/FbDataSet.h"

#include "foundation/fb/FbQuery.h"
#include "foundation/fb/FbTransaction.h"

#include <algorithm>

FbDataSet::FbDataSet(FbTransaction& transaction, QString name)
    : m_transaction(transaction), m_name(std::move(name))
{
}

void FbDataSet::open()
{
    if (m_open)
        return;
    if (beforeOpen)
        beforeOpen();
    m_transaction.commitIfActive();
    FbQuery query(m_transaction);
    query.exec(m_sql);
    m_rows = query.takeResult();
    // The rows are all here: no snapshot is kept open while the list is shown, which
    // would hold back the server's garbage collection for a whole shift.
    m_transaction.commit();
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

void FbDataSet::close()
{
    if (!m_open)
        return;
    rememberedRow = m_recNo;
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
