#include "support/TestDatabase.h"

#include "foundation/fb/FbQuery.h"
#include "foundation/fb/FbTransaction.h"
#include "foundation/fb/SqlScript.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

QString TestDatabase::sourceFile(const QString& relative)
{
    return QStringLiteral(TAXI_SOURCE_DIR "/") + relative;
}

TestDatabase::TestDatabase(const QString& serverPrefix)
    : m_folder(QDir::tempPath() + QStringLiteral("/taxi-test-db-XXXXXX")), m_serverPrefix(serverPrefix)
{
    m_folderPath = m_folder.path();
    m_path = serverPrefix + m_folderPath + QStringLiteral("/TEST.FDB");
    FbConnection::createDatabase(params());
    QFile schema(sourceFile(QStringLiteral("db/schema.sql")));
    if (!schema.open(QIODevice::ReadOnly))
        throw std::runtime_error("db/schema.sql not found");
    m_other.connect(params());
    runSqlScript(m_other, QString::fromUtf8(schema.readAll()));
}

ServerSettings TestDatabase::serverSettings() const
{
    return {m_serverPrefix, m_folderPath, QStringLiteral("TEST.FDB"), QStringLiteral("SYSDBA"),
            QStringLiteral("masterkey")};
}

TestDatabase::~TestDatabase()
{
    m_other.disconnect();
}

FbRows TestDatabase::exec(const QString& sql)
{
    FbTransaction transaction(m_other, QStringLiteral("OTHER"));
    FbQuery query(transaction);
    FbRows rows = query.exec(sql);
    transaction.commit();
    return rows;
}

qint64 TestDatabase::scalar(const QString& sql)
{
    const FbRows rows = exec(sql);
    return rows.isEmpty() ? -1 : rows.rows[0][0].toLongLong();
}

void TestDatabase::execAndRollBack(const QStringList& statements)
{
    FbTransaction transaction(m_other, QStringLiteral("OTHER"));
    FbQuery query(transaction);
    for (const QString& sql : statements)
        query.exec(sql);
    transaction.rollback();
}
