#include "orders/intake/OrderIntake.h"

#include "dispatch/DispatchContext.h"
#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"
#include "foundation/fb/FbQuery.h"
#include "orders/intake/ClientCard.h"
#include "orders/intake/DriverPreselection.h"
#include "orders/intake/RoutePointLookup.h"
#include "orders/intake/TripTiming.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"

#include <QRegularExpression>
#include <algorithm>

const QString OrderIntake::kTripCountMessage =
    QStringLiteral("Кількість поїздок повинна бути не менше 1. Вкажіть кількість поїздок на дану адресу !!!");
const QString OrderIntake::kJubileeCountMessage =
    QStringLiteral("Немає можливості змінити кількість поїздок, так як вибрана ювілейна поїздка !!!");
const QString OrderIntake::kOrderGoneMessage =
    QStringLiteral("Статус замовлення змінився. Замовлення знищене !!!");

namespace {

const QString kZero = QStringLiteral("0");
constexpr int kStoredPointLength = 100;

QDateTime toTheMinute(const QDateTime& at)
{
    return QDateTime(at.date(), QTime(at.time().hour(), at.time().minute()));
}

} // namespace

OrderClient OrderClient::from(const ClientCard& card, const QString& callerTelephone)
{
    return OrderClient{callerTelephone,        card.code,        card.name,
                       card.telephones,        card.balance,     card.discount,
                       card.tripsUntilJubilee, card.jubileeTrips};
}

