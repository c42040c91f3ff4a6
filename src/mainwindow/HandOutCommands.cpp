#include "mainwindow/HandOutCommands.h"

#include "dispatch/DispatchContext.h"
#include "dispatch/OrderAssignment.h"
#include "foundation/DisplayText.h"
#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "foundation/TextHelpers.h"
#include "foundation/fb/DbError.h"
#include "mainwindow/OrderPanels.h"
#include "mainwindow/RowSnapshots.h"
#include "mainwindow/StandQueuePrompt.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"

const QString HandOutCommands::kChangedMessage =
    QStringLiteral("Дані замовлення змінилися. При потребі повторіть спробу.");
const QString HandOutCommands::kNotAtStandMessage =
    QStringLiteral("Дані замовлення змінилися і/або позивний не зареєстрований на даній стоянці. При потребі "
                   "повторіть спробу.");

namespace {

const QString kStart = QStringLiteral("Запустити позивний [");

QString offer(qint64 callsign, qint64 number, const QString& pickup)
{
    return kStart + QString::number(callsign) + QStringLiteral("] на замовлення [{") +
           QString::number(number) + QStringLiteral("} ") + pickup + QLatin1Char(']');
}

bool onOrderLists(DataModuleView::OrdersPage page)
{
    return page == DataModuleView::OrdersPage::Panels || page == DataModuleView::OrdersPage::ShortGrid;
}

} // namespace

bool HandOutCommands::dueWithoutDriver() const
{
    const FbDataSet& orders = m_ctx.dani.TABL_AKTIV_ZAMOVL;
    if (orders.isEmpty())
        return false;
    const QDateTime due(orders.value(QStringLiteral("ZAMOVL_DATA_PRIYOMA")).toDate(),
                        orders.value(QStringLiteral("ZAMOVL_CHAS_PRIYOMA")).toTime());
    const int lead = int(typedInteger(m_ctx.settings.value(SettingKeys::kPreliminaryLead)));
    return OrderPanels::status(orders.value(QStringLiteral("ZAMOVL_POZIVNIY")).toLongLong(), due, lead,
                               m_ctx.clock.now()) == OrderPanels::Status::Due;
}

std::optional<HandOutCommands::Order> HandOutCommands::offeredOrder(const Shown& shown) const
{
    if (shown.page == DataModuleView::OrdersPage::Hot) {
        if (!shown.hotOrder)
            return std::nullopt;
        return Order{shown.hotOrder->orderNumber, shown.hotOrder->pickup};
    }
    const std::optional<OrderRow> order = currentOrderRow(m_ctx.dani);
    if (!order || order->callsign != 0 || !dueWithoutDriver())
        return std::nullopt;
    return Order{order->number,
                 displayText(m_ctx.dani.TABL_AKTIV_ZAMOVL.value(QStringLiteral("ZAMOVL_POCHAT_PUNKT")))};
}

QString HandOutCommands::assignmentCaption(const Shown& shown) const
{
    const std::optional<DriverRow> driver = currentDriverRow(m_ctx.dani);
    if (!driver)
        return QStringLiteral("Таблиця пуста !!!");
    if (driver->orderNumber != 0)
        return QStringLiteral("Водій задіяний");
    if (shown.page == DataModuleView::OrdersPage::Hot) {
        const auto order = offeredOrder(shown);
        return order ? QStringLiteral("0> ") + offer(driver->callsign, order->number, order->pickup)
                     : QStringLiteral("Не вибрано активне замовлення");
    }
    const std::optional<OrderRow> current = currentOrderRow(m_ctx.dani);
    if (!current)
        return QStringLiteral("Не вибрано активне замовлення");
    if (current->callsign != 0)
        return QStringLiteral("Вибране замовлення вже у виконанні");
    const auto order = offeredOrder(shown);
    if (!order)
        return QStringLiteral("Вибране замовлення попереднє. Немає можливості віддати.");
    return QStringLiteral("0> ") + offer(driver->callsign, order->number, order->pickup);
}

bool HandOutCommands::assignByCaption(const QString& caption)
{
    if (!caption.contains(kStart) || !m_ctx.prompts.question(caption + QStringLiteral(" ?")))
        return false;
    return assign(typedInteger(ExtractBetween(caption, QStringLiteral("["), QStringLiteral("]"))),
                  typedInteger(ExtractBetween(caption, QStringLiteral("{"), QStringLiteral("}"))));
}

bool HandOutCommands::askAndAssign(qint64 callsign, const Order& order)
{
    if (!m_ctx.prompts.question(offer(callsign, order.number, order.pickup) + QStringLiteral(" ?")))
        return false;
    return assign(callsign, order.number);
}

