#include "mainwindow/DriverMessageDialog.h"

#include "dispatch/DispatchContext.h"
#include "dispatch/DriverMessages.h"
#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/SqlLiteral.h"
#include "mainwindow/RowSnapshots.h"
#include "platform/Prompts.h"

#include <QStringList>

namespace {

const QString kMethodPrompt = QStringLiteral("ПРИ ВІДПРАВЛЕНІ ПОВІДОМЛЕНЬ, ВІЗЬМІТЬ ДО УВАГИ ...\r+ У "
                                             "випадку відправлення повідомлення водію який не задіяний "
                                             "на замовлені (немає активного замовлення) , він зможе його "
                                             "прочитати тільки коли зайде у головне меню своєї "
                                             "програми (так як можливо що він знаходиться в іншому меню)\r+ "
                                             "У випадку відправлення повідомлення водію який не "
                                             "задіяний в системі GPRS , він зможе його прочитати тільки коли "
                                             "увійде у програму \r \rВиберіть метод відправки "
                                             "повідомлення\r1. Зі шаблона\r2. Свій текст");

} // namespace

bool DriverMessageDialog::sendToCurrentDriver()
{
    const std::optional<DriverRow> driver = currentDriverRow(m_ctx.dani);
    if (!driver || driver->callsign == 0) {
        m_ctx.prompts.message(QStringLiteral("Таблиця пуста !!!"));
        return false;
    }
    return send(driver->callsign, driver->name);
}

bool DriverMessageDialog::sendToOrderDriver()
{
    const std::optional<OrderRow> order = currentOrderRow(m_ctx.dani);
    if (!order || order->callsign == 0) {
        m_ctx.prompts.message(
            QStringLiteral("Немає можливості відправити повідомлення водію через систему GPRS. Таблиця "
                           "пуста або водій ще не призначений !!!"));
        return false;
    }
    return send(order->callsign, order->driverName);
}

bool DriverMessageDialog::send(qint64 callsign, const QString& driverName)
{
    const QString text = askMessage();
    if (text.isEmpty()) {
        m_ctx.prompts.message(QStringLiteral("Повідомлення пусте. При потребі повторіть спробу."));
        return false;
    }
    if (!SendMessageToDriver(m_ctx, callsign, driverName, text)) {
        m_ctx.prompts.message(
            QStringLiteral("Повідомлення для водія [%1][%2] через систему GPRS не надіслано. При потребі "
                           "повторіть спробу.")
                .arg(QString::number(callsign), driverName));
        return false;
    }
    m_ctx.prompts.message(QStringLiteral("Повідомлення надіслано успішно."));
    return true;
}

QString DriverMessageDialog::askMessage()
{
    const QString method = m_ctx.prompts.inputBox(QStringLiteral("Відправлення повідомлення водію"),
                                                  kMethodPrompt, QStringLiteral("0"));
    if (method == QLatin1String("1")) {
        const QStringList list = templates();
        return chosenTemplate(list, m_ctx.prompts.inputBox(QStringLiteral("Відправлення по шаблону"),
                                                           templatePrompt(list), QStringLiteral("0")));
    }
    // Own texts only where the company allows them; otherwise the choice counts as none.
    if (method == QLatin1String("2") && m_ctx.settings.flag(SettingKeys::kOwnDriverMessagesAllowed))
        return m_ctx.prompts.inputBox(QStringLiteral("Відправлення власного текста : "),
                                      QStringLiteral("Текст повідомлення"), {});
    return {};
}

QStringList DriverMessageDialog::templates() const
{
    const QString joined = m_ctx.settings.value(SettingKeys::kDriverMessageTemplates);
    return joined.isEmpty() ? QStringList() : joined.split(QLatin1Char('\n'));
}

QString DriverMessageDialog::templatePrompt(const QStringList& templates)
{
    QString prompt = QStringLiteral("Виберіть порядковий номер повідомлення :");
    for (int i = 0; i < templates.size(); ++i)
        prompt += QStringLiteral("\r%1.  ").arg(i + 1) + templates[i];
    return prompt;
}

QString DriverMessageDialog::chosenTemplate(const QStringList& templates, const QString& answer)
{
    const qint64 number = typedInteger(answer);
    return number >= 1 && number <= templates.size() ? templates[number - 1] : QString();
}
