#include "TarifLines.h"

#include "support/TestDatabase.h"

QStringList tarifListEntries(TestDatabase& db, const QString& section)
{
    QStringList entries;
    bool inSection = false;
    for (const auto& row :
         db.exec(QStringLiteral("SELECT SET_TARIF_NAME FROM SET_TARIFI ORDER BY SET_TARIF_NOMER")).rows) {
        const QString line = row[0].toString();
        if (line.startsWith(QLatin1Char('[')))
            inSection = line == QLatin1Char('[') + section + QLatin1Char(']');
        else if (inSection && line.startsWith(QStringLiteral("POZ_")))
            entries << line.mid(line.indexOf(QLatin1Char('=')) + 1);
    }
    return entries;
}
