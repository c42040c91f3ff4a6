#pragma once

#include "foundation/fb/FbCallWatchdog.h"

#include <QByteArray>
#include <QString>
#include <chrono>
#include <vector>

namespace Firebird {
class IAttachment;
}
class FbTransaction;

struct ConnectionParameters
{
    QString database; // path, or host:/path for the network server
    QString user;
    QString password;
};

// How long the workstation waits for the server before it gives up: a desk that hangs
// on a lost link or on a row another workstation holds is worse than a message.
struct ConnectionLimits
{
    int connectTimeoutSeconds = 15;                // reaching the server and its first answer
    int lockTimeoutSeconds = 5;                    // a row locked by another transaction; 0 waits for ever
    std::chrono::milliseconds callDeadline{30000}; // any other round trip; 0 for none
    std::chrono::milliseconds pingDeadline{5000};  // the link check

    // For maintenance scripts that may run long statements: only the connect is bounded.
    static ConnectionLimits forMaintenance()
    {
        ConnectionLimits limits;
        limits.callDeadline = std::chrono::milliseconds(0);
        return limits;
    }
};

// One attachment to the database: SQL dialect 3, character set WIN1251, so text is
// stored byte for byte as the cp1251 the program writes. Every round trip made through
// it has the deadline of its limits; when one passes, the link is closed from our side
// and the call fails with a DbError of kind LinkLost.
class FbConnection
{
public:
    FbConnection();
    ~FbConnection();
    FbConnection(const FbConnection&) = delete;
    FbConnection& operator=(const FbConnection&) = delete;

    // Throws DbError; an open connection is closed first.
    void connect(const ConnectionParameters& parameters, const ConnectionLimits& limits = {});
    void disconnect();
    bool isConnected() const { return m_attachment != nullptr; }
    // A cheap round trip to the server within the ping deadline; false when the link is gone.
    bool ping(QString* error = nullptr);
    // Rolls back and forgets every transaction without asking the server (for a lost link).
    void dropAllTransactions();
    // The link is gone: closes it from our side without waiting for the server, forgets
    // every transaction and counts as disconnected from now on.
    void markLost();

    const QString& databaseName() const { return m_database; }
    Firebird::IAttachment* attachment() const { return m_attachment; }
    const ConnectionLimits& limits() const { return m_limits; }
    // Transaction parameters: a concurrency snapshot that writes and waits for a locked
    // row at most the lock timeout.
    const QByteArray& transactionParameters() const { return m_tpb; }

    static void createDatabase(const ConnectionParameters& parameters);

    // Keeps the deadline of one round trip (nested scopes share the outermost one).
    class CallScope
    {
    public:
        explicit CallScope(FbConnection& connection) : CallScope(connection, connection.m_limits.callDeadline)
        {
        }
        CallScope(FbConnection& connection, std::chrono::milliseconds limit);
        ~CallScope();
        CallScope(const CallScope&) = delete;
        CallScope& operator=(const CallScope&) = delete;

    private:
        FbConnection& m_connection;
        bool m_armed = false;
    };
    // Whether the deadline of the last round trip passed.
    bool deadlinePassed() const { return m_watchdog.expired(); }

private:
    friend class FbTransaction;
    void addTransaction(FbTransaction* t);
    void removeTransaction(FbTransaction* t);
    void abortLink() noexcept;

    Firebird::IAttachment* m_attachment = nullptr;
    QString m_database;
    ConnectionLimits m_limits;
    QByteArray m_tpb;
    std::vector<FbTransaction*> m_transactions;
    int m_callDepth = 0;
    FbCallWatchdog m_watchdog;
};