bool HandOutCommands::assignFirstDriver(const QString& shownDriver, const Shown& shown)
{
    const QString value = shownDriver.trimmed();
    if (value.isEmpty() || value == QLatin1String("0") || value == TDANI::kNotSet)
        return false;
    const qint64 callsign = typedInteger(value);
    if (callsign == 0)
        return false;
    std::optional<Order> order;
    if (shown.page == DataModuleView::OrdersPage::Hot)
        order = offeredOrder(shown);
    else if (const std::optional<OrderRow> current = currentOrderRow(m_ctx.dani))
        order = Order{current->number,
                      displayText(m_ctx.dani.TABL_AKTIV_ZAMOVL.value(QStringLiteral("ZAMOVL_POCHAT_PUNKT")))};
    return order && askAndAssign(callsign, *order);
}

bool HandOutCommands::chooseCarAtStand(const Shown& shown, bool byEnter)
{
    const std::optional<QString> stand = currentStand(m_ctx.dani);
    // Under a preliminary order, one with a driver or none, there is nothing to hand out.
    const std::optional<Order> order = offeredOrder(shown);
    if (!stand || !order)
        return false;
    TDANI& dani = m_ctx.dani;
    qint64 callsign = 0;
    try {
        const StandQueuePrompt queue(dani, *stand);
        const QString answer = m_ctx.prompts.inputBox(
            QStringLiteral("Вибір авто на замовлення"),
            queue.prompt(QStringLiteral("Вкажіть позивного для виконання вибраного замовлення"),
                         order->pickup),
            {});
        if (answer.isEmpty())
            return false;
        callsign = typedInteger(answer);
        if (callsign <= 0) {
            m_ctx.prompts.message(
                byEnter && onOrderLists(shown.page)
                    ? QStringLiteral("Не вірно вказаний позивний. При потребі повторіть спробу.")
                    : QStringLiteral("Не вірно вказаний позивний"));
            return false;
        }
        dani.TRANZ_RIZNE.commitIfActive();
        const FbRows free = dani.RIZNE.exec(
            QStringLiteral(
                "Select ZAD_AVTO_POZIVNIY from ZADIANI_AVTO WHERE ((ZAD_AVTO_NOMER_ZAMOVL IS NULL) OR "
                "(ZAD_AVTO_NOMER_ZAMOVL = 0)) and (ZAD_AVTO_POZIVNIY = %1) AND (ZAD_AVTO_VULICA = %2)")
                .arg(sql::integer(callsign), sql::text(*stand)));
        dani.TRANZ_RIZNE.commitIfActive();
        if (free.rowCount() != 1) {
            m_ctx.prompts.message(kNotAtStandMessage);
            return false;
        }
    } catch (const DbError& e) {
        dani.TRANZ_RIZNE.rollbackQuietly();
        m_ctx.prompts.message(e.message());
        return false;
    }
    return assign(callsign, order->number);
}

bool HandOutCommands::assign(qint64 callsign, qint64 orderNumber)
{
    if (AssignOrderToDriver(m_ctx, callsign, orderNumber))
        return true;
    // The dispatcher is told at once who has the order, so as not to look for another
    // driver for an order that is already on its way.
    QString holder;
    TDANI& dani = m_ctx.dani;
    try {
        dani.TRANZ_RIZNE.commitIfActive();
        const FbRows rows = dani.RIZNE.exec(
            QStringLiteral(
                "SELECT ZAMOVL_POZIVNIY, ZAMOVL_ROZDACHA_ZAMOVL FROM ZAMOVLENNIA WHERE (ZAMOVL_NUMBER = "
                "%1) AND (ZAMOVL_STATUS_ZAMOVL = 0)")
                .arg(sql::integer(orderNumber)));
        dani.TRANZ_RIZNE.commitIfActive();
        if (rows.rowCount() == 1 && rows.rows[0][0].toLongLong() != 0)
            holder = QStringLiteral("\rЗамовлення вже віддано позивному [%1], роздав(ла): %2.")
                         .arg(rows.rows[0][0].toLongLong())
                         .arg(displayText(rows.rows[0][1]));
    } catch (const DbError&) {
        dani.TRANZ_RIZNE.rollbackQuietly(); // the message below still holds
    }
    m_ctx.prompts.message(kChangedMessage + holder);
    return false;
}

