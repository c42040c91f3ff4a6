#pragma once

#include <QString>

class TestDatabase;

// Fills a database with a city the size of a busy dispatch room: 200 stands, 5,000 map
// points, 500 drivers on air (half GPRS), 1,000 open orders and 20,000 orders in the
// working day, made by the demo city generator (needs python3).
bool LoadBenchCity(TestDatabase& db, const QString& workFolder);
