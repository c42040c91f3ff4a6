// taxidb: creates a dispatch database from SQL scripts and runs statements against one.
//   taxidb create <database> <script.sql>...   new database, scripts run in order
//   taxidb load <database> <script.sql>...     run scripts against an existing database
//   taxidb exec <database> <statement>         run one statement, print its rows
// Options: --user NAME (default SYSDBA), --password TEXT (default masterkey).
// Scripts are UTF-8 files; their text is stored as cp1251.
#include "foundation/fb/DbError.h"
#include "foundation/fb/FbConnection.h"
#include "foundation/fb/FbQuery.h"
#include "foundation/fb/FbTransaction.h"
#include "foundation/fb/SqlScript.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QTextStream>

namespace {

int usage()
{
    QTextStream(stderr) << "usage: taxidb create|load <database> <script.sql>...\n"
                           "       taxidb exec <database> <statement>\n"
                           "options: --user NAME --password TEXT\n";
    return 2;
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
    for (int i = 0; i < args.size();) {
        if ((args[i] == QLatin1String("--user") || args[i] == QLatin1String("--password")) &&
            i + 1 < args.size()) {
            (args[i] == QLatin1String("--user") ? params.user : params.password) = args[i + 1];
            args.remove(i, 2);
        } else {
            ++i;
        }
    }
    if (args.size() < 3)
        return usage();
    const QString command = args[0];
    params.database = args[1];
    QTextStream out(stdout);
    try {
        if (command == QLatin1String("create"))
            FbConnection::createDatabase(params);
        else if (command != QLatin1String("load") && command != QLatin1String("exec"))
            return usage();
        FbConnection connection;
        connection.connect(params);
        if (command == QLatin1String("exec")) {
            FbTransaction transaction(connection, QStringLiteral("EXEC"));
            FbQuery query(transaction);
            const FbRows& rows = query.exec(args.mid(2).join(QLatin1Char(' ')));
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
