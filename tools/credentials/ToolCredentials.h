#pragma once

#include "foundation/fb/FbConnection.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The user and password the command-line tools (taxidb, taxi-archiver, demomap) attach
// with. A command line is readable by every local user (ps, /proc/<pid>/cmdline), so the
// password never comes from it: it comes from a file that only its owner may read
// (--password-file FILE) or from ISC_PASSWORD, the variable Firebird's own tools read.
// Without either it stays "masterkey": the embedded engine does not check it, and the
// demo and test servers are given that one.
namespace ToolCredentials {

// For the tools' usage lines.
inline const QString kOptions = QStringLiteral("--user NAME --password-file FILE (or ISC_PASSWORD)");

// Takes --user NAME and --password-file FILE out of args and sets params.user and
// params.password (the file wins over ISC_PASSWORD). Returns why the options cannot be
// used, empty when they can: --password in any form is refused, and so is a password
// file that others than its owner may read or write.
QString take(QStringList& args, ConnectionParameters& params);

// The first line of a password file, without its line end; a file anyone but its owner
// may read or write, or one holding no password, gives an error.
QString readPasswordFile(const QString& path, QString* error);

// The first line of text given as a password, without its line end.
QString firstLine(const QByteArray& bytes);

} // namespace ToolCredentials
