// taxi-archiver: the server side's archiving, for a dispatch room without its own GPRS
// server. Every few seconds it moves executed and deleted orders from ZAMOVLENNIA into
// CLOSEZAMOVLENNIA (the database procedure does the move in one transaction), which
// posts the events every workstation reloads its closed-order lists on.
//   taxi-archiver <database> [--interval SECONDS] [--min-age MINUTES] [--user U] [--password-file F]
// <database> is a path (embedded engine) or host:/path (network server). The password
// comes from the file or from ISC_PASSWORD (see ToolCredentials.h). SIGINT or
// SIGTERM stops it between two runs (see StopSignals for why they are not handlers).
#include "foundation/fb/DbError.h"
#include "foundation/fb/FbConnection.h"
#include "foundation/fb/FbQuery.h"
#include "foundation/fb/FbTransaction.h"

#include <QCoreApplication>
#include <QTextStream>

#include "ToolCredentials.h"
#include "platform/StopSignals.h"

namespace {

int usage()
{
    QTextStream(stderr) << "usage: taxi-archiver <database> [--interval S] [--min-age M]\n"
                           "options: "
                        << ToolCredentials::kOptions << '\n';
    return 2;
}

qint64 archiveOnce(FbConnection& connection, int minAgeMinutes)
{
    FbTransaction transaction(connection, QStringLiteral("ARCHIVE"));
    FbQuery query(transaction);
    const FbRows& rows =
        query.exec(QStringLiteral("EXECUTE PROCEDURE ARCHIVE_CLOSED_ORDERS(%1)").arg(minAgeMinutes));
    const qint64 archived = rows.isEmpty() ? 0 : rows.rows[0][0].toLongLong();
    transaction.commit();
    return archived;
}

} // namespace

int main(int argc, char** argv)
{
    const int stopSignals = StopSignals::block(); // before any thread exists, the engine's included
    if (stopSignals < 0)
        return 1;
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    ConnectionParameters params{{}, QStringLiteral("SYSDBA"), QStringLiteral("masterkey")};
    int interval = 60;
    int minAge = 0;
    QTextStream err(stderr);
    if (const QString refused = ToolCredentials::take(args, params); !refused.isEmpty()) {
        err << "taxi-archiver: " << refused << '\n';
        return 2;
    }
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--interval") && hasValue)
            interval = std::max(1, args[++i].toInt());
        else if (a == QLatin1String("--min-age") && hasValue)
            minAge = std::max(0, args[++i].toInt());
        else if (params.database.isEmpty() && !a.startsWith(QLatin1String("--")))
            params.database = a;
        else
            return usage();
    }
    if (params.database.isEmpty())
        return usage();

    FbConnection connection;
    do {
        try {
            if (!connection.isConnected())
                connection.connect(params);
            const qint64 archived = archiveOnce(connection, minAge);
            if (archived > 0)
                QTextStream(stdout) << "taxi-archiver: archived " << archived << " order(s)" << Qt::endl;
        } catch (const DbError& e) {
            err << "taxi-archiver: " << e.message() << Qt::endl;
            connection.disconnect(); // try again with a fresh attachment next time
        }
    } while (!StopSignals::wait(stopSignals, interval * 1000));
    connection.disconnect();
    return 0;
}
