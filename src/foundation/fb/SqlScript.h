#pragma once

#include <QString>
#include <QStringList>

class FbConnection;

// Splits an SQL script into statements: ";" ends a statement outside quotes and
// comments, and "SET TERM x ;" changes the terminator (for triggers and procedures).
QStringList splitSqlScript(const QString& script);

// Runs every statement of a script in one transaction and commits; DDL is committed
// as it goes so later statements see the tables. Throws DbError naming the statement.
void runSqlScript(FbConnection& connection, const QString& script);
