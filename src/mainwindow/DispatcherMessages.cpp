#include "mainwindow/DispatcherMessages.h"

#include "dispatch/DispatchContext.h"
#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"

const QString DispatcherMessages::kNotSentMessage =
    QStringLiteral("Повідомлення не надіслено. При потребі повторіть спробу.");

bool DispatcherMessages::compose()
{
    IPrompts& prompts = m_ctx.prompts;
    const QString how = prompts.inputBox(QStringLiteral("Виберіть метод відправки повідомлення"),
                                         QStringLiteral("1. Зі шаблона\r2. Свій текст"), QStringLiteral("0"));
    QString text;
    if (how == QLatin1String("1")) {
        const QString list = m_ctx.settings.value(SettingKeys::kDispatcherMessageTemplates);
        const QStringList templates = list.isEmpty() ? QStringList{} : list.split(QLatin1Char('\n'));
        QString prompt = QStringLiteral("Виберіть порядковий номер повідомлення :");
        for (qsizetype i = 0; i < templates.size(); ++i)
            prompt += QStringLiteral("\r%1.  ").arg(i + 1) + templates[i];
        const qint64 chosen = typedInteger(
            prompts.inputBox(QStringLiteral("Відправлення по шаблону"), prompt, QStringLiteral("0")));
        if (chosen >= 1 && chosen <= templates.size())
            text = templates[chosen - 1];
    } else if (how == QLatin1String("2")) {
        text = prompts.inputBox(QStringLiteral("Відправлення власного текста : "),
                                QStringLiteral("Текст повідомлення"), {});
    }
    if (text.isEmpty()) {
        prompts.message(kNotSentMessage);
        return false;
    }
    return send(text);
}

bool DispatcherMessages::send(const QString& text)
{
    try {
        if (store(text))
            return true;
        // The number was taken by another workstation in the same moment: once more.
        if (store(text))
            return true;
        m_ctx.prompts.message(kNotSentMessage);
    } catch (const DbError& e) {
        m_ctx.prompts.message(e.message());
    }
    return false;
}

bool DispatcherMessages::store(const QString& text)
{
    TDANI& dani = m_ctx.dani;
    const QDateTime now = m_ctx.clock.now();
    dani.TRANZ_RIZNE.commitIfActive();
    try {
        // The seed row 0 gives the largest number even in an empty table; it lives only
        // inside this transaction.
        dani.RIZNE.exec(QStringLiteral("DELETE FROM MSG_FOR_DISP WHERE (MSG_FOR_DISP_NP = 0)"));
        dani.RIZNE.exec(QStringLiteral("INSERT INTO MSG_FOR_DISP (MSG_FOR_DISP_NP, MSG_FOR_DISP_DATA, "
                                       "MSG_FOR_DISP_FIO) VALUES (0, %1, 'не задано')")
                            .arg(sql::date(now.date())));
        dani.RIZNE.exec(
            QStringLiteral("INSERT INTO MSG_FOR_DISP (MSG_FOR_DISP_NP, MSG_FOR_DISP_DATA, "
                           "MSG_FOR_DISP_FIO, MSG_FOR_DISP_TEXT) VALUES ((SELECT MAX(MSG_FOR_DISP_NP) "
                           "FROM MSG_FOR_DISP)+1,  %1,  %2,  %3)")
                .arg(sql::timestamp(now), sql::text(m_ctx.currentDispatcher), sql::text(text)));
        dani.RIZNE.exec(QStringLiteral("DELETE FROM MSG_FOR_DISP WHERE (MSG_FOR_DISP_NP = 0)"));
        dani.TRANZ_RIZNE.commit();
        return true;
    } catch (const DbError& e) {
        dani.TRANZ_RIZNE.rollbackQuietly();
        // A lock or key conflict with another sender is worth a second try; any other
        // failure is shown.
        if (e.lockConflict() || e.message().contains(QLatin1String("UNIQUE")) ||
            e.message().contains(QLatin1String("PRIMARY")))
            return false;
        throw;
    }
}
