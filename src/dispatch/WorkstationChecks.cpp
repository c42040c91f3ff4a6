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

bool CheckAnalysisSchedule(DispatchContext& ctx, IWorkLogWriter& writer)
{
    const QString minute =
        QLatin1Char('[') + ctx.clock.now().time().toString(QStringLiteral("hh:mm")) + QLatin1Char(']');
    QString schedule;
    for (const QString& entry :
         ctx.settings.value(SettingKeys::kAnalysisSchedule).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        schedule += QLatin1Char('[') + entry + QLatin1Char(']');
    if (!schedule.contains(minute))
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
