#include "common/BenchClients.h"

#include "support/TestDatabase.h"

#include <QString>

void loadBenchClients(TestDatabase& db, int count)
{
    db.exec(QStringLiteral(
                "EXECUTE BLOCK AS\n"
                "DECLARE VARIABLE I INTEGER = 1;\n"
                "BEGIN\n"
                "  WHILE (I <= %1) DO BEGIN\n"
                "    INSERT INTO KLIENT (KLIENT_NUMBER, KLIENT_FIO, KLIENT_ADRESS, KLIENT_TELEFON, "
                "KLIENT_DODATKOVO, KLIENT_BALANS,\n"
                "        KLIENT_ZNIZHKA, KLIENT_KIL_VIKLIK, KLIENT_KIL_FREE_VIKLIK, KLIENT_DATA_BALANSA)\n"
                "      VALUES (:I, 'Клієнт номер ' || :I, 'вул. Ринкова ' || MOD(:I, 300) || '/' || MOD(:I, "
                "90),\n"
                "        '067' || LPAD(MOD(:I * 7919, 10000000), 7, '0') || IIF(MOD(:I, 3) = 0, ' 33' || "
                "LPAD(MOD(:I, 10000), 4, '0'), ''),\n"
                "        '[' || LPAD(:I, 5, '0') || '] приватний ()', 0, 0, 0, 0, CURRENT_DATE);\n"
                "    I = I + 1;\n"
                "  END\n"
                "END")
                .arg(count));
    db.exec(QStringLiteral("INSERT INTO KLIENT (KLIENT_NUMBER, KLIENT_FIO, KLIENT_DODATKOVO) "
                           "VALUES (0, 'Невідомий', '[00000] приватний ()')"));
}
