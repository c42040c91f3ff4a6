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
#include "foundation/fb/FbRows.h"
#include "mainwindow/WorkAnalysisLog.h"
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

// Everything a log-in puts in force, gathered before any of it is.
struct ShiftChangeController::NewShift
{
    QString dispatcher;
    SettingsStore settings; // the values the log-in sets, in the order it sets them
    QString tarifError;     // TARIF.INI could not be written afresh: an older one is used
    CityMapData::Reading map;
    std::optional<RegionTables> regions; // read when there is no map to use
    qint64 gprsLowerBound = 0;
    OrderCounts counts;
    bool analyser = false; // this computer is the work analyser

    // A value as it will be once the new shift is in force.
    QString value(const SettingsStore& current, const QString& key) const
    {
        return settings.contains(key) ? settings.value(key) : current.value(key);
    }
};

ShiftChangeController::Outcome ShiftChangeController::logIn(const QString& name, const QString& password)
{
    TDANI& dani = m_ctx.dani;
    Outcome outcome;
    if (name.isEmpty() || password.isEmpty())
        return outcome;
    FbRows staff;
    try {
        dani.TRANZ_RIZNE.commitIfActive();
        staff = dani.RIZNE.exec(QStringLiteral("SELECT  *  FROM  PRACIVNIK WHERE (TABLE_PRACIV_FIO = %1) "
                                               "AND (TABLE_PRACIV_PASSWORD = %2)")
                                    .arg(sql::text(name), sql::text(password)));
        dani.TRANZ_RIZNE.commitIfActive();
    } catch (const DbError& e) {
        // The password could not be checked: the dispatcher on shift stays.
        dani.TRANZ_RIZNE.rollbackQuietly();
        m_ctx.prompts.message(e.message());
        return outcome;
    }
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

    NewShift shift;
    shift.dispatcher = name;
    shift.settings.setValue(SettingsStore::kUserGroup, QStringLiteral("TABLE_PRACIV_FIO"), name);
    bool* rights[] = {&outcome.rights.admin, &outcome.rights.takeOrders, &outcome.rights.handOut,
                      &outcome.rights.maps,  &outcome.rights.tariffs,    &outcome.rights.closedOrders};
    for (int i = 0; i < kRightColumns.size(); ++i) {
        *rights[i] = staff.value(0, kRightColumns[i]).toLongLong() == 1;
        shift.settings.setFlag(SettingsStore::kUserGroup, kRightColumns[i], *rights[i]);
    }
    try {
        readCompanySettings(shift, outcome);
        readWorkstationSettings(shift);
        readMap(shift);
        readGprsPeriod(shift);
        readOrderCounts(shift);
    } catch (const DbError& e) {
        dani.TRANZ_RIZNE.rollbackQuietly();
        dani.TRANZ_FOR_EVENTS.rollbackQuietly();
        emit loadProgress(0, 0);
        leaveNobodyOnShift();
        m_ctx.prompts.message(e.message());
        Outcome loggedOut;
        loggedOut.loggedOut = true;
        return loggedOut;
    }
    putInForce(shift, outcome);
    outcome.loggedIn = true;
    return outcome;
}

void ShiftChangeController::readCompanySettings(NewShift& shift, Outcome& outcome)
{
    TDANI& dani = m_ctx.dani;
    SettingsStore& store = shift.settings;
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

void ShiftChangeController::readWorkstationSettings(NewShift& shift)
{
    SettingsStore& store = shift.settings;
    const TarifIni::Outcome tarif = TarifIni::regenerateAndLoad(m_ctx.dani, store);
    shift.tarifError = tarif.regenerateError;
    if (!tarif.loaded)
        return;
    const QString computer = GetLocalHostName();
    store.setValue(SettingsStore::kAnalysisGroup, QStringLiteral("COMPUTER_NAME"), computer);
    const bool analyser = shift.value(m_ctx.settings, SettingKeys::kAnalysisComputer) == computer;
    shift.analyser = analyser;
    store.setFlag(SettingsStore::kAnalysisGroup, SettingKeys::kAnalysisAllowed, analyser);
    if (!analyser)
        store.setValue(SettingsStore::kAnalysisGroup, SettingKeys::kAnalysisSchedule,
                       QStringLiteral("компютер не є аналізатором роботи"));
}

void ShiftChangeController::readMap(NewShift& shift)
{
    auto progress = [this](int done, int total) { emit loadProgress(done, total); };
    shift.map = m_map.read(progress);
    if (!shift.map.settings)
        shift.regions = ReadRegions(m_ctx, progress);
    emit loadProgress(0, 0); // done, also after a load that stopped half way
}

void ShiftChangeController::readGprsPeriod(NewShift& shift)
{
    TDANI& dani = m_ctx.dani;
    const FbRows& rows = dani.RIZNE.exec(QStringLiteral("SELECT MAX(DYA_VODIY_GPRS_NP) FROM DYA_VODIY_GPRS"));
    shift.gprsLowerBound = rows.isEmpty() ? 0 : typedInteger(displayText(rows.rows.back()[0]).trimmed());
    dani.TRANZ_RIZNE.commitIfActive();
}

void ShiftChangeController::readOrderCounts(NewShift& shift)
{
    const QString lead = shift.value(m_ctx.settings, SettingKeys::kPreliminaryLead);
    shift.counts = CountOrders(m_ctx, HotLimitAt(m_ctx.clock.now(), lead));
}

void ShiftChangeController::putInForce(NewShift& shift, const Outcome& outcome)
{
    m_ctx.currentDispatcher = shift.dispatcher;
    m_ctx.settings.takeValuesOf(shift.settings);
    const CityMapData::LoadResult map = m_map.putInForce(std::move(shift.map));
    if (shift.regions)
        m_ctx.regions = std::move(*shift.regions);
    if (!outcome.rights.maps)
        m_map.switchOff();
    m_ctx.dani.gprsLowerBound = shift.gprsLowerBound;

    // What the dispatcher is told, now that his shift is in force.
    if (!shift.tarifError.isEmpty())
        m_ctx.prompts.message(shift.tarifError);
    if (!m_line.configureFor(shift.dispatcher))
        m_ctx.prompts.message(
            QStringLiteral("Виникла помилка під час відкриття зєднання оператора IP телефонії."));
    ShowOrderCounters(m_ctx, shift.counts);
    if (shift.analyser) {
        const QString error = WorkAnalysisLog::PrepareAnalysisFile();
        if (!error.isEmpty())
            m_ctx.prompts.message(error);
    }
    if (!map.report.isEmpty())
        CityMapData::showReport(map.report, m_ctx.dani.messagesView());
}

void ShiftChangeController::leaveNobodyOnShift()
{
    m_ctx.currentDispatcher.clear();
    SettingsStore& store = m_ctx.settings;
    store.setValue(SettingsStore::kUserGroup, QStringLiteral("TABLE_PRACIV_FIO"), QString());
    for (const QString& column : kRightColumns)
        store.setFlag(SettingsStore::kUserGroup, column, false);
    m_map.switchOff();
    m_ctx.regions = {};
    m_ctx.dani.gprsLowerBound = 0;
}