bool HandOutCommands::createPickUp()
{
    const std::optional<DriverRow> driver = currentDriverRow(m_ctx.dani);
    if (!driver || driver->callsign == 0)
        return false;
    const QString answer = m_ctx.prompts.inputBox(
        QStringLiteral("Створення підсадки"),
        QStringLiteral("Вкажіть код клієнта, який робить підсадку позивному [%1]").arg(driver->callsign),
        QStringLiteral("00000"));
    if (answer.isEmpty())
        return false;
    const qint64 client = typedInteger(answer);
    if (client <= 0) {
        m_ctx.prompts.message(QStringLiteral("Не вірно вказаний код клієнта. При потребі повторіть спробу."));
        return false;
    }
    const QString code = ZeroPad5(client);
    const QString bracketed = QLatin1Char('[') + code + QLatin1Char(']');
    QString debts;
    for (const QString& entry : m_ctx.settings.value(SettingKeys::kClientBlackList).split(QLatin1Char('\n')))
        if (entry.contains(bracketed))
            debts += entry + QLatin1Char('\r');
    TDANI& dani = m_ctx.dani;
    const QString ofClient = sql::clientCodeCondition(QStringLiteral("KLIENT_DODATKOVO"), client);
    try {
        dani.TRANZ_RIZNE.commitIfActive();
        const FbRows clients = dani.RIZNE.exec(QStringLiteral("SELECT * FROM  KLIENT WHERE ") + ofClient);
        dani.TRANZ_RIZNE.commitIfActive();
        if (clients.rowCount() != 1) {
            m_ctx.prompts.message(QStringLiteral("Не вірно вказаний код клієнта (не найдено в таблиці "
                                                 "клієнтів). При потребі повторіть спробу."));
            return false;
        }
        auto field = [&clients](const char* column) {
            return displayText(clients.value(0, QString::fromLatin1(column)));
        };
        QString question =
            QStringLiteral("Зареєструвати замовлення (підсадка) на код клієнта : [") + code +
            QStringLiteral("]\rПозивний автомобіля : [") + QString::number(driver->callsign) +
            QStringLiteral("]\r\r==========================================\rРозширені дані кода : ") +
            field("KLIENT_DODATKOVO") + QStringLiteral("\rФІО клієнта : ") + field("KLIENT_FIO") +
            QStringLiteral("\rАдреса проживання клієнта : ") + field("KLIENT_ADRESS") +
            QStringLiteral("\rКонтактні телефони клієнта : ") + field("KLIENT_TELEFON");
        if (!debts.isEmpty())
            question +=
                QStringLiteral("\r\r===================  УВАГА !!! ==================\rЦЕЙ КОД КЛІЄНТА "
                               "ЗНАХОДИТЬСЯ У СПИСКУ БОРЖНИКІВ З ПОМІТКОЮ : \r") +
                debts +
                QStringLiteral(
                    "\r\rПЕРЕВІРЬТЕ ЧИ МОЖНА РЕЄСТРУВАТИ НА ЗАДАНИЙ КОД ЗАМОВЛЕННЯ (ПІДСАДКУ) !!!");
        if (!m_ctx.prompts.question(question))
            return false;
        const QDateTime now = m_ctx.clock.now();
        const QString date = sql::date(now.date());
        const QString time = sql::timeHm(now.time());
        const QString dispatcher = sql::text(m_ctx.currentDispatcher);
        // The ride and the client's counters go in together, or not at all.
        dani.TRANZ_RIZNE.commitIfActive();
        dani.RIZNE.exec(
            QStringLiteral(
                "INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_NOMER_KLIENT, ZAMOVL_POCHAT_PUNKT, "
                "ZAMOVL_PUNKT_PRIZHACH, ZAMOVL_SUMA_ROZRAHUNK, ZAMOVL_BALANS_KLIENTA, "
                "ZAMOVL_OPLATA_BALANSOM, "
                "ZAMOVL_PRIYOM_ZAMOVL, ZAMOVL_ROZDACHA_ZAMOVL, ZAMOVL_DATA_PRIYOMA, ZAMOVL_CHAS_PRIYOMA, "
                "ZAMOVL_DATA_ZAKR_ZAMOVL, ZAMOVL_CHAS_ZAKR_ZAMOVL, ZAMOVL_POZIVNIY, ZAMOVL_FIO_TAXI, "
                "ZAMOVL_BEZKOSHTOVN, ZAMOVL_STATUS_ZAMOVL, ZAMOVL_PRICHINA_DELETE) VALUES "
                "(GEN_ID(GENIDZAMOVL, 1),  "
                "%1, 'підсадка', 'підсадка', 0, 0, 0, %2, %2, %3, %4, %3, %4, %5, %6, 'HI', 1, 'НЕ ЗАДАНО')")
                .arg(sql::integer(client), dispatcher, date, time, sql::integer(driver->callsign),
                     sql::text(driver->name)));
        dani.RIZNE.exec(QStringLiteral("UPDATE KLIENT SET KLIENT_KIL_VIKLIK = KLIENT_KIL_VIKLIK + 1 WHERE ") +
                        ofClient);
        const qint64 ridesPerFree = typedInteger(m_ctx.settings.value(SettingKeys::kRidesPerFreeRide));
        if (ridesPerFree > 0)
            dani.RIZNE.exec(
                QStringLiteral("UPDATE KLIENT SET KLIENT_KIL_VIKLIK = 0,     KLIENT_KIL_FREE_VIKLIK = "
                               "KLIENT_KIL_FREE_VIKLIK + 1 WHERE %1  and (KLIENT_KIL_VIKLIK >= %2)")
                    .arg(ofClient, sql::integer(ridesPerFree)));
        dani.TRANZ_RIZNE.commit();
        return true;
    } catch (const DbError& e) {
        dani.TRANZ_RIZNE.rollbackQuietly();
        m_ctx.prompts.message(e.message());
        return false;
    }
}
