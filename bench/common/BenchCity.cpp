#include "common/BenchCity.h"

#include "foundation/fb/SqlScript.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QProcess>
#include <cstdio>

QDateTime BenchCityNow()
{
    return QDateTime(QDate(2026, 3, 3), QTime(15, 0));
}

bool LoadBenchCity(TestDatabase& db, const QString& workFolder)
{
    const QString script = workFolder + QStringLiteral("/city.sql");
    QProcess generator;
    generator.start(QStringLiteral("python3"),
                    {TestDatabase::sourceFile(QStringLiteral("tools/democity/make_demo_city.py")),
                     QStringLiteral("--stands"),
                     QStringLiteral("200"),
                     QStringLiteral("--points"),
                     QStringLiteral("5000"),
                     QStringLiteral("--drivers"),
                     QStringLiteral("700"),
                     QStringLiteral("--on-air"),
                     QStringLiteral("500"),
                     QStringLiteral("--open-orders"),
                     QStringLiteral("1000"),
                     QStringLiteral("--period-orders"),
                     QStringLiteral("20000"),
                     QStringLiteral("--clients"),
                     QStringLiteral("2000"),
                     QStringLiteral("--now"),
                     BenchCityNow().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
                     QStringLiteral("-o"),
                     script,
                     QStringLiteral("--one-way-share"),
                     QStringLiteral("0.05")});
    if (!generator.waitForFinished(120000) || generator.exitCode() != 0) {
        std::printf("the city generator failed: %s\n", generator.readAllStandardError().constData());
        return false;
    }
    QFile file(script);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    runSqlScript(db.other(), QString::fromUtf8(file.readAll()));
    return true;
}
