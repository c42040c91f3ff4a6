#include "mainwindow/StandQueuePrompt.h"

#include "foundation/SqlLiteral.h"
#include "foundation/StandQueue.h"
#include "foundation/TDANI.h"

StandQueuePrompt::StandQueuePrompt(TDANI& dani, const QString& stand) : m_stand(stand)
{
    dani.TRANZ_RIZNE.commitIfActive();
    for (const QueuedDriver& driver : FreeDriversAtStand(dani.RIZNE, stand)) {
        m_callsigns << driver.callsign;
        m_queueText += QStringLiteral("[%1] ").arg(driver.callsign);
    }
    dani.TRANZ_RIZNE.commitIfActive();
}

QString StandQueuePrompt::prompt(const QString& lastLine, const QString& startPoint) const
{
    QString text = QStringLiteral("Вибрана стоянка : ") + m_stand + QStringLiteral("\r\r") +
                   QStringLiteral("Автомобілі на стоянці (з сортуванням по черзі) : \r") + m_queueText +
                   QStringLiteral("\r\r-------------------------------------------\r");
    if (!startPoint.isEmpty())
        text += QStringLiteral("Початковий пункт замовлення : ") + startPoint + QStringLiteral("\r\r");
    return text + lastLine;
}

qint64 StandQueuePrompt::acceptedCallsign(const QString& answer) const
{
    // The bracket test keeps "1" from matching 12 or 112; the parse keeps a typed
    // "12] [15" (which also occurs in the text) from passing as a callsign.
    if (answer.isEmpty() || !m_queueText.contains(QLatin1Char('[') + answer + QLatin1Char(']')))
        return 0;
    const qint64 callsign = typedInteger(answer);
    return m_callsigns.contains(callsign) ? callsign : 0;
}
