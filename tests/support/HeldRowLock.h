#pragma once

#include "foundation/fb/FbConnection.h"
#include "foundation/fb/FbQuery.h"
#include "foundation/fb/FbTransaction.h"

// Another workstation in the middle of a change: the rows its statement touched stay
// locked, uncommitted, until this goes (and rolls the change back).
class HeldRowLock
{
public:
    HeldRowLock(FbConnection& other, const QString& sql) : m_transaction(other, QStringLiteral("HELD"))
    {
        FbQuery(m_transaction).exec(sql);
    }

private:
    FbTransaction m_transaction;
};