OrderIntake::OrderIntake(DispatchContext& ctx, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_tariffs(ctx.dani),
      m_transaction(ctx.dani.BAZA, QStringLiteral("TRANZ_ZAMOVL_FORM"))
{
    recalculate();
}

// ---- opening -----------------------------------------------------------------------

void OrderIntake::prepareForShowing()
{
    m_promotionalDiscount = kZero;
    m_tariffName.clear();
    m_prices.reset();
    m_vatPercent = m_ctx.settings.value(SettingKeys::kVat, kZero);
    m_kmInTown = m_kmOutOfTown = m_waitingMinutes = kZero;
    m_preliminary = false;
    m_jubilee = false;
    m_acceptance = toTheMinute(m_ctx.clock.now());
    recalculate();
    emit tariffChanged();
}

void OrderIntake::startCreate()
{
    m_mode = Mode::Create;
    m_editedNumber = 0;
    m_editedClientCode = 0;
    prepareForShowing();
}

bool OrderIntake::openForEdit(qint64 number, OrderTable table)
{
    const QString prefix = table == OrderTable::Open ? QStringLiteral("ZAMOVL_") : QStringLiteral("CZ_");
    QList<RouteItem> route;
    qint64 clientCode = 0;
    try {
        TDANI& dani = m_ctx.dani;
        dani.TRANZ_RIZNE.commitIfActive();
        const FbRows rows = dani.RIZNE.exec(OrderStatements::selectForEdit(table, number));
        dani.TRANZ_RIZNE.commit();
        if (rows.rowCount() != 1)
            return false;
        clientCode = rows.value(0, prefix + QStringLiteral("NOMER_KLIENT")).toLongLong();
        RoutePointLookup points(dani);
        // An order without a destination has one point, never an empty second one.
        for (const char* column : {"POCHAT_PUNKT", "PUNKT_PRIZHACH"})
            if (const auto item = points.itemFor(rows.value(0, prefix + QLatin1String(column)).toString(),
                                                 RoutePointLookup::BuildingMatch::ExactLabel))
                route << *item;
    } catch (const DbError& e) {
        m_ctx.dani.TRANZ_RIZNE.rollbackQuietly();
        m_ctx.prompts.message(e.message());
        return false;
    }
    m_mode = Mode::Edit;
    m_editedNumber = number;
    m_editedTable = table;
    m_editedClientCode = clientCode;
    m_route = route;
    prepareForShowing();
    return true;
}

void OrderIntake::setClient(const OrderClient& client)
{
    m_client = client;
    if (m_jubilee && typedInteger(client.jubileeTrips) <= 0)
        m_jubilee = false;
    recalculate();
}

// ---- route -------------------------------------------------------------------------

bool OrderIntake::removeRouteItem(int index)
{
    if (index < 0 || index >= m_route.size())
        return false;
    m_route.removeAt(index);
    return true;
}

bool OrderIntake::routeOffMap() const
{
    return std::any_of(m_route.begin(), m_route.end(), [](const RouteItem& item) { return !item.onMap(); });
}

QString OrderIntake::startText() const
{
    return m_route.isEmpty() ? QString() : m_route.first().stored().left(kStoredPointLength);
}

QString OrderIntake::destinationText() const
{
    return m_route.size() < 2 ? QString() : m_route.last().stored().left(kStoredPointLength);
}

// ---- figures and tariff ------------------------------------------------------------

void OrderIntake::enterLastStep(const QString& kmInTown)
{
    m_kmInTown = kmInTown == Price::kNoDistance || kmInTown.isEmpty() ? kZero : kmInTown;
    m_kmOutOfTown = m_waitingMinutes = kZero;
    m_tariffName.clear();
    m_prices.reset();
    m_promotionalDiscount = kZero;
    recalculate();
    emit tariffChanged();
}

void OrderIntake::setKmInTown(const QString& text)
{
    m_kmInTown = text;
    recalculate();
}

void OrderIntake::setKmOutOfTown(const QString& text)
{
    m_kmOutOfTown = text;
    recalculate();
}

void OrderIntake::setWaitingMinutes(const QString& text)
{
    m_waitingMinutes = text;
    recalculate();
}

QStringList OrderIntake::tariffNames()
{
    try {
        return m_tariffs.names();
    } catch (const DbError& e) {
        m_ctx.dani.TRANZ_RIZNE.rollbackQuietly();
        m_ctx.prompts.message(e.message());
        return {};
    }
}

void OrderIntake::chooseTariff(const QString& name)
{
    m_tariffName = name;
    m_prices.reset();
    try {
        m_prices = m_tariffs.lookup(name);
    } catch (const DbError& e) {
        m_ctx.dani.TRANZ_RIZNE.rollbackQuietly();
        m_ctx.prompts.message(e.message());
    }
    m_promotionalDiscount = Price::promotionalDiscount(
        m_ctx.settings.value(SettingKeys::kTariffDiscounts).split(QLatin1Char('\n')), name);
    recalculate();
    emit tariffChanged();
}

void OrderIntake::clearTariff()
{
    chooseTariff(QString());
}

QString OrderIntake::jubileeLimit() const
{
    return m_ctx.settings.value(SettingKeys::kFreeRideLimit, kZero);
}

// ---- kind, count -------------------------------------------------------------------

void OrderIntake::setPreliminary(bool preliminary)
{
    m_preliminary = preliminary;
    recalculate();
}

bool OrderIntake::setJubilee(bool jubilee)
{
    const bool allowed = !jubilee || typedInteger(m_client.jubileeTrips) > 0;
    m_jubilee = jubilee && allowed;
    if (m_jubilee)
        m_tripCount = QStringLiteral("1");
    recalculate();
    return allowed;
}

bool OrderIntake::setTripCount(const QString& typed)
{
    if (m_jubilee) {
        m_ctx.prompts.message(kJubileeCountMessage);
        return false;
    }
    bool whole = false;
    typed.trimmed().toLongLong(&whole);
    m_tripCount = whole ? typed.trimmed() : QStringLiteral("1");
    return true;
}

void OrderIntake::recalculate()
{
    PriceInput in;
    in.tariffChosen = m_prices.has_value();
    if (m_prices)
        in.prices = *m_prices;
    in.kmInTown = m_kmInTown;
    in.kmOutOfTown = m_kmOutOfTown;
    in.waitingMinutes = m_waitingMinutes;
    in.preliminary = m_preliminary;
    in.jubilee = m_jubilee;
    in.jubileeLimit = jubileeLimit();
    in.vatPercent = m_vatPercent;
    in.personalDiscount = m_client.discount;
    in.promotionalDiscount = m_promotionalDiscount;
    m_price = Price::recalculate(in);
    // Figures that did not read are shown, and kept, as "0".
    m_kmInTown = m_price.kmInTown;
    m_kmOutOfTown = m_price.kmOutOfTown;
    m_waitingMinutes = m_price.waitingMinutes;
    if (m_prices)
        m_prices = m_price.prices;
    emit priceChanged();
}

// ---- saving ------------------------------------------------------------------------

OrderIntake::SaveOutcome OrderIntake::save()
{
    if (!m_prices || !m_price.complete())
        return SaveOutcome::NotReady;
    return m_mode == Mode::Create ? saveNew() : saveEdited();
}

NewOrder OrderIntake::newOrder() const
{
    NewOrder order;
    order.clientCode = typedInteger(m_client.code);
    order.preliminary = m_preliminary;
    order.telephone = m_client.callerTelephone;
    order.tariffName = m_tariffName;
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    order.notes = m_notes.split(lineBreak).join(QStringLiteral("\r\n"));
    order.start = startText();
    order.destination = destinationText();
    order.balance = Money::typed(m_client.balance);
    order.sum = m_price.sum;
    order.dispatcher = m_ctx.currentDispatcher;
    order.jubilee = m_jubilee;
    // One acceptance and one completion moment for every row of the batch.
    order.acceptance = toTheMinute(m_preliminary ? m_acceptance : m_ctx.clock.now());
    const qint64 minutes = TripTiming::tripMinutes(m_kmInTown, m_kmOutOfTown, m_waitingMinutes,
                                                   m_ctx.settings.value(SettingKeys::kAverageSpeed),
                                                   m_ctx.settings.value(SettingKeys::kCloseWithoutDistance));
    order.completion = TripTiming::plannedCompletion(order.acceptance, minutes);
    return order;
}

OrderIntake::SaveOutcome OrderIntake::saveNew()
{
    const qint64 trips = typedInteger(m_tripCount);
    if (trips < 1) {
        m_ctx.prompts.message(kTripCountMessage);
        return SaveOutcome::Refused;
    }
    if (!m_ctx.prompts.question(QStringLiteral("Створити нове/нові замовлення по заданих даних ?")))
        return SaveOutcome::Declined;
    const QString insert = OrderStatements::insert(newOrder());
    emit savingChanged(true);
    try {
        m_transaction.commitIfActive();
        FbQuery query(m_transaction);
        for (qint64 done = 1; done <= trips; ++done) {
            query.exec(insert);
            if (trips > 1)
                emit batchProgress(static_cast<int>(trips - done));
        }
        m_transaction.commit();
    } catch (const DbError& e) {
        m_transaction.rollbackQuietly();
        emit savingChanged(false);
        showFailure(QStringLiteral("Помилка у створенні замовлення: жодне замовлення не збережене."),
                    e.message());
        return SaveOutcome::Failed;
    }
    emit savingChanged(false);
    clearAfterSave();
    return SaveOutcome::Saved;
}

OrderIntake::SaveOutcome OrderIntake::saveEdited()
{
    if (!m_ctx.prompts.question(QStringLiteral("Редагувати суму і маршрут вибраного замовлення ?")))
        return SaveOutcome::Declined;
    bool updated = false;
    try {
        m_transaction.commitIfActive();
        FbQuery query(m_transaction);
        if (query.exec(OrderStatements::selectForEdit(m_editedTable, m_editedNumber)).rowCount() == 1) {
            query.exec(OrderStatements::updateSumAndRoute(m_editedTable, m_editedNumber, m_price.sum,
                                                          startText(), destinationText()));
            updated = query.affectedRows() == 1;
        }
        if (updated)
            m_transaction.commit();
        else
            m_transaction.rollback();
    } catch (const DbError& e) {
        m_transaction.rollbackQuietly();
        showFailure(QStringLiteral("Помилка у редагуванні вибраного замовлення: замовлення не змінене."),
                    e.message());
        return SaveOutcome::Failed;
    }
    if (!updated)
        m_ctx.prompts.message(kOrderGoneMessage);
    clearAfterSave();
    return updated ? SaveOutcome::Saved : SaveOutcome::Gone;
}

void OrderIntake::clearAfterSave()
{
    m_tripCount = QStringLiteral("1");
    m_route.clear();
    m_notes.clear();
}

void OrderIntake::showFailure(const QString& what, const QString& error)
{
    m_ctx.prompts.message(what + QStringLiteral(" При потребі повторіть спробу.\r") + error);
}

// ---- driver preselection -----------------------------------------------------------

std::optional<qint64> OrderIntake::preselectDriver(bool onLastStep)
{
    const QString address =
        onLastStep ? startText() : (m_route.isEmpty() ? QString() : m_route.first().stored());
    std::optional<DriverPreselection::Candidate> found;
    try {
        found = DriverPreselection(m_ctx).find(address);
    } catch (const DbError& e) {
        m_ctx.dani.TRANZ_RIZNE.rollbackQuietly();
        m_ctx.prompts.message(e.message());
        return std::nullopt;
    }
    if (!found) {
        m_ctx.prompts.message(DriverPreselection::kNoDriverMessage);
        return std::nullopt;
    }
    if (!onLastStep) {
        m_ctx.prompts.message(found->text);
        return found->callsign;
    }
    if (m_ctx.prompts.question(
            found->text + QStringLiteral("\r\r") + QString(49, QLatin1Char('-')) +
            QStringLiteral("\rДобавити дані вказаного водія, як бажаного для замовлення ?")))
        m_notes = QStringLiteral("бажаний позивний : ") + QString::number(found->callsign) +
                  QStringLiteral("\r\n") + m_notes;
    return found->callsign;
}
