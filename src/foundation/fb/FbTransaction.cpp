#include "foundation/fb/FbTransaction.h"

#include "foundation/fb/DbError.h"
#include "foundation/fb/FbConnection.h"
#include "foundation/fb/FbStatus.h"

FbTransaction::FbTransaction(FbConnection& connection, QString name, Access access)
    : m_connection(connection), m_name(std::move(name)), m_access(access)
{
    m_connection.addTransaction(this);
}

FbTransaction::~FbTransaction()
{
    rollbackQuietly();
    m_connection.removeTransaction(this);
}

Firebird::ITransaction* FbTransaction::handle()
{
    if (m_transaction)
        return m_transaction;
    if (!m_connection.isConnected())
        throw DbError(QStringLiteral("Немає з'єднання з базою даних"));
    FbStatus status;
    FbConnection::CallScope scope(m_connection);
    // Reads for lists take what is committed and lock nothing; everything else is a
    // snapshot that waits for a locked row at most the connection's lock timeout.
    static const unsigned char kReadOnlyReadCommitted[] = {isc_tpb_version3, isc_tpb_read,
                                                           isc_tpb_read_committed, isc_tpb_rec_version};
    const bool readOnly = m_access == Access::ReadOnlyReadCommitted;
    const QByteArray& writeTpb = m_connection.transactionParameters();
    m_transaction = status.run([&](auto* s) {
        return readOnly ? m_connection.attachment()->startTransaction(s, sizeof kReadOnlyReadCommitted,
                                                                      kReadOnlyReadCommitted)
                        : m_connection.attachment()->startTransaction(
                              s, unsigned(writeTpb.size()),
                              reinterpret_cast<const unsigned char*>(writeTpb.constData()));
    });
    return m_transaction;
}

void FbTransaction::commit()
{
    if (!m_transaction)
        return;
    FbStatus status;
    FbConnection::CallScope scope(m_connection);
    status.run([&](auto* s) {
        m_transaction->commit(s);
        return 0;
    });
    m_transaction = nullptr; // a committed transaction releases itself
}

void FbTransaction::rollback()
{
    if (!m_transaction)
        return;
    FbStatus status;
    try {
        FbConnection::CallScope scope(m_connection);
        status.run([&](auto* s) {
            m_transaction->rollback(s);
            return 0;
        });
    } catch (const DbError&) {
        forget();
        throw;
    }
    m_transaction = nullptr;
}

void FbTransaction::rollbackQuietly() noexcept
{
    try {
        rollback();
    } catch (const DbError&) {
    }
}

void FbTransaction::forget() noexcept
{
    if (m_transaction)
        m_transaction->release();
    m_transaction = nullptr;
}
