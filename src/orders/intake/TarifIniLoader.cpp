#include "orders/intake/TarifIniLoader.h"

#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/SqlLiteral.h"
#include "orders/intake/NumberedList.h"
#include "orders/intake/ProfileBoolean.h"
#include "platform/IniFile.h"

#include <vector>

namespace {

enum class Kind { Text, Integer, YesNo, Real };

struct Scalar
{
    const char* section;
    const char* key;
    Kind kind;
    QString defaultValue; // text, or the number / "1" / "0" for the other kinds
    QString group;
};

struct List
{
    const char* section;
    const char* countKey;
    const char* entryKey; // entries are entryKey + "_" + n, stored under SECTION/entryKey
    QString group;
    bool settlementMarks = false; // entries written as ">name<"
};

const std::vector<Scalar>& scalars()
{
    const QString& logic = SettingsStore::kOrderLogicGroup;
    const QString& binding = SettingsStore::kMapBindingGroup;
    // The softphone has no group of its own in the settings window; its server sits
    // beside the database server.
    const QString& sip = SettingsStore::kServerGroup;
    static const std::vector<Scalar> table = {
        {"SET_DISPETCHER", "MY_CITY", Kind::Text, QStringLiteral("Луцьк Волинська (по замовчуванні)"),
         SettingsStore::kUserGroup},
        {"SET_DISPETCHER", "MAP_SEARCH_PAGE", Kind::Text, QString(), SettingsStore::kUserGroup},
        {"SET_DISPETCHER", "CHAS_OBNUL_YUVILEYKA", Kind::Integer, QStringLiteral("0"), logic},
        {"SET_DISPETCHER", "CHAS_OBNUL_RIBA", Kind::Integer, QStringLiteral("0"), logic},
        {"SET_DISPETCHER", "PROZVON_KLIENT", Kind::Integer, QStringLiteral("5"), logic},
        {"SET_DISPETCHER", "MIN_KOD_FOR_CREATE", Kind::Integer, QStringLiteral("0"), logic},
        {"SET_DISPETCHER", "MAX_KIL_STOYANKA_VODIY", Kind::Integer, QStringLiteral("1"), logic},
        // The automatic distribution sub-group of the order logic group.
        {"SET_DISPETCHER", "MAX_VIDST_PRI_AUTO_ZAM", Kind::Integer, QStringLiteral("0"), logic},
        {"SET_DISPETCHER", "AUTOROZDACHA_YUVIL", Kind::YesNo, QStringLiteral("0"), logic},
        {"SET_DISPETCHER", "DAVATI_YUVIL_VODIYAM_Z_POMITKOU", Kind::YesNo, QStringLiteral("0"), logic},
        {"SET_MSG_VODIY", "DOZVIL_STVOR_SVOY_POVID", Kind::YesNo, QStringLiteral("0"),
         SettingKeys::kDriverTemplatesGroup},
        {"SET_ANALIZ", "COMP_ANALIZ", Kind::Text, QString(), SettingsStore::kAnalysisGroup},
        {"PRIVIAZKA_VISICOM", "X", Kind::Real, QStringLiteral("0"), binding},
        {"PRIVIAZKA_VISICOM", "Y", Kind::Real, QStringLiteral("0"), binding},
        {"PRIVIAZKA_VISICOM", "X_PROSTIR", Kind::Real, QStringLiteral("0"), binding},
        {"PRIVIAZKA_VISICOM", "Y_PROSTIR", Kind::Real, QStringLiteral("0"), binding},
        {"PRIVIAZKA_VISICOM", "RIZN_X_KART", Kind::Real, QStringLiteral("0"), binding},
        {"PRIVIAZKA_VISICOM", "RIZN_Y_KART", Kind::Real, QStringLiteral("0"), binding},
        {"PRIVIAZKA_VISICOM", "RIZN_X_PROSTIR", Kind::Real, QStringLiteral("0"), binding},
        {"PRIVIAZKA_VISICOM", "RIZN_Y_PROSTIR", Kind::Real, QStringLiteral("0"), binding},
        // The web distance service sits beside the other servers.
        {"SET_WEB_VIDSTAN", "SCHEME", Kind::Text, QStringLiteral("http"), sip},
        {"SET_WEB_VIDSTAN", "HOST", Kind::Text, QStringLiteral("maps.googleapis.com"), sip},
        {"SET_WEB_VIDSTAN", "PORT", Kind::Integer, QStringLiteral("0"), sip},
        {"SET_WEB_VIDSTAN", "PATH", Kind::Text, QStringLiteral("/maps/api/distancematrix/xml"), sip},
        {"SET_WEB_VIDSTAN", "HOST_HEADER", Kind::Text, QString(), sip},
        {"SET_WEB_VIDSTAN", "API_KEY", Kind::Text, QString(), sip},
        {"SET_WEB_VIDSTAN", "TIMEOUT_MS", Kind::Integer, QStringLiteral("10000"), sip},
        {"SET_SIP", "KODMISTA", Kind::Text, QString(), sip},
        {"SET_SIP", "DELETEZNAK", Kind::Text, QString(), sip},
        {"SET_SIP", "STUN", Kind::Text, QString(), sip},
        {"SET_SIP", "PreficsYakKontakt", Kind::YesNo, QStringLiteral("1"), sip},
        {"SET_SIP", "COUNT_OPERATOR", Kind::Integer, QStringLiteral("0"), sip},
    };
    return table;
}

const std::vector<List>& lists()
{
    static const std::vector<List> table = {
        {"SET_MSG_VODIY", "KIL_SHABLON_POVID", "SHABLON_POVID", SettingKeys::kDriverTemplatesGroup},
        {"SET_MSG_DISP", "KIL_SHABLON_POVID", "SHABLON_POVID", SettingKeys::kDispatcherTemplatesGroup},
        {"ZNIZHKA_TARIF", "KIL_POZ", "POZ", SettingKeys::kDiscountsGroup},
        {"DOD_NASEL_PUNKTY", "KIL_POZ", "POZ", SettingKeys::kSettlementsGroup, true},
        {"CHORNIY_SPISOK_KLIENT", "KIL_POZ", "POZ", SettingKeys::kClientBlackListGroup},
        {"ODNOSTORONNI_VULICI", "KIL_POZ", "POZ", SettingKeys::kOneWayStreetsGroup},
        {"KOEFICIENT", "KIL_POZ", "POZ", SettingKeys::kCoefficientsGroup},
        {"SET_ANALIZ", "KIL_PROMIZHOK", "PROMIZHOK", SettingsStore::kAnalysisGroup},
    };
    return table;
}

QString readScalar(const IniFile& ini, const Scalar& setting)
{
    const QString section = QLatin1String(setting.section);
    const QString key = QLatin1String(setting.key);
    if (!ini.hasKey(section, key))
        return setting.defaultValue;
    switch (setting.kind) {
    case Kind::Text:
        return ini.readString(section, key);
    case Kind::Integer:
        return QString::number(ini.readInteger(section, key, setting.defaultValue.toInt()));
    case Kind::YesNo:
        return profileBoolean(ini.readString(section, key)) ? QStringLiteral("1") : QStringLiteral("0");
    case Kind::Real:
        // Written with "." or "," depending on who edited the file; kept with ".".
        return QString::number(typedAmount(ini.readString(section, key)), 'g', 15);
    }
    return setting.defaultValue;
}

// The settlements are stored as ">name<" by the editor of the file; the order form
// offers the bare name.
QString withoutSettlementMarks(QString entry)
{
    if (entry.startsWith(QLatin1Char('>')))
        entry.remove(0, 1);
    if (entry.endsWith(QLatin1Char('<')))
        entry.chop(1);
    return entry;
}

} // namespace

void TarifIniLoader::load(const IniFile& ini, SettingsStore& store)
{
    for (const Scalar& setting : scalars())
        store.setValue(setting.group, SettingKeys::tarif(setting.section, setting.key),
                       readScalar(ini, setting));

    for (const List& list : lists()) {
        QStringList entries = readNumberedList(ini, QLatin1String(list.section), QLatin1String(list.countKey),
                                               QLatin1String(list.entryKey) + QLatin1Char('_'));
        if (list.settlementMarks) {
            for (QString& entry : entries)
                entry = withoutSettlementMarks(entry);
            entries.removeAll(QString());
        }
        store.setValue(list.group, SettingKeys::tarif(list.section, list.entryKey),
                       entries.join(QLatin1Char('\n')));
    }

    const QStringList operators =
        readNumberedList(ini, QStringLiteral("SET_SIP"), QStringLiteral("COUNT_OPERATOR"),
                         QStringLiteral("OPERATOR{"), QStringLiteral("}"));
    store.setValue(SettingsStore::kServerGroup, SettingKeys::kSipOperators,
                   operators.join(QLatin1Char('\n')));
}
