#pragma once

class TestDatabase;

// Clients as a busy city has them: one or two telephones each, mobile and landline.
// Client i has the mobile "067" followed by (i * 7919) mod 10^7 in seven digits, so
// 1 has 0670007919; every third one also a landline. Also the unknown client, code 0.
void loadBenchClients(TestDatabase& db, int count);
