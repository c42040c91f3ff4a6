#include "mainwindow/GprsActionDetails.h"

#include "dispatch/DispatchContext.h"
#include "foundation/DisplayText.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "foundation/TextHelpers.h"
#include "foundation/fb/DbError.h"
#include "mainwindow/DriverMessageDialog.h"
#include "mainwindow/RowSnapshots.h"
#include "platform/Prompts.h"

bool GprsActionDetails::showCurrentAction()
{
    const std::optional<GprsActionRow> action = currentGprsActionRow(m_ctx.dani);
    if (!action || action->orderNumber == 0)
        return false;
    Details details;
    try {
        details = describe(action->callsign, action->orderNumber);
    } catch (const DbError& e) {
        m_ctx.dani.TRANZ_RIZNE.rollbackQuietly();
        m_ctx.prompts.message(e.message());
        return false;
    }
    if (!m_ctx.prompts.question(details.text))
        return false;
    return m_messages.send(action->callsign, details.driverName);
}

GprsActionDetails::Details GprsActionDetails::describe(qint64 callsign, qint64 orderNumber)
{
    TDANI& dani = m_ctx.dani;
    dani.TRANZ_RIZNE.commitIfActive();
    const FbRows order =
        dani.RIZNE.exec(QStringLiteral("SELECT * FROM  ZAMOVLENNIA WHERE (ZAMOVL_NUMBER = %1)")
                            .arg(sql::integer(orderNumber)));
    auto orderField = [&](const char* column) {
        return order.isEmpty() ? QString()
                               : displayText(order.value(order.rowCount() - 1, QLatin1String(column)));
    };
    Details d;
    d.driverName = orderField("ZAMOVL_FIO_TAXI");
    const qint64 client =
        order.isEmpty()
            ? 0
            : order.value(order.rowCount() - 1, QStringLiteral("ZAMOVL_NOMER_KLIENT")).toLongLong();
    d.text = QStringLiteral("================= ДАНІ ЗАМОВЛЕННЯ :\r") + QStringLiteral("Початковий пункт : ") +
             orderField("ZAMOVL_POCHAT_PUNKT") + QStringLiteral("\rКінцевий пункт : ") +
             orderField("ZAMOVL_PUNKT_PRIZHACH") + QStringLiteral("\rДата і час замовлення : ") +
             orderField("ZAMOVL_DATA_PRIYOMA") + QLatin1Char(' ') + orderField("ZAMOVL_CHAS_PRIYOMA") +
             QStringLiteral("\rДодаткові дані замовлення : ") + orderField("ZAMOVL_PRICHINA_DELETE") +
             QStringLiteral("\rКод клієнта : ") + orderField("ZAMOVL_NOMER_KLIENT") +
             QStringLiteral("\rПозивний : %1\r\r").arg(callsign);

    if (client != 0) {
        const FbRows clients =
            dani.RIZNE.exec(QStringLiteral("SELECT * FROM  KLIENT WHERE ") +
                            sql::clientCodeCondition(QStringLiteral("KLIENT_DODATKOVO"), client));
        if (clients.rowCount() == 1) {
            auto field = [&](const char* column) {
                return displayText(clients.value(0, QLatin1String(column)));
            };
            d.text += QStringLiteral("================= ДАНІ КЛІЄНТА :\rФІО клієнта : ") +
                      field("KLIENT_FIO") + QStringLiteral("\rАдреса проживання : ") +
                      field("KLIENT_ADRESS") + QStringLiteral("\rКонтактні телефони : ") +
                      field("KLIENT_TELEFON") + QStringLiteral("\rРозширені дані кода : ") +
                      field("KLIENT_DODATKOVO") + QStringLiteral("\r\r");
        }
    }
    const FbRows drivers = dani.RIZNE.exec(
        QStringLiteral("SELECT * FROM  VODII WHERE (TABL_VODIY_FIO = %1)").arg(sql::text(d.driverName)));
    if (drivers.rowCount() == 1) {
        auto field = [&](const char* column) { return displayText(drivers.value(0, QLatin1String(column))); };
        d.text += QStringLiteral("================= ДАНІ ВОДІЯ :\rФІО водія : ") + field("TABL_VODIY_FIO") +
                  QStringLiteral("\rАдреса проживання : ") + field("TABL_VODIY_ADRESSA") +
                  QStringLiteral("\rКонтактні телефони : ") + field("TABL_VODIY_TELEFON");
    }
    dani.TRANZ_RIZNE.commitIfActive();
    d.text += QStringLiteral(
        "==================================\r\r\rВІДПРАВИТИ ПОВІДОМЛЕННЯ ВИБРАНОМУ ПОЗИВНОМУ ?\r");
    return d;
}
