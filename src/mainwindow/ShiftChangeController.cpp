#include "mainwindow/ShiftChangeController.h"

#include "citymap/CityMapData.h"
#include "dispatch/DispatchContext.h"
#include "dispatch/NearestStand.h"
#include "dispatch/OrderCounters.h"
#include "dispatch/WorkstationChecks.h"
#include "foundation/DisplayText.h"
#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"
#include "orders/intake/SoftphoneLine.h"
#include "orders/intake/TarifIni.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"

namespace {

const QStringList kRightColumns = {
    QStringLiteral("TABLE_PRACIV_DOST_ADMIN"), QStringLiteral("TABLE_PRACIV_DOST_PRIYOM"),
    QStringLiteral("TABLE_PRACIV_DOST_ROZD"),  QStringLiteral("TABLE_PRACIV_DOST_KARTA"),
    QStringLiteral("TABLE_PRACIV_DOST_TARIF"), QStringLiteral("TABLE_PRACIV_DOST_ZAMOVL")};

} // namespace

ShiftChangeController::ShiftChangeController(DispatchContext& ctx, CityMapData& map, ISoftphoneLine& line)
    : m_ctx(ctx), m_map(map), m_line(line)
{
}

QStringList ShiftChangeController::dispatcherNames()
{
    QStringList anyRight;
    for (const QString& column : kRightColumns)
        anyRight << QStringLiteral("(%1 = 1)").arg(column);
    m_ctx.dani.TRANZ_RIZNE.commitIfActive();
    const FbRows& rows =
        m_ctx.dani.RIZNE.exec(QStringLiteral("SELECT  TABLE_PRACIV_FIO  FROM  PRACIVNIK WHERE ") +
                              anyRight.join(QStringLiteral(" OR ")));
    QStringList names;
    for (const auto& row : rows.rows)
        names << row[0].toString();
    m_ctx.dani.TRANZ_RIZNE.commitIfActive();
    names.sort(Qt::CaseInsensitive);
    return names;
}

QString ShiftChangeController::normaliseRollCall(const QString& stored)
{
    switch (stored.size()) {
    case 1:
        return QStringLiteral("00:0") + stored;
    case 2:
        return QStringLiteral("00:") + stored;
    case 3: {
        const QString padded = QLatin1Char('0') + stored;
        return padded.left(2) + QLatin1Char(':') + padded.mid(2);
    }
    case 4:
        return stored.left(2) + QLatin1Char(':') + stored.mid(2);
    default:
        return stored;
    }
}

ShiftPeriod ShiftChangeController::periodFor(const QDateTime& now, const QString& rollCall)
{
    const QDate today = now.date();
    const QTime roll = QTime::fromString(rollCall, QStringLiteral("hh:mm"));
    if (roll.isValid() && now.time() > roll)
        return {today, today.addDays(1)};
    return {today.addDays(-1), today};
}

ShiftChangeController::Outcome ShiftChangeController::logIn(const QString& name, const QString& password)
{
    TDANI& dani = m_ctx.dani;
    Outcome outcome;
    dani.gprsLowerBound = 0;
    if (name.isEmpty() || password.isEmpty())
        return outcome;
    try {
        dani.TRANZ_RIZNE.commitIfActive();
        const FbRows staff =
            dani.RIZNE.exec(QStringLiteral("SELECT  *  FROM  PRACIVNIK WHERE (TABLE_PRACIV_FIO = %1) "
                                           "AND (TABLE_PRACIV_PASSWORD = %2)")
                                .arg(sql::text(name), sql::text(password)));
        dani.TRANZ_RIZNE.commitIfActive();
        if (staff.rowCount() != 1)
            return outcome;

        // Only now is the line of the dispatcher on shift released: a mistyped password
        // must not cut him off.
        if (m_line.isConnected()) {
            m_ctx.prompts.message(
                m_line.disconnect()
                    ? QStringLiteral(
                          "Процес закриття зєднання попереднього оператора IP телефонії пройшло успішно.")
                    : QStringLiteral(
                          "Виникла помилка під час закриття зєднання попереднього оператора IP телефонії."));
        }

        m_ctx.currentDispatcher = name;
        SettingsStore& store = m_ctx.settings;
        store.setValue(SettingsStore::kUserGroup, QStringLiteral("TABLE_PRACIV_FIO"), name);
        bool* rights[] = {&outcome.rights.admin, &outcome.rights.takeOrders, &outcome.rights.handOut,
                          &outcome.rights.maps,  &outcome.rights.tariffs,    &outcome.rights.closedOrders};
        for (int i = 0; i < kRightColumns.size(); ++i) {
            *rights[i] = staff.value(0, kRightColumns[i]).toLongLong() == 1;
            store.setFlag(SettingsStore::kUserGroup, kRightColumns[i], *rights[i]);
        }

        loadCompanySettings(outcome);
        loadWorkstationSettings();
        if (!m_line.configureFor(name))
            m_ctx.prompts.message(
                QStringLiteral("Виникла помилка під час відкриття зєднання оператора IP телефонії."));
        RefreshOrderCounters(m_ctx);
        loadMap(outcome.rights.maps);
        startGprsPeriod();
        outcome.loggedIn = true;
    } catch (const DbError& e) {
        dani.TRANZ_RIZNE.rollbackQuietly();
        m_ctx.prompts.message(e.message());
        outcome.loggedIn = !m_ctx.currentDispatcher.isEmpty() && m_ctx.currentDispatcher == name;
    }
    return outcome;
}

