#pragma once

#include "foundation/ServerSettings.h"
#include "foundation/fb/FbConnection.h"
#include "foundation/fb/FbRows.h"

#include <QTemporaryDir>
#include <memory>

class FbTransaction;

// A fresh embedded database made from db/schema.sql in a folder of its own, with a
// connection of its own that plays another workstation (or the drivers' side).
class TestDatabase
{
public:
    // serverPrefix "" for the embedded engine, or e.g. "127.0.0.1/37050:" for a server.
    explicit TestDatabase(const QString& serverPrefix = {});
    ~TestDatabase();

    const QString& path() const { return m_path; }
    // The settings a workstation would read from SETSERVER.INI for this database.
    ServerSettings serverSettings() const;
    const QString& folder() const { return m_folderPath; }
    ConnectionParameters params() const
    {
        return {m_path, QStringLiteral("SYSDBA"), QStringLiteral("masterkey")};
    }

    // Runs one statement on the other connection and commits it.
    FbRows exec(const QString& sql);
    qint64 scalar(const QString& sql);
    // Runs statements in one transaction and rolls it back.
    void execAndRollBack(const QStringList& statements);
    FbConnection& other() { return m_other; }

    static QString sourceFile(const QString& relative);

private:
    QTemporaryDir m_folder;
    QString m_folderPath;
    QString m_serverPrefix;
    QString m_path;
    FbConnection m_other;
};
