#include "foundation/fb/FbConnection.h"

#include "foundation/fb/DbError.h"
#include "foundation/fb/FbStatus.h"
#include "foundation/fb/FbTransaction.h"
#include "platform/Cp1251.h"

#include <algorithm>

namespace {

QByteArray encodedOrThrow(const QString& text)
{
    cp1251::EncodeError error;
    auto bytes = cp1251::encode(text, &error);
    if (!bytes)
        throw DbError(error.message());
    return *bytes;
}

Firebird::IXpbBuilder* buildDpb(FbStatus& status, const ConnectionParameters& p, bool forCreate)
{
    using Firebird::IXpbBuilder;
    IXpbBuilder* dpb =
        status.run([&](auto* s) { return FbClient::util()->getXpbBuilder(s, IXpbBuilder::DPB, nullptr, 0); });
    status.run([&](auto* s) {
        dpb->insertString(s, isc_dpb_user_name, encodedOrThrow(p.user).constData());
        dpb->insertString(s, isc_dpb_password, encodedOrThrow(p.password).constData());
        dpb->insertString(s, isc_dpb_lc_ctype, "WIN1251");
        dpb->insertInt(s, isc_dpb_sql_dialect, 3);
        if (forCreate)
            dpb->insertString(s, isc_dpb_set_db_charset, "WIN1251");
        return 0;
    });
    return dpb;
}

} // namespace

FbConnection::~FbConnection()
{
    disconnect();
}

void FbConnection::connect(const ConnectionParameters& parameters)
{
    disconnect();
    FbStatus status;
    Firebird::IXpbBuilder* dpb = buildDpb(status, parameters, false);
    const QByteArray path = encodedOrThrow(parameters.database);
    try {
        m_attachment = status.run([&](auto* s) {
            return FbClient::provider()->attachDatabase(s, path.constData(), dpb->getBufferLength(s),
                                                        dpb->getBuffer(s));
        });
    } catch (...) {
        dpb->dispose();
        throw;
    }
    dpb->dispose();
    m_database = parameters.database;
}

void FbConnection::createDatabase(const ConnectionParameters& parameters)
{
    FbStatus status;
    Firebird::IXpbBuilder* dpb = buildDpb(status, parameters, true);
    const QByteArray path = encodedOrThrow(parameters.database);
    try {
        Firebird::IAttachment* att = status.run([&](auto* s) {
            return FbClient::provider()->createDatabase(s, path.constData(), dpb->getBufferLength(s),
                                                        dpb->getBuffer(s));
        });
        status.run([&](auto* s) {
            att->detach(s);
            return 0;
        });
    } catch (...) {
        dpb->dispose();
        throw;
    }
    dpb->dispose();
}

void FbConnection::disconnect()
{
    if (!m_attachment)
        return;
    for (FbTransaction* t : m_transactions)
        t->rollbackQuietly();
    FbStatus status;
    try {
        status.run([&](auto* s) {
            m_attachment->detach(s);
            return 0;
        });
    } catch (const DbError&) {
        m_attachment->release(); // the link is gone; free our side of it
    }
    m_attachment = nullptr;
}

bool FbConnection::ping(QString* error)
{
    if (!m_attachment)
        return false;
    FbStatus status;
    try {
        status.run([&](auto* s) {
            m_attachment->ping(s);
            return 0;
        });
        return true;
    } catch (const DbError& e) {
        if (error)
            *error = e.message();
        return false;
    }
}

void FbConnection::dropAllTransactions()
{
    for (FbTransaction* t : m_transactions)
        t->forget();
}

void FbConnection::addTransaction(FbTransaction* t)
{
    m_transactions.push_back(t);
}

void FbConnection::removeTransaction(FbTransaction* t)
{
    m_transactions.erase(std::remove(m_transactions.begin(), m_transactions.end(), t), m_transactions.end());
}
