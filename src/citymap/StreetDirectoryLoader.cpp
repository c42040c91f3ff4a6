#include "citymap/StreetDirectoryLoader.h"

#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"

std::optional<StreetDirectory> StreetDirectoryLoader::load(TDANI& dani, QString* error)
{
    StreetDirectory streets;
    try {
        dani.TRANZ_RIZNE.commitIfActive();
        const FbRows& rows =
            dani.RIZNE.exec(QStringLiteral("SELECT SPISOK_VUL_NOMER, SPISOK_VUL_VULICA FROM VULICA_LUCK"));
        for (int i = 0; i < rows.rowCount(); ++i)
            streets.add(rows.value(i, QStringLiteral("SPISOK_VUL_NOMER")).toInt(),
                        rows.value(i, QStringLiteral("SPISOK_VUL_VULICA")).toString());
        dani.TRANZ_RIZNE.commitIfActive();
    } catch (const DbError& e) {
        dani.TRANZ_RIZNE.rollbackQuietly();
        if (error)
            *error = e.message();
        return std::nullopt;
    }
    return streets;
}
