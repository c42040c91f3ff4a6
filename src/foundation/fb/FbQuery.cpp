#include "foundation/fb/FbQuery.h"

#include "foundation/fb/FbStatement.h"

const FbRows& FbQuery::exec(const QString& sql)
{
    m_rows = FbRows();
    m_affected = 0;
    FbStatement statement(m_transaction, sql);
    m_rows.columns = statement.columns();
    statement.execute(m_rows);
    statement.fetch(m_rows, -1);
    m_affected = statement.affectedRows();
    return m_rows;
}
