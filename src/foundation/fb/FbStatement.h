#pragma once

#include "foundation/fb/FbRows.h"

#include <QString>
#include <memory>

class FbTransaction;

// One prepared statement in a transaction, with a cursor that hands its rows over a
// batch at a time, so a list of thousands of rows can show its first rows before the
// rest are read. The text is sent as cp1251; a character outside cp1251 fails before
// anything reaches the server. Throws DbError on any failure.
class FbStatement
{
public:
    FbStatement(FbTransaction& transaction, const QString& sql);
    ~FbStatement();
    FbStatement(const FbStatement&) = delete;
    FbStatement& operator=(const FbStatement&) = delete;

    // The column names (upper case) of the rows it returns; empty for statements without.
    const QStringList& columns() const;

    // Runs the statement. A SELECT opens its cursor and reads nothing yet; any other
    // statement returns its output row (EXECUTE PROCEDURE), if any, in into.
    void execute(FbRows& into);
    // Rows inserted, updated or deleted by execute.
    qint64 affectedRows() const;

    // Appends up to maxRows rows of the open cursor (all of them when maxRows < 0).
    // Returns false once the last row was read; the cursor is then closed.
    bool fetch(FbRows& into, int maxRows);
    bool cursorOpen() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};
