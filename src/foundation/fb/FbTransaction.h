#pragma once

#include <QString>

namespace Firebird {
class ITransaction;
}
class FbConnection;

// A named transaction on the one connection, started on first use as a snapshot that
// waits for a locked row at most the connection's lock timeout, so a row another
// workstation holds gives a lock conflict instead of a frozen desk. Commit it before a
// list is reopened so the list sees what other workstations committed.
class FbTransaction
{
public:
    enum class Access {
        Default,
        // Reads only, each row as last committed. Firebird starts such a transaction as
        // already committed, so it may stay open while a list is read bit by bit without
        // holding back the server's garbage collection.
        ReadOnlyReadCommitted,
    };

    FbTransaction(FbConnection& connection, QString name, Access access = Access::Default);
    ~FbTransaction();
    FbTransaction(const FbTransaction&) = delete;
    FbTransaction& operator=(const FbTransaction&) = delete;

    const QString& name() const { return m_name; }
    FbConnection& connection() const { return m_connection; }
    bool isActive() const { return m_transaction != nullptr; }

    // Starts the transaction when it is not active; throws DbError.
    Firebird::ITransaction* handle();
    void commit();
    void commitIfActive()
    {
        if (isActive())
            commit();
    }
    void rollback();
    void rollbackQuietly() noexcept;

private:
    friend class FbConnection;
    void forget() noexcept; // the link is gone: release our handle without a round trip

    FbConnection& m_connection;
    QString m_name;
    Access m_access;
    Firebird::ITransaction* m_transaction = nullptr;
};
