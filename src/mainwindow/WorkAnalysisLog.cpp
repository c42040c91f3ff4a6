#include "mainwindow/WorkAnalysisLog.h"

#include "dispatch/DispatchContext.h"
#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"
#include "platform/BaseFolder.h"
#include "platform/Clock.h"
#include "platform/Cp1251.h"
#include "platform/Prompts.h"

#include <QFile>
#include <QStringList>

const QString WorkAnalysisLog::kFileName = QStringLiteral("ANALIZTAXI.XLS");

namespace {

const QLatin1String kLineEnd("\r\n");

QString fileError(const QFile& file)
{
    return QStringLiteral("Не вдалося записати файл аналізу роботи %1: %2")
        .arg(WorkAnalysisLog::kFileName, file.errorString());
}

// Appends the text as one write; when the write fails part way the file is cut back to
// its old length, so no half line stays for the spreadsheet to show.
QString appendAtOnce(const QString& text)
{
    const std::optional<QByteArray> bytes = cp1251::encode(text);
    if (!bytes)
        return QStringLiteral("Не вдалося записати файл аналізу роботи %1.").arg(WorkAnalysisLog::kFileName);
    QFile file(BaseFolder::file(WorkAnalysisLog::kFileName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return fileError(file);
    const qint64 before = file.size();
    if (file.write(*bytes) != bytes->size() || !file.flush()) {
        const QString error = fileError(file);
        if (!file.isSequential())
            file.resize(before);
        return error;
    }
    file.close();
    if (file.error() != QFileDevice::NoError)
        return fileError(file);
    return {};
}

} // namespace

WorkAnalysisLog::WorkAnalysisLog(DispatchContext& ctx) : m_ctx(ctx)
{
    m_previous.at = ctx.clock.now();
}

QString WorkAnalysisLog::headerLine()
{
    return QStringLiteral(
        "назва дії\tДата\tЧас\tЗагальна кількість активних водіїв\tВодії на стоянці в даний "
        "час\tВодії на замовлені в даний час\tРізниця між попереднім показником загальної "
        "кількості водіїв\tРізниця кількості закритих замовлень від попереднього "
        "показника\tРізниця кількості закритих ювілейок від попереднього показника\tКількість "
        "водіїв системи GPRS в даний час");
}

QString WorkAnalysisLog::recordLine(const Reading& now, const Reading& previous)
{
    // Day and hour are written with two digits, as the original's padding of a
    // one-digit day or hour made them.
    const QStringList fields = {QStringLiteral("аналіз"),
                                now.at.date().toString(QStringLiteral("dd.MM.yyyy")),
                                now.at.time().toString(QStringLiteral("hh:mm:ss")),
                                QString::number(now.total),
                                QString::number(now.atStands),
                                QString::number(now.onOrders),
                                QString::number(now.total - previous.total),
                                QString::number(now.executed - previous.executed),
                                QString::number(now.jubilee - previous.jubilee),
                                QString::number(now.gprs)};
    QString line;
    for (const QString& field : fields)
        line += field + QLatin1Char('\t');
    return line;
}

QString WorkAnalysisLog::PrepareAnalysisFile()
{
    if (QFile::exists(BaseFolder::file(kFileName)))
        return {};
    return appendAtOnce(headerLine() + kLineEnd);
}

WorkAnalysisLog::Reading WorkAnalysisLog::readCounts()
{
    TDANI& dani = m_ctx.dani;
    // One snapshot for all the counts, so the line describes one moment of the fleet.
    dani.TRANZ_ANALIZ.commitIfActive();
    const auto row = [&dani](const QString& sql) -> const std::vector<QVariant>* {
        const FbRows& rows = dani.TABLE_ANALIZ.exec(sql);
        return rows.isEmpty() ? nullptr : &rows.rows.back();
    };
    const auto count = [&row](const QString& sql) -> qint64 {
        const std::vector<QVariant>* last = row(sql);
        return last ? last->at(0).toLongLong() : 0;
    };
    const QString drivers = QStringLiteral("SELECT COUNT(ZAD_AVTO_POZIVNIY) FROM ZADIANI_AVTO ");
    Reading now;
    try {
        now.total = count(drivers);
        now.atStands =
            count(drivers + QStringLiteral("WHERE (ZAD_AVTO_VULICA <> %1) AND (ZAD_AVTO_ZADIANIST = 0)")
                                .arg(sql::text(QStringLiteral("[]{}"))));
        now.onOrders = count(drivers + QStringLiteral("WHERE (ZAD_AVTO_ZADIANIST = 1)"));
        // The executed orders and, among them, the jubilee trips in one natural pass over
        // the orders: most of them are executed, so going through the status index reads
        // nearly every order anyway, and two separate counts read each one twice.
        const std::vector<QVariant>* executed =
            row(QStringLiteral(
                    "SELECT COUNT(IIF(ZAMOVL_STATUS_ZAMOVL = 1, 1, NULL)), COUNT(IIF((ZAMOVL_STATUS_ZAMOVL "
                    "= 1) AND (ZAMOVL_BEZKOSHTOVN = %1), 1, NULL)) FROM ZAMOVLENNIA")
                    .arg(sql::text(QStringLiteral("TAK"))));
        now.executed = executed ? executed->at(0).toLongLong() : 0;
        now.jubilee = executed ? executed->at(1).toLongLong() : 0;
        now.gprs =
            count(drivers + QStringLiteral("WHERE ") +
                  sql::containsCondition(QStringLiteral("ZAD_AVTO_MARKA_AVTO"), QStringLiteral("{GPRS}")));
        dani.TRANZ_ANALIZ.commit();
    } catch (const DbError&) {
        dani.TRANZ_ANALIZ.rollbackQuietly();
        throw;
    }
    return now;
}

WorkAnalysisLog::Outcome WorkAnalysisLog::WriteAnalysisRecord()
{
    Outcome outcome;
    const QDateTime at = m_ctx.clock.now();
    Reading now;
    try {
        now = readCounts();
    } catch (const DbError& e) {
        outcome.error = e.message();
        return outcome;
    }
    now.at = at;
    // A file gone since the log-in (moved away, deleted by hand) is started again with
    // its header, and this reading still goes into it.
    QString text;
    if (!QFile::exists(BaseFolder::file(kFileName)))
        text = headerLine() + kLineEnd;
    text += recordLine(now, m_previous) + kLineEnd;
    outcome.error = appendAtOnce(text);
    if (!outcome.error.isEmpty())
        return outcome;
    m_previous = now;
    m_ctx.settings.setValue(SettingsStore::kAnalysisGroup, SettingKeys::kAnalysisPreviousReading,
                            at.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")));
    outcome.written = true;
    return outcome;
}

void WorkAnalysisLog::writeAnalysisRecord()
{
    const Outcome outcome = WriteAnalysisRecord();
    if (!outcome.error.isEmpty())
        m_ctx.prompts.message(outcome.error);
}

bool WorkAnalysisLog::checkSchedule()
{
    return CheckAnalysisSchedule(m_ctx, *this, m_lastProcessedMinute);
}
