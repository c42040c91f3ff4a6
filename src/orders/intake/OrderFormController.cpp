#include "orders/intake/OrderFormController.h"

#include "citymap/CityMapData.h"
#include "dispatch/DispatchContext.h"
#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/fb/DbError.h"
#include "orders/intake/ClientWarnings.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"

const QString OrderFormController::kInformationNote =
    QStringLiteral("Зверніть увагу що в клієнта є інформаційні повідомлення");
const QString OrderFormController::kGoToCardQuestion = QStringLiteral("Перейти на карточку даних клієнта ?");
const QString OrderFormController::kNoStartMessage = QStringLiteral("Не задано початковий пункт !");
const QString OrderFormController::kWaitMessage = QStringLiteral("Зачекайте, іде розрахунок ...");

namespace {

const QString kNoDistance = QStringLiteral("000");

const QString kOneItemQuestion = QStringLiteral(
    "Немає можливості розрахувати маршрут, так як не заданий кінцевий пункт !\r Перейти у форму "
    "створення замовлення незважаючи на розрахунок ?");
const QString kGridQuestion = QStringLiteral(
    "Параметри розрахованої відстані беремо з тарифної сітки !\rПерейти у форму створення замовлення ?");
const QString kOffMapQuestion = QStringLiteral(
    "Немає можливості розрахувати маршрут, так як є точки які не наналежать внутрішній карті міста і/або не "
    "підпадають під тарифну сітку !\rПерейти у форму створення замовлення незважаючи на розрахунок ?");
const QString kNoMapQuestion = QStringLiteral(
    "Немає можливості вірно розрахувати маршрут, так як незадані налаштування карти міста і/або вказані "
    "пункти не "
    "підпадають під тарифну сітку !\rПерейти у форму створення замовлення незважаючи на розрахунок ?");
const QString kPrintQuestion = QStringLiteral("Роздрукувати форму розрахунка оплати поїздки ?");
const QString kClearHistoryQuestion = QStringLiteral("Очистити історію списка вводу телефонів ?");

} // namespace

