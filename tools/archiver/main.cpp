// taxi-archiver: the server side's archiving, for a dispatch room without its own GPRS
// server. Every few seconds it moves executed and deleted orders from ZAMOVLENNIA into
// CLOSEZAMOVLENNIA (the database procedure does the move in one transaction), which
// posts the events every workstation reloads its closed-order lists on.
//   taxi-archiver <database> [--interval SECONDS] [--min-age MINUTES] [--user U] [--password P]
// <database> is a path (embedded engine) or host:/path (network server). SIGINT or
// SIGTERM stops it between two runs.
#include "foundation/fb/DbError.h"
#include "foundation/fb/FbConnection.h"
#include "foundation/fb/FbQuery.h"
#include "foundation/fb/FbTransaction.h"

#include <QCoreApplication>
#include <QTextStream>

#include <csignal>
#include <poll.h>
#include <unistd.h>

namespace {

int g_stopPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto ignored = ::write(g_stopPipe[1], &byte, 1);
}

// Waits for the interval; true when a stop signal came meanwhile.
bool waitOrStop(int seconds)
{
    pollfd fd{g_stopPipe[0], POLLIN, 0};
    int rc;
    do {
        rc = ::poll(&fd, 1, seconds * 1000);
    } while (rc < 0 && errno == EINTR);
    return rc > 0;
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
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    ConnectionParameters params{{}, QStringLiteral("SYSDBA"), QStringLiteral("masterkey")};
    int interval = 60;
    int minAge = 0;
    QTextStream err(stderr);
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--interval") && hasValue)
            interval = std::max(1, args[++i].toInt());
        else if (a == QLatin1String("--min-age") && hasValue)
            minAge = std::max(0, args[++i].toInt());
        else if (a == QLatin1String("--user") && hasValue)
            params.user = args[++i];
        else if (a == QLatin1String("--password") && hasValue)
            params.password = args[++i];
        else if (params.database.isEmpty() && !a.startsWith(QLatin1String("--")))
            params.database = a;
        else {
            err << "usage: taxi-archiver <database> [--interval S] [--min-age M] [--user U] [--password P]\n";
            return 2;
        }
    }
    if (params.database.isEmpty()) {
        err << "usage: taxi-archiver <database> [--interval S] [--min-age M] [--user U] [--password P]\n";
        return 2;
    }
    if (::pipe(g_stopPipe) != 0)
        return 1;
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);

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
    } while (!waitOrStop(interval));
    connection.disconnect();
    return 0;
}
