#include "dispatch/WorkstationChecks.h"

#include "dispatch/DispatchContext.h"
#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/TDANI.h"
#include "platform/Clock.h"
#include "platform/ProgramExit.h"
#include "platform/Prompts.h"

#include <QCoreApplication>
#include <QHostInfo>
#include <QNetworkInterface>

bool CheckDatabaseLink(DispatchContext& ctx, IProgramExit& exit)
{
    FbConnection& connection = ctx.dani.BAZA;
    if (!connection.isConnected() || connection.ping())
        return true;
    // Marked lost before the message: the box runs an event loop of its own, and a tick
    // or an alert handled while it is open must find the link already given up.
    connection.markLost();
    ctx.prompts.message(
        QStringLiteral("Немає звязку з базою даних (можливо пропала сітка або інше) --- ВИХІД З ПРОГРАМИ "
                       "(після обновлення звязку перезапустіть програму) !!!"));
    exit.exitProgram(1);
    return false;
}

bool CheckAnalysisSchedule(DispatchContext& ctx, IWorkLogWriter& writer, QDateTime& lastProcessedMinute)
{
    const QDateTime now = ctx.clock.now();
    const QDateTime minute(now.date(), QTime(now.time().hour(), now.time().minute()));
    if (lastProcessedMinute.isValid() && minute == lastProcessedMinute)
        return false;
    constexpr qint64 kLongestCatchUp = 60 * 60;
    QDateTime first = minute;
    if (lastProcessedMinute.isValid() && lastProcessedMinute < minute &&
        lastProcessedMinute.secsTo(minute) <= kLongestCatchUp)
        first = lastProcessedMinute.addSecs(60);
    // Moved on before anything is written: the record lets window messages run and may
    // show a message box, and a tick handled meanwhile must find this minute done.
    lastProcessedMinute = minute;

    QString schedule;
    for (const QString& entry :
         ctx.settings.value(SettingKeys::kAnalysisSchedule).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        schedule += QLatin1Char('[') + entry + QLatin1Char(']');
    bool due = false;
    for (QDateTime at = first; at <= minute && !due; at = at.addSecs(60))
        due = schedule.contains(QLatin1Char('[') + at.time().toString(QStringLiteral("hh:mm")) +
                                QLatin1Char(']'));
    if (!due)
        return false;
    QCoreApplication::processEvents();
    writer.writeAnalysisRecord();
    return true;
}

QString GetLocalIpAddress()
{
    for (const QHostAddress& address : QNetworkInterface::allAddresses())
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
            return address.toString();
    for (const QHostAddress& address : QNetworkInterface::allAddresses())
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            return address.toString();
    return {};
}

QString GetLocalHostName()
{
    return GetLocalIpAddress().isEmpty() ? QString() : QHostInfo::localHostName();
}