OrderFormController::OrderFormController(DispatchContext& ctx, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_lookup(ctx.dani, ctx.prompts),
      m_cards(ctx.dani, ctx.settings, ctx.prompts, ctx.clock, m_lookup), m_intake(ctx),
      m_routeEntry(ctx, m_intake), m_previous(ctx, m_intake), m_measuring(ctx.map, ctx.settings)
{
}

// ---- opening and closing -------------------------------------------------------------------

void OrderFormController::open(OrderFormOpening opening)
{
    switch (opening) {
    case OrderFormOpening::NewOrderCard:
        m_lookup.filterUnknownClient();
        openCreate(Page::CardClient);
        emit showRequested(true);
        break;
    case OrderFormOpening::ClientCard:
        m_lookup.filterUnknownClient();
        openCreate(Page::CreateCardClient);
        emit showRequested(false);
        break;
    case OrderFormOpening::UncodedOrder:
        open(OrderFormOpening::NewOrderCard);
        chooseUnknownClient();
        break;
    }
}

void OrderFormController::openClientOf(qint64 clientCode)
{
    // The mode stays as it was: the card of an order's client is only looked at.
    m_lookup.filterByCode(clientCode);
    setPage(Page::CardClient);
    if (m_showing)
        requery();
    emit showRequested(false);
}

void OrderFormController::openForCaller(const QString& networkNumber)
{
    if (!m_lookup.filterByCaller(networkNumber))
        m_lookup.filterUnknownClient();
    openCreate(Page::CardClient);
    // Showing the form empties the search box, so the caller's number goes in after it.
    emit showRequested(true);
    m_telephoneSearch = ClientLookup::callerNumber(networkNumber);
    // The caller joins the search box's drop-down like a typed search, so the dispatcher
    // can come back to him after another call.
    m_history.add(m_telephoneSearch, m_ctx.clock.now());
    emit telephoneHistoryChanged();
    emit pageChanged();
}

bool OrderFormController::openForEdit(qint64 number, OrderTable table)
{
    if (!m_intake.openForEdit(number, table))
        return false;
    m_lookup.filterByCode(m_intake.editedClientCode());
    m_page = Page::CreateZam;
    m_step = Step::First;
    emit pageChanged();
    emit showRequested(false);
    return true;
}

void OrderFormController::openCreate(Page page)
{
    m_intake.startCreate();
    m_page = page;
    m_step = Step::First;
    emit pageChanged();
    if (m_showing)
        requery();
}

void OrderFormController::shown()
{
    m_showing = true;
    m_telephoneSearch.clear();
    m_intake.prepareForShowing();
    m_step = Step::First;
    m_debtorLines.clear();
    m_birthday = false;
    requery();
    emit pageChanged();
}

void OrderFormController::closed()
{
    m_showing = false;
    m_intake.setPreliminary(false);
    m_intake.setJubilee(false);
    m_routeEntry.setCalculatedDistance(kNoDistance);
    m_lookup.close();
    m_current.reset();
    m_previous.hide();
    m_previous.clear();
    emit listChanged();
}

QString OrderFormController::saveCaption() const
{
    return createMode() ? QStringLiteral("Створити") : QStringLiteral("Редагувати");
}

// ---- client list ---------------------------------------------------------------------------

void OrderFormController::quickSearch(SearchBy by, const QString& text)
{
    if (by == SearchBy::Telephone && text.trimmed().isEmpty())
        return;
    if (m_page != Page::CardClient && !m_ctx.prompts.question(kGoToCardQuestion))
        return;
    setPage(Page::CardClient);
    switch (by) {
    case SearchBy::Code:
        m_lookup.filterByCodeText(text);
        break;
    case SearchBy::Name:
        m_lookup.filterByName(text);
        break;
    case SearchBy::Address:
        m_lookup.filterByAddress(text);
        break;
    case SearchBy::Telephone:
        m_telephoneSearch = text;
        m_history.add(text, m_ctx.clock.now());
        emit telephoneHistoryChanged();
        m_lookup.filterByTelephone(text);
        break;
    }
    requery();
}

void OrderFormController::chooseTelephoneEntry(const QString& entry)
{
    const QString number = TelephoneHistory::numberOf(entry);
    m_telephoneSearch = number;
    if (m_page == Page::CardClient) {
        m_lookup.filterByTelephone(number);
        requery();
    }
}

void OrderFormController::clearTelephoneHistory()
{
    if (!m_ctx.prompts.question(kClearHistoryQuestion))
        return;
    m_history.clear();
    emit telephoneHistoryChanged();
}

void OrderFormController::orderByColumn(const QString& field)
{
    if (m_lookup.orderBy(field))
        requery();
}

void OrderFormController::requery()
{
    // A new list while the order is being taken sends the dispatcher back to the list.
    if (m_page == Page::CreateZam && createMode())
        setPage(Page::CardClient);
    m_lookup.requery();
    emit listChanged();
    currentRowChanged(m_lookup.list().recNo());
}

void OrderFormController::currentRowChanged(int row)
{
    FbDataSet& list = m_lookup.list();
    if (list.isEmpty()) {
        m_current.reset();
        m_debtorLines.clear();
        m_birthday = false;
        if (list.isOpen()) {
            m_intake.setPreliminary(false);
            m_intake.setJubilee(false);
        }
        // The last client's addresses would pass for nobody's.
        m_previous.clear();
        emit clientChanged();
        return;
    }
    if (row >= 1 && row != list.recNo())
        list.moveTo(row);
    m_current = m_lookup.current();
    fillWarnings();
    if (m_current)
        m_intake.setClient(OrderClient::from(*m_current, m_telephoneSearch));
    emit clientChanged();
    m_previous.clientChanged(currentClientCode());
}

void OrderFormController::fillWarnings()
{
    m_debtorLines.clear();
    m_birthday = false;
    if (!m_current)
        return;
    const QStringList blackList =
        m_ctx.settings.value(SettingKeys::kClientBlackList).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    m_debtorLines = ClientWarnings::debtorLines(blackList, m_current->code);
    m_birthday = ClientWarnings::isBirthday(m_current->birthDate, m_ctx.clock.now().date());
}

// ---- client page buttons -------------------------------------------------------------------

void OrderFormController::goToOrder()
{
    if (m_lookup.list().isEmpty()) {
        chooseUnknownClient();
        return;
    }
    if (!m_debtorLines.isEmpty() || m_birthday)
        m_ctx.prompts.message(kInformationNote);
    if (m_current)
        m_intake.setClient(OrderClient::from(*m_current, m_telephoneSearch));
    m_step = Step::First;
    setPage(Page::CreateZam);
}

void OrderFormController::chooseUnknownClient()
{
    m_lookup.filterUnknownClient();
    requery();
    m_step = Step::First;
    setPage(Page::CreateZam);
}

void OrderFormController::togglePreviousAddresses()
{
    m_previous.toggle(currentClientCode());
}

bool OrderFormController::addPreviousAddress(int index)
{
    return m_previous.addToRoute(index, m_page == Page::CreateZam && m_step == Step::First);
}

void OrderFormController::newClientCard()
{
    setPage(Page::CreateCardClient);
}

void OrderFormController::editClientCard()
{
    if (!m_lookup.list().isEmpty())
        setPage(Page::EditCardClient);
}

std::optional<ClientCardEditor::Assignment> OrderFormController::assignCode()
{
    try {
        return m_cards.assignCode();
    } catch (const DbError& error) {
        m_ctx.prompts.message(error.message());
        return std::nullopt;
    }
}

void OrderFormController::createClient(const NewClientCard& card)
{
    if (m_cards.create(card) != ClientCardEditor::Outcome::Done)
        return;
    setPage(Page::CardClient);
    emit listChanged();
    currentRowChanged(m_lookup.list().recNo());
}

void OrderFormController::editClient(const EditedClientCard& card)
{
    if (m_cards.edit(card) != ClientCardEditor::Outcome::Done)
        return;
    setPage(Page::CardClient);
    emit listChanged();
    currentRowChanged(m_lookup.list().recNo());
}

// ---- order page ----------------------------------------------------------------------------

bool OrderFormController::mapInUse() const
{
    return m_ctx.map.MapSupported();
}

void OrderFormController::removeSelectedRouteItem(int index)
{
    if (index < 0 || index >= m_intake.route().size())
        return;
    if (m_ctx.prompts.question(QStringLiteral("Знищити виділений запис ?")))
        m_intake.removeRouteItem(index);
}

void OrderFormController::clearRoute()
{
    if (!m_intake.route().isEmpty() && m_ctx.prompts.question(QStringLiteral("Очистити список ?")))
        m_intake.clearRoute();
}

void OrderFormController::next()
{
    if (m_step == Step::Measuring) {
        enterLastStep(Price::measuredKilometres(m_measuredDistance));
        return;
    }
    if (m_step != Step::First)
        return;
    const int items = int(m_intake.route().size());
    if (mapInUse() && items >= 2 && !m_intake.routeOffMap()) {
        m_measuredDistance = QStringLiteral("0");
        setStep(Step::Measuring);
        emit measurementRequested();
        m_measuredRoute = m_measuring.measure(m_intake.route());
        m_measuredDistance = m_measuredRoute.distance;
        emit routeMeasured();
        return;
    }
    if (mapInUse() && items == 1 && !m_intake.routeOffMap()) {
        if (m_ctx.prompts.question(kOneItemQuestion))
            enterLastStep(QStringLiteral("0"));
        return;
    }
    if (items == 0) {
        m_ctx.prompts.message(kNoStartMessage);
        return;
    }
    const QString& outside = outsideDistance();
    const bool gridDistance = outside != kNoDistance;
    const QString& question = gridDistance ? kGridQuestion : mapInUse() ? kOffMapQuestion : kNoMapQuestion;
    if (m_ctx.prompts.question(question))
        enterLastStep(gridDistance ? outside : QStringLiteral("0"));
}

void OrderFormController::enterTariffStep(const QString& kmInTown, const QString& kmOutOfTown)
{
    enterLastStep(kmInTown);
    m_intake.setKmOutOfTown(kmOutOfTown);
}

void OrderFormController::enterLastStep(const QString& kmInTown)
{
    m_intake.enterLastStep(kmInTown);
    setStep(Step::Last);
}

void OrderFormController::save()
{
    afterSave(m_intake.save());
}

void OrderFormController::afterSave(OrderIntake::SaveOutcome outcome)
{
    using Outcome = OrderIntake::SaveOutcome;
    if (outcome != Outcome::Saved && outcome != Outcome::Gone)
        return;
    m_routeEntry.clearOutside();
    emit closeRequested();
}

bool OrderFormController::printRequested()
{
    if (!m_intake.price().complete())
        return false;
    return m_ctx.prompts.question(kPrintQuestion);
}

void OrderFormController::tellDispatcher(const QString& text)
{
    m_ctx.prompts.message(text);
}

void OrderFormController::setPage(Page page)
{
    if (m_page == page)
        return;
    m_page = page;
    emit pageChanged();
}

void OrderFormController::setStep(Step step)
{
    m_step = step;
    emit pageChanged();
}
