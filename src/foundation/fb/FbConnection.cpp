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

Firebird::IXpbBuilder* buildDpb(FbStatus& status, const ConnectionParameters& p, bool forCreate,
                                const ConnectionLimits& limits = {})
{
    using Firebird::IXpbBuilder;
    IXpbBuilder* dpb =
        status.run([&](auto* s) { return FbClient::util()->getXpbBuilder(s, IXpbBuilder::DPB, nullptr, 0); });
    status.run([&](auto* s) {
        dpb->insertString(s, isc_dpb_user_name, encodedOrThrow(p.user).constData());
        dpb->insertString(s, isc_dpb_password, encodedOrThrow(p.password).constData());
        dpb->insertString(s, isc_dpb_lc_ctype, "WIN1251");
        // The file name goes as UTF-8, the file system's encoding here: sent in the
        // connection's code page, a folder with a Cyrillic name could not be opened.
        dpb->insertTag(s, isc_dpb_utf8_filename);
        dpb->insertInt(s, isc_dpb_sql_dialect, 3);
        // Bounds both the TCP connect and the wait for the server's first answer: a
        // listener that accepts and never answers would otherwise hold the start for minutes.
        if (limits.connectTimeoutSeconds > 0)
            dpb->insertInt(s, isc_dpb_connect_timeout, limits.connectTimeoutSeconds);
        if (forCreate)
            dpb->insertString(s, isc_dpb_set_db_charset, "WIN1251");
        return 0;
    });
    return dpb;
}

QByteArray buildTpb(FbStatus& status, const ConnectionLimits& limits)
{
    using Firebird::IXpbBuilder;
    IXpbBuilder* tpb =
        status.run([&](auto* s) { return FbClient::util()->getXpbBuilder(s, IXpbBuilder::TPB, nullptr, 0); });
    QByteArray bytes;
    try {
        status.run([&](auto* s) {
            tpb->insertTag(s, isc_tpb_write);
            tpb->insertTag(s, isc_tpb_concurrency);
            tpb->insertTag(s, isc_tpb_wait);
            if (limits.lockTimeoutSeconds > 0)
                tpb->insertInt(s, isc_tpb_lock_timeout, limits.lockTimeoutSeconds);
            bytes =
                QByteArray(reinterpret_cast<const char*>(tpb->getBuffer(s)), int(tpb->getBufferLength(s)));
            return 0;
        });
    } catch (...) {
        tpb->dispose();
        throw;
    }
    tpb->dispose();
    return bytes;
}

} // namespace

FbConnection::FbConnection() : m_watchdog([this] { abortLink(); }) {}

FbConnection::~FbConnection()
{
    disconnect();
}

void FbConnection::connect(const ConnectionParameters& parameters, const ConnectionLimits& limits)
{
    disconnect();
    FbStatus status;
    m_limits = limits;
    m_tpb = buildTpb(status, limits);
    Firebird::IXpbBuilder* dpb = buildDpb(status, parameters, false, limits);
    const QByteArray path = parameters.database.toUtf8();
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
    const QByteArray path = parameters.database.toUtf8();
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
        CallScope scope(*this);
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
        CallScope scope(*this, m_limits.pingDeadline);
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

void FbConnection::markLost()
{
    if (!m_attachment)
        return;
    abortLink(); // from here on every call fails at once instead of waiting for the server
    dropAllTransactions();
    m_attachment->release();
    m_attachment = nullptr;
}

void FbConnection::abortLink() noexcept
{
    if (!m_attachment)
        return;
    // Closes the socket from our side without taking the link's lock, so a call blocked
    // on it returns with an error; the engine in-process marks the attachment shut down.
    Firebird::IStatus* raw = FbClient::master()->getStatus();
    Firebird::CheckStatusWrapper status(raw);
    m_attachment->cancelOperation(&status, fb_cancel_abort);
    raw->dispose();
}

FbConnection::CallScope::CallScope(FbConnection& connection, std::chrono::milliseconds limit)
    : m_connection(connection)
{
    if (m_connection.m_callDepth++ == 0 && limit.count() > 0) {
        m_connection.m_watchdog.arm(limit);
        m_armed = true;
    }
}

FbConnection::CallScope::~CallScope()
{
    --m_connection.m_callDepth;
    if (m_armed)
        m_connection.m_watchdog.disarm();
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
