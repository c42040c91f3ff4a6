// taxidb: creates a dispatch database from SQL scripts and runs statements against one.
//   taxidb create <database> <script.sql>...   new database, scripts run in order
//   taxidb load <database> <script.sql>...     run scripts against an existing database
//   taxidb exec <database> <statement>         run one statement, print its rows
//   taxidb set-password <database> <user>      the user's new password, read from the
//                                              first line of standard input
// Options: --user NAME (default SYSDBA), --password-file FILE; the password comes from
// that file or from ISC_PASSWORD (see ToolCredentials.h), never from the command line.
// Scripts are UTF-8 files; their text is stored as cp1251.
#include "foundation/SqlLiteral.h"
#include "foundation/fb/DbError.h"
#include "foundation/fb/FbConnection.h"
#include "foundation/fb/FbQuery.h"
#include "foundation/fb/FbTransaction.h"
#include "foundation/fb/SqlScript.h"

#include "ToolCredentials.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QTextStream>

namespace {

int usage()
{
    QTextStream(stderr) << "usage: taxidb create|load <database> <script.sql>...\n"
                           "       taxidb exec <database> <statement>\n"
                           "       taxidb set-password <database> <user>   (new password on stdin)\n"
                           "options: "
                        << ToolCredentials::kOptions << '\n';
    return 2;
}

// A user's new password goes to the server as an SQL text literal; it is read from
// standard input so that it is on no command line, not even the one of the script that
// sets it.
QString setPasswordStatement(const QString& user)
{
    // The user name is an identifier, not a value: only a plain one is accepted.
    if (!QRegularExpression(QStringLiteral("^[A-Za-z][A-Za-z0-9_$]*$")).match(user).hasMatch())
        throw DbError(QStringLiteral("not a plain user name: %1").arg(user));
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        throw DbError(QStringLiteral("cannot read the new password from standard input"));
    const QString password = ToolCredentials::firstLine(in.readLine());
    if (password.isEmpty())
        throw DbError(QStringLiteral("no new password on standard input"));
    return QStringLiteral("CREATE OR ALTER USER %1 PASSWORD %2 USING PLUGIN Srp")
        .arg(user, sql::text(password));
}

QString readScript(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    return QString::fromUtf8(file.readAll());
}

QString shown(const QVariant& v)
{
    if (!v.isValid())
        return QStringLiteral("<null>");
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    if (v.typeId() == QMetaType::QTime)
        return v.toTime().toString(QStringLiteral("hh:mm:ss"));
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
    return v.toString();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    ConnectionParameters params{{}, QStringLiteral("SYSDBA"), QStringLiteral("masterkey")};
    if (const QString refused = ToolCredentials::take(args, params); !refused.isEmpty()) {
        QTextStream(stderr) << "taxidb: " << refused << '\n';
        return 2;
    }
    if (args.size() < 3)
        return usage();
    const QString command = args[0];
    params.database = args[1];
    QTextStream out(stdout);
    try {
        if (command == QLatin1String("create"))
            FbConnection::createDatabase(params);
        else if (command != QLatin1String("load") && command != QLatin1String("exec") &&
                 (command != QLatin1String("set-password") || args.size() != 3))
            return usage();
        FbConnection connection;
        connection.connect(params);
        if (command == QLatin1String("exec") || command == QLatin1String("set-password")) {
            const QString statement = command == QLatin1String("exec") ? args.mid(2).join(QLatin1Char(' '))
                                                                       : setPasswordStatement(args[2]);
            FbTransaction transaction(connection, QStringLiteral("EXEC"));
            FbQuery query(transaction);
            const FbRows& rows = query.exec(statement);
            transaction.commit();
            if (!rows.columns.isEmpty())
                out << rows.columns.join(QLatin1Char('\t')) << '\n';
            for (const auto& row : rows.rows) {
                QStringList cells;
                for (const QVariant& v : row)
                    cells << shown(v);
                out << cells.join(QLatin1Char('\t')) << '\n';
            }
            if (rows.columns.isEmpty())
                out << query.affectedRows() << " row(s) affected\n";
            return 0;
        }
        for (const QString& script : args.mid(2))
            runSqlScript(connection, readScript(script));
    } catch (const DbError& e) {
        QTextStream(stderr) << "taxidb: " << e.message() << '\n';
        return 1;
    }
    return 0;
}
