#include "foundation/fb/FbQuery.h"

#include "foundation/fb/FbConnection.h"
#include "foundation/fb/FbStatement.h"
#include "foundation/fb/FbTransaction.h"

const FbRows& FbQuery::exec(const QString& sql)
{
    m_rows = FbRows();
    m_affected = 0;
    FbConnection::CallScope scope(m_transaction.connection()); // one deadline for the whole round
    FbStatement statement(m_transaction, sql);
    m_rows.columns = statement.columns();
    statement.execute(m_rows);
    statement.fetch(m_rows, -1);
    m_affected = statement.affectedRows();
    return m_rows;
}
