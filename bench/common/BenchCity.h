#pragma once

#include <QDateTime>
#include <QString>

class TestDatabase;

// The moment the benchmark city stands at: its working day runs from the roll call at
// 07:00 to 15:00 of one fixed day, so a benchmark measures the same work at any hour.
// Benchmarks give this moment to their clock.
QDateTime BenchCityNow();

// Fills a database with a city the size of a busy dispatch room: 200 stands, 5,000 map
// points, 500 drivers on air (half GPRS), 1,000 open orders and 20,000 orders in the
// working day, 5 % of the passages between crossing streets one-way, made by the demo
// city generator (needs python3), its dates and times relative to BenchCityNow().
bool LoadBenchCity(TestDatabase& db, const QString& workFolder);
