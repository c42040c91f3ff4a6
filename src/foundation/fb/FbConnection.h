#pragma once

#include <QString>
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

// One attachment to the database: SQL dialect 3, character set WIN1251, so text is
// stored byte for byte as the cp1251 the program writes.
class FbConnection
{
public:
    FbConnection() = default;
    ~FbConnection();
    FbConnection(const FbConnection&) = delete;
    FbConnection& operator=(const FbConnection&) = delete;

    // Throws DbError; an open connection is closed first.
    void connect(const ConnectionParameters& parameters);
    void disconnect();
    bool isConnected() const { return m_attachment != nullptr; }
    // A cheap round trip to the server; false when the link is gone.
    bool ping(QString* error = nullptr);
    // Rolls back and forgets every transaction without asking the server (for a lost link).
    void dropAllTransactions();

    const QString& databaseName() const { return m_database; }
    Firebird::IAttachment* attachment() const { return m_attachment; }

    static void createDatabase(const ConnectionParameters& parameters);

private:
    friend class FbTransaction;
    void addTransaction(FbTransaction* t);
    void removeTransaction(FbTransaction* t);

    Firebird::IAttachment* m_attachment = nullptr;
    QString m_database;
    std::vector<FbTransaction*> m_transactions;
};