void ShiftChangeController::loadCompanySettings(Outcome& outcome)
{
    TDANI& dani = m_ctx.dani;
    SettingsStore& store = m_ctx.settings;
    const FbRows company = dani.RIZNE.exec(QStringLiteral("SELECT  *  FROM  DANI_FIRMI"));
    dani.TRANZ_RIZNE.commitIfActive();
    const QStringList columns = {SettingKeys::kAverageSpeed,
                                 SettingKeys::kPreliminaryLead,
                                 SettingKeys::kRidesPerFreeRide,
                                 SettingKeys::kFreeRideLimit,
                                 SettingKeys::kCloseWithoutDistance,
                                 SettingKeys::kRollCall,
                                 SettingKeys::kVat};
    if (company.rowCount() != 1) {
        // Without exactly one company row nothing can be trusted: everything counts as 0.
        for (const QString& key : columns)
            store.setValue(SettingsStore::kOrderLogicGroup, key, QStringLiteral("0"));
        for (const QString& key : {SettingKeys::kJubileeResetMinutes, SettingKeys::kRefusalResetMinutes,
                                   SettingKeys::kHotOrderDelay})
            store.setValue(SettingsStore::kOrderLogicGroup, key, QStringLiteral("0"));
        store.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kRollCall, QStringLiteral("00:00"));
        outcome.rollCallLabel = QStringLiteral("00:00");
        return;
    }
    for (const QString& key : columns) {
        QString value = displayText(company.value(0, key)).trimmed();
        if (key == SettingKeys::kRollCall)
            value = normaliseRollCall(value);
        store.setValue(SettingsStore::kOrderLogicGroup, key, value);
    }
    outcome.rollCallLabel = store.value(SettingKeys::kRollCall);
    outcome.period = periodFor(m_ctx.clock.now(), outcome.rollCallLabel);
}

void ShiftChangeController::loadWorkstationSettings()
{
    SettingsStore& store = m_ctx.settings;
    const TarifIni::Outcome tarif = TarifIni::regenerateAndLoad(m_ctx.dani, store);
    if (!tarif.regenerateError.isEmpty())
        m_ctx.prompts.message(tarif.regenerateError);
    if (!tarif.loaded)
        return;
    const QString computer = GetLocalHostName();
    store.setValue(SettingsStore::kAnalysisGroup, QStringLiteral("COMPUTER_NAME"), computer);
    const bool analyser = store.value(SettingKeys::kAnalysisComputer) == computer;
    store.setFlag(SettingsStore::kAnalysisGroup, SettingKeys::kAnalysisAllowed, analyser);
    if (!analyser)
        store.setValue(SettingsStore::kAnalysisGroup, SettingKeys::kAnalysisSchedule,
                       QStringLiteral("компютер не є аналізатором роботи"));
}

void ShiftChangeController::loadMap(bool allowed)
{
    auto progress = [this](int done, int total) { emit loadProgress(done, total); };
    const CityMapData::LoadResult result = m_map.LoadMap(progress);
    if (result.districtTablesNeeded)
        LoadRegions(m_ctx, progress);
    if (!result.report.isEmpty())
        CityMapData::showReport(result.report, m_ctx.dani.messagesView());
    if (!allowed)
        m_map.switchOff();
    emit loadProgress(0, 0); // done, also after a load that stopped half way
}

void ShiftChangeController::startGprsPeriod()
{
    TDANI& dani = m_ctx.dani;
    const FbRows& rows = dani.RIZNE.exec(QStringLiteral("SELECT MAX(DYA_VODIY_GPRS_NP) FROM DYA_VODIY_GPRS"));
    dani.gprsLowerBound = rows.isEmpty() ? 0 : typedInteger(displayText(rows.rows.back()[0]).trimmed());
    dani.TRANZ_RIZNE.commitIfActive();
}
