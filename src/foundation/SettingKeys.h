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

// Work analysis
inline const QString kAnalysisAllowed = QStringLiteral("ANALIZ_ALLOWED");
inline const QString kAnalysisSchedule = tarif("SET_ANALIZ", "PROMIZHOK"); // entries hh:mm

} // namespace SettingKeys
