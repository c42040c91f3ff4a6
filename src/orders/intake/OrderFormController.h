#pragma once

#include "orders/intake/ClientCardEditor.h"
#include "orders/intake/ClientLookup.h"
#include "orders/intake/MapRouteMeasuring.h"
#include "orders/intake/OrderFormOpening.h"
#include "orders/intake/OrderIntake.h"
#include "orders/intake/PreviousAddressesController.h"
#include "orders/intake/RoutePointEntry.h"
#include "orders/intake/TelephoneHistory.h"

#include <QObject>
#include <QStringList>

struct DispatchContext;

// The order form without its widgets: which page and wizard step is shown, the client
// list and its quick searches, the client cards, the warnings, the order page's steps
// with their questions, and the ways the form is opened. The window shows what this
// says and forwards what the dispatcher does.
class OrderFormController : public QObject
{
    Q_OBJECT
public:
    enum class Page { CardClient, CreateCardClient, EditCardClient, CreateZam, Telefon };
    enum class Step { First = 1, Measuring = 2, Last = 3 };
    enum class SearchBy { Code, Name, Address, Telephone };

    static const QString kInformationNote;
    static const QString kGoToCardQuestion;
    static const QString kNoStartMessage;
    static const QString kWaitMessage;

    explicit OrderFormController(DispatchContext& ctx, QObject* parent = nullptr);

    // ---- opening and closing -----------------------------------------------------------
    // From the main window. A client code opens the client card on that client.
    void open(OrderFormOpening opening);
    void openClientOf(qint64 clientCode);
    // An incoming call: the clients whose telephones hold the caller's number.
    void openForCaller(const QString& networkNumber);
    // Order maintenance: the sum and route of an order. False when there is no such order.
    bool openForEdit(qint64 number, OrderTable table);
    // What every showing resets (the window calls it when it is shown).
    void shown();
    // The window was closed by any means.
    void closed();
    bool isShowing() const { return m_showing; }

    // ---- pages ---------------------------------------------------------------------------
    Page page() const { return m_page; }
    Step step() const { return m_step; }
    bool createMode() const { return m_intake.mode() == OrderIntake::Mode::Create; }
    QString saveCaption() const;

    // ---- client list -----------------------------------------------------------------
    ClientLookup& clients() { return m_lookup; }
    // Enter in a box of the quick-search strip. Elsewhere than on the client page the
    // dispatcher is asked first.
    void quickSearch(SearchBy by, const QString& text);
    const TelephoneHistory& telephoneHistory() const { return m_history; }
    void chooseTelephoneEntry(const QString& entry);
    void clearTelephoneHistory();
    // A grid title was clicked on this field.
    void orderByColumn(const QString& field);
    // The grid's current row moved to a row (from 1).
    void currentRowChanged(int row);
    const std::optional<ClientCard>& currentClient() const { return m_current; }
    const QStringList& debtorLines() const { return m_debtorLines; }
    bool birthday() const { return m_birthday; }
    const QString& telephoneSearchText() const { return m_telephoneSearch; }
    void setTelephoneSearchText(const QString& text) { m_telephoneSearch = text; }

    // ---- client page buttons -----------------------------------------------------------
    void goToOrder();
    void chooseUnknownClient();
    void newClientCard();
    void editClientCard();
    void backToClients() { setPage(Page::CardClient); }
    // The window of the current client's previous addresses, shown or hidden.
    void togglePreviousAddresses();
    PreviousAddressesController& previousAddresses() { return m_previous; }
    // A double-click on one of them: a route point while the order is on its first step.
    bool addPreviousAddress(int index);
    void showTelephonePage() { setPage(Page::Telefon); }
    ClientCardEditor& cards() { return m_cards; }
    // "Присвоїти код": the code for the new card, or none after a failure (shown).
    std::optional<ClientCardEditor::Assignment> assignCode();
    void createClient(const NewClientCard& card);
    void editClient(const EditedClientCard& card);

    // ---- order page ----------------------------------------------------------------------
    OrderIntake& order() { return m_intake; }
    const OrderIntake& order() const { return m_intake; }
    // The inputs of the first step that fill the route list.
    RoutePointEntry& routeEntry() { return m_routeEntry; }
    // The distance of the outside-address tab ("000" for none).
    void setOutsideDistance(const QString& distance) { m_routeEntry.setCalculatedDistance(distance); }
    const QString& outsideDistance() const { return m_routeEntry.calculatedDistance(); }
    // The distance the internal map measured on the second step.
    void setMeasuredDistance(const QString& distance) { m_measuredDistance = distance; }
    // What the second step shows of the last measurement.
    const MeasuredRoute& measuredRoute() const { return m_measuredRoute; }
    // Route list commands of the first step, each after the dispatcher's Yes.
    void removeSelectedRouteItem(int index);
    void clearRoute();
    void next();
    // The web distance was taken over: the last step with the tariff list emptied, the
    // promotional discount 0 and these kilometres, the price computed again.
    void enterTariffStep(const QString& kmInTown, const QString& kmOutOfTown);
    void back() { setStep(Step::First); }
    // "Створити" or "Редагувати"; the form closes after a save.
    void save();
    // Double-click on the sum to pay: whether to print the window.
    bool printRequested();
    void tellDispatcher(const QString& text);

signals:
    void pageChanged();
    void clientChanged();
    void listChanged();
    // The window shows itself, with the focus in the telephone search box when asked.
    void showRequested(bool focusTelephone);
    void closeRequested();
    // The second step measures the route on the internal map: it shows that it is busy
    // from this signal until routeMeasured.
    void measurementRequested();
    void routeMeasured();
    void telephoneHistoryChanged();

private:
    void setPage(Page page);
    void setStep(Step step);
    void openCreate(Page page);
    void requery();
    void fillWarnings();
    qint64 currentClientCode() const { return m_current ? m_current->codeNumber() : 0; }
    void enterLastStep(const QString& kmInTown);
    bool mapInUse() const;
    void afterSave(OrderIntake::SaveOutcome outcome);

    DispatchContext& m_ctx;
    ClientLookup m_lookup;
    ClientCardEditor m_cards;
    OrderIntake m_intake;
    RoutePointEntry m_routeEntry;
    PreviousAddressesController m_previous;
    TelephoneHistory m_history;
    MapRouteMeasuring m_measuring;
    MeasuredRoute m_measuredRoute;

    Page m_page = Page::CardClient;
    Step m_step = Step::First;
    bool m_showing = false;
    std::optional<ClientCard> m_current;
    QStringList m_debtorLines;
    bool m_birthday = false;
    QString m_telephoneSearch;
    QString m_measuredDistance = QStringLiteral("0");
};
