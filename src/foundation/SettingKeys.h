#pragma once

#include <QString>

// Names under which settings sit in the settings store. Values read from TARIF.INI are
// kept as "SECTION/KEY" (lists as "SECTION/ENTRYKEY" with their entries joined by "\n",
// Booleans as "1"/"0"); company settings from DANI_FIRMI under their column names.
namespace SettingKeys {

inline QString tarif(const char* section, const char* key)
{
    return QLatin1String(section) + QLatin1Char('/') + QLatin1String(key);
}

// DANI_FIRMI
inline const QString kAverageSpeed = QStringLiteral("FIRMA_SERED_SHVIDKIST");
inline const QString kPreliminaryLead = QStringLiteral("FIRMA_ZA_CHAS_POPERED_ZAMOV");
inline const QString kRidesPerFreeRide = QStringLiteral("FIRMA_KIL_DLIA_BEZKOCHT_POIZDKI");
inline const QString kFreeRideLimit = QStringLiteral("FIRMA_LIMIT_BEZKOCHT_POIZDKI_KM");
inline const QString kCloseWithoutDistance = QStringLiteral("FIRMA_CHAS_DLIA_ZAKR_ZAMOVL");
inline const QString kRollCall = QStringLiteral("FIRMA_CHAS_DLIA_PEREZM_AVTO"); // hh:mm
inline const QString kVat = QStringLiteral("FIRMA_PDV");

// TARIF.INI, section SET_DISPETCHER
inline const QString kJubileeResetMinutes = tarif("SET_DISPETCHER", "CHAS_OBNUL_YUVILEYKA");
inline const QString kRefusalResetMinutes = tarif("SET_DISPETCHER", "CHAS_OBNUL_RIBA");
inline const QString kHotOrderDelay = tarif("SET_DISPETCHER", "PROZVON_KLIENT");
inline const QString kMaxAutoDistance = tarif("SET_DISPETCHER", "MAX_VIDST_PRI_AUTO_ZAM");
inline const QString kAutoFreeRides = tarif("SET_DISPETCHER", "AUTOROZDACHA_YUVIL");
inline const QString kFreeRidesToMarked = tarif("SET_DISPETCHER", "DAVATI_YUVIL_VODIYAM_Z_POMITKOU");

// Options of the stand grid: add the GPRS status and the jubilee mark to each driver.
inline const QString kStandShowsGprs = QStringLiteral("STAND_GRID_GPRS");
inline const QString kStandShowsJubilee = QStringLiteral("STAND_GRID_YUVILEYKA");

// Work analysis
inline const QString kAnalysisAllowed = QStringLiteral("ANALIZ_ALLOWED");
inline const QString kAnalysisSchedule = tarif("SET_ANALIZ", "PROMIZHOK"); // entries hh:mm
// Not a setting: the date and time of the last reading the work log wrote, shown beside them.
inline const QString kAnalysisPreviousReading = QStringLiteral("ANALIZ_PREVIOUS_READING");

// TARIF.INI, the rest of SET_DISPETCHER
inline const QString kMyCity = tarif("SET_DISPETCHER", "MY_CITY");
// The online map's search page for places when the city map is not in use; empty for
// the default one.
inline const QString kMapSearchPage = tarif("SET_DISPETCHER", "MAP_SEARCH_PAGE");
inline const QString kFirstNewClientCode = tarif("SET_DISPETCHER", "MIN_KOD_FOR_CREATE");
inline const QString kMaxStandsPerDriver = tarif("SET_DISPETCHER", "MAX_KIL_STOYANKA_VODIY");

// TARIF.INI, messages
inline const QString kOwnDriverMessagesAllowed = tarif("SET_MSG_VODIY", "DOZVIL_STVOR_SVOY_POVID");
inline const QString kDriverMessageTemplates = tarif("SET_MSG_VODIY", "SHABLON_POVID");
inline const QString kDispatcherMessageTemplates = tarif("SET_MSG_DISP", "SHABLON_POVID");

// TARIF.INI, lists ("\n"-joined entries)
inline const QString kTariffDiscounts = tarif("ZNIZHKA_TARIF", "POZ");
inline const QString kExtraSettlements = tarif("DOD_NASEL_PUNKTY", "POZ"); // without the ">" and "<" marks
inline const QString kClientBlackList = tarif("CHORNIY_SPISOK_KLIENT", "POZ");
inline const QString kOneWayStreets = tarif("ODNOSTORONNI_VULICI", "POZ");
// Not a TARIF.INI key: the one-way entries the street graph could not read, one warning
// a line, shown beside the list in the settings window.
inline const QString kOneWayStreetsSkipped = QStringLiteral("ODNOSTORONNI_VULICI/SKIPPED");
inline const QString kDistanceCoefficients = tarif("KOEFICIENT", "POZ");

// TARIF.INI, work analysis
inline const QString kAnalysisComputer = tarif("SET_ANALIZ", "COMP_ANALIZ");

// TARIF.INI, binding of map coordinates to longitude and latitude (numbers with ".")
inline const QString kBindingX = tarif("PRIVIAZKA_VISICOM", "X");
inline const QString kBindingY = tarif("PRIVIAZKA_VISICOM", "Y");
inline const QString kBindingLongitude = tarif("PRIVIAZKA_VISICOM", "X_PROSTIR");
inline const QString kBindingLatitude = tarif("PRIVIAZKA_VISICOM", "Y_PROSTIR");
inline const QString kBindingMapSpanX = tarif("PRIVIAZKA_VISICOM", "RIZN_X_KART");
inline const QString kBindingMapSpanY = tarif("PRIVIAZKA_VISICOM", "RIZN_Y_KART");
inline const QString kBindingLongitudeSpan = tarif("PRIVIAZKA_VISICOM", "RIZN_X_PROSTIR");
inline const QString kBindingLatitudeSpan = tarif("PRIVIAZKA_VISICOM", "RIZN_Y_PROSTIR");

// TARIF.INI, the web distance service. No public service answers the old fixed address
// and bare request any more, so the endpoint, a Host header and a key are settings.
inline const QString kWebDistanceScheme = tarif("SET_WEB_VIDSTAN", "SCHEME"); // "http" or "https"
inline const QString kWebDistanceHost = tarif("SET_WEB_VIDSTAN", "HOST");
inline const QString kWebDistancePort = tarif("SET_WEB_VIDSTAN", "PORT"); // 0: the scheme's own
inline const QString kWebDistancePath = tarif("SET_WEB_VIDSTAN", "PATH");
inline const QString kWebDistanceHostHeader = tarif("SET_WEB_VIDSTAN", "HOST_HEADER"); // empty: none
inline const QString kWebDistanceApiKey = tarif("SET_WEB_VIDSTAN", "API_KEY");
inline const QString kWebDistanceTimeout = tarif("SET_WEB_VIDSTAN", "TIMEOUT_MS");

// TARIF.INI, softphone. The operator entries hold every operator's SIP password: a
// display of the store should leave kSipOperators out.
inline const QString kSipCityCode = tarif("SET_SIP", "KODMISTA");
inline const QString kSipDigitsToDelete = tarif("SET_SIP", "DELETEZNAK");
inline const QString kSipStunHost = tarif("SET_SIP", "STUN");
inline const QString kSipPrefixAsContact = tarif("SET_SIP", "PreficsYakKontakt");
inline const QString kSipOperatorCount = tarif("SET_SIP", "COUNT_OPERATOR");
inline const QString kSipOperators = tarif("SET_SIP", "OPERATOR");

// Groups of the settings window that hold TARIF.INI lists (captions as the window shows them).
inline const QString kCoefficientsGroup = QStringLiteral("  Налаштування коефіцієнтів тарифів ...  ");
inline const QString kOneWayStreetsGroup =
    QStringLiteral("  Налаштування поганопроїздних і односторонніх вулиць ...  ");
inline const QString kClientBlackListGroup = QStringLiteral("  Чорний список клієнтів ...  ");
inline const QString kDiscountsGroup = QStringLiteral("  Акційні знижки по тарифам  ...  ");
inline const QString kDispatcherTemplatesGroup =
    QStringLiteral("  Налаштування шаблонів повідомлень між диспетчерами ...  ");
inline const QString kDriverTemplatesGroup =
    QStringLiteral("  Налаштування шаблонів повідомлень для водіїв ...  ");
inline const QString kSettlementsGroup =
    QStringLiteral("  Додатковий список найближчих населених пунктів для замовлення ...  ");

} // namespace SettingKeys
