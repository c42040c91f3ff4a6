#pragma once

#include "foundation/fb/FbTransaction.h"
#include "orders/intake/OrderStatements.h"
#include "orders/intake/Price.h"
#include "orders/intake/RouteItem.h"
#include "orders/intake/TariffCatalogue.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <optional>

struct ClientCard;
struct DispatchContext;

// The client as the order page shows it.
struct OrderClient
{
    QString callerTelephone; // the telephone search text when the order page was entered
    QString code = QStringLiteral("00000");
    QString name;
    QString telephones;
    QString balance;
    QString discount; // percent
    QString tripsUntilJubilee;
    QString jubileeTrips; // earned and not used

    static OrderClient from(const ClientCard& card, const QString& callerTelephone);
};

// The order page of the order form: its state (mode, client, route, tariff, trip
// figures, kind, trip count, notes, the amounts) and its commands, without widgets.
// Every change that the price depends on recalculates it at once. The prompts, the
// clock, the settings and the data module come with the dispatch context.
//
// Saving runs in a transaction of its own, so nothing else that runs meanwhile (the
// one-second timer, event reactions) can commit half a batch.
class OrderIntake : public QObject
{
    Q_OBJECT
public:
    enum class Mode {
        Create, // "Створити": new rows
        Edit,   // "Редагувати": the sum and route of an existing order
    };
    enum class SaveOutcome {
        NotReady, // no tariff, or the sum reads "не всі дані": nothing happens
        Declined, // the dispatcher said No
        Refused,  // a trip count below 1: told so, everything kept
        Failed,   // the database refused: told so, nothing stored, everything kept
        Gone,     // edit: the order was deleted meanwhile: told so, the form is cleared
        Saved,    // the form is cleared and may close
    };

    static const QString kTripCountMessage;
    static const QString kJubileeCountMessage;
    static const QString kOrderGoneMessage;

    explicit OrderIntake(DispatchContext& ctx, QObject* parent = nullptr);

    // ---- opening -------------------------------------------------------------------
    // What every showing of the form resets: promotional discount "0", no tariff, the
    // VAT percent from the firm's settings, the three trip figures "0", quick and
    // ordinary, the acceptance moment now. The route, notes and trip count stay.
    void prepareForShowing();
    // Create mode, then prepareForShowing().
    void startCreate();
    // Edit mode for an order of the current table or the archive: reads it (unless it
    // is deleted) and makes its pick-up point and destination the route again. False
    // (nothing changed) when there is no such order, or on a failure, which is shown.
    bool openForEdit(qint64 number, OrderTable table);
    Mode mode() const { return m_mode; }
    qint64 editedNumber() const { return m_editedNumber; }
    OrderTable editedTable() const { return m_editedTable; }
    qint64 editedClientCode() const { return m_editedClientCode; } // to filter the client list

    // ---- client --------------------------------------------------------------------
    void setClient(const OrderClient& client);
    const OrderClient& client() const { return m_client; }

    // ---- route ---------------------------------------------------------------------
    const QList<RouteItem>& route() const { return m_route; }
    void addRouteItem(const RouteItem& item) { m_route << item; }
    // A route the outside-address tab gives replaces the whole list.
    void setRoute(const QList<RouteItem>& items) { m_route = items; }
    bool removeRouteItem(int index);
    void clearRoute() { m_route.clear(); }
    // Whether an item lies off the internal map, so the map cannot measure the route.
    bool routeOffMap() const;
    // The first item without its marker, at most 100 characters.
    QString startText() const;
    // The last item without its marker, at most 100 characters; empty for one item.
    QString destinationText() const;

    // ---- trip figures and tariff ---------------------------------------------------
    // Entering the last step: kilometres in town as given ("0" for none), out of town
    // and waiting "0", no tariff, promotional discount "0".
    void enterLastStep(const QString& kmInTown);
    void setKmInTown(const QString& text);
    void setKmOutOfTown(const QString& text);
    void setWaitingMinutes(const QString& text);
    const QString& kmInTown() const { return m_kmInTown; }
    const QString& kmOutOfTown() const { return m_kmOutOfTown; }
    const QString& waitingMinutes() const { return m_waitingMinutes; }

