#include "orders/intake/TarifIni.h"

#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"
#include "orders/intake/TarifIniLoader.h"
#include "platform/AtomicFile.h"
#include "platform/BaseFolder.h"
#include "platform/Cp1251.h"
#include "platform/IniFile.h"

#include <QFileInfo>

QString TarifIni::filePath()
{
    return BaseFolder::file(QStringLiteral("TARIF.INI"));
}

QString TarifIni::regenerate(TDANI& dani)
{
    QString text;
    try {
        // A snapshot opened earlier would hide what the administrator changed since.
        dani.TRANZ_RIZNE.commitIfActive();
        const FbRows& rows =
            dani.RIZNE.exec(QStringLiteral("SELECT  *  FROM  SET_TARIFI ORDER BY SET_TARIF_NOMER"));
        for (int i = 0; i < rows.rowCount(); ++i)
            text += rows.value(i, QStringLiteral("SET_TARIF_NAME")).toString() + QLatin1String("\r\n");
        dani.TRANZ_RIZNE.commitIfActive();
    } catch (const DbError& e) {
        dani.TRANZ_RIZNE.rollbackQuietly();
        return e.message();
    }
    cp1251::EncodeError encodeError;
    const auto bytes = cp1251::encode(text, &encodeError);
    if (!bytes)
        return encodeError.message();
    return writeFileAtomically(filePath(), *bytes, FileAccess::OwnerOnly);
}

bool TarifIni::load(SettingsStore& store)
{
    if (!QFileInfo(filePath()).isFile())
        return false;
    TarifIniLoader::load(IniFile::load(filePath()), store);
    return true;
}

TarifIni::Outcome TarifIni::regenerateAndLoad(TDANI& dani, SettingsStore& store)
{
    Outcome outcome;
    outcome.regenerateError = regenerate(dani);
    outcome.loaded = load(store);
    return outcome;
}