    // The names for the tariff drop-down; a failure is shown and gives none.
    QStringList tariffNames();
    // Looks the tariff up once. A name with no row or several rows leaves no tariff:
    // the sum reads "не всі дані" and saving is refused; no earlier prices are kept.
    void chooseTariff(const QString& name);
    void clearTariff();
    const QString& tariffName() const { return m_tariffName; }
    const std::optional<TariffPrices>& tariffPrices() const { return m_prices; }
    const QString& promotionalDiscount() const { return m_promotionalDiscount; }
    const QString& vatPercent() const { return m_vatPercent; }
    QString jubileeLimit() const;

    // ---- kind, count, notes --------------------------------------------------------
    void setPreliminary(bool preliminary);
    bool preliminary() const { return m_preliminary; }
    // Jubilee only for a client with earned jubilee trips (false, and ordinary, else);
    // choosing it sets the trip count to 1.
    bool setJubilee(bool jubilee);
    bool jubilee() const { return m_jubilee; }
    // A typed count; what is not a whole number becomes "1". Refused (false, told so)
    // while a jubilee trip is chosen.
    bool setTripCount(const QString& typed);
    const QString& tripCount() const { return m_tripCount; }
    void setNotes(const QString& notes) { m_notes = notes; }
    const QString& notes() const { return m_notes; }
    // The moment a preliminary order is wanted for; a quick order is accepted now.
    void setAcceptance(const QDateTime& at) { m_acceptance = at; }
    const QDateTime& acceptance() const { return m_acceptance; }

    const PriceResult& price() const { return m_price; }

    // ---- commands ------------------------------------------------------------------
    // "Створити" or "Редагувати", after the dispatcher's Yes. Create: the trip count's
    // rows, each numbered by the generator, all with the acceptance and completion
    // moments taken once, in one transaction: a failing row takes the whole batch back.
    SaveOutcome save();

    // "Попередній підбір водія" for the start point. On the last step the dispatcher is
    // asked to put the driver into the notes; elsewhere he is only told. The callsign
    // found, none when there is no free driver near (told so).
    std::optional<qint64> preselectDriver(bool onLastStep);

signals:
    void priceChanged();
    // A tariff was chosen, or the chosen one was let go: its prices are shown apart.
    void tariffChanged();
    // A batch is being saved: the window disables itself meanwhile.
    void savingChanged(bool saving);
    // After each row of a batch of more than one: the rows still to go.
    void batchProgress(int remaining);

private:
    void recalculate();
    SaveOutcome saveNew();
    SaveOutcome saveEdited();
    NewOrder newOrder() const;
    void clearAfterSave();
    void showFailure(const QString& what, const QString& error);

    DispatchContext& m_ctx;
    TariffCatalogue m_tariffs;
    FbTransaction m_transaction;

    Mode m_mode = Mode::Create;
    qint64 m_editedNumber = 0;
    OrderTable m_editedTable = OrderTable::Open;
    qint64 m_editedClientCode = 0;

    OrderClient m_client;
    QList<RouteItem> m_route;
    QString m_kmInTown = QStringLiteral("0");
    QString m_kmOutOfTown = QStringLiteral("0");
    QString m_waitingMinutes = QStringLiteral("0");
    QString m_tariffName;
    std::optional<TariffPrices> m_prices;
    QString m_promotionalDiscount = QStringLiteral("0");
    QString m_vatPercent = QStringLiteral("0");
    bool m_preliminary = false;
    bool m_jubilee = false;
    QString m_tripCount = QStringLiteral("1");
    QString m_notes;
    QDateTime m_acceptance;
    PriceResult m_price;
};
