#pragma once

#include "dispatch/DriversOnAir.h"
#include "fleet/CarCardStands.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>

class FbQuery;
class FbRows;
class MapWindowController;
struct DispatchContext;

// The car card's state and commands: one car on air with its driver, the stands it
// waits at and the tick list of all stands and objects. The window shows what this
// holds and passes the dispatcher's clicks on.
//
// Every command that writes starts its own transaction after its question was
// answered, reads the car's rows again inside it and compares the order and the GPRS
// mark with what the card shows: another workstation or the driver's application may
// have changed them while the card was open. The rows it changes are claimed with a
// guarded update first, so a change committed by someone else after that read makes
// the transaction fail instead of writing over it.
class CarCard : public QObject, public ICarCardStands
{
    Q_OBJECT
public:
    explicit CarCard(DispatchContext& ctx, QObject* parent = nullptr);

    // The map button shows stands in this window.
    void setMapWindow(MapWindowController& map) { m_map = &map; }

    // Fills the card for a callsign and asks for it to be shown.
    void open(qint64 callsign);
    // Fills the card with details already read (a driver just put on air) and asks for
    // it to be shown.
    void open(const DriverDetails& details);

    // ICarCardStands: what the main window's removal from a stand uses.
    void loadWithoutShowing(qint64 callsign) override;
    void allowGprsStandChange() override { setGprsEditAllowed(true); }
    void leaveAllStands() override;
    void untickStand(const QString& stand) override;
    void confirmStandChange() override;

    // Refills the card for the callsign it shows ("не задано" empties it).
    void refresh();
    void empty();

    const DriverDetails& details() const { return m_details; }
    int tickedCount() const { return m_ticked; }
    bool gprsEditAllowed() const { return m_gprsEditAllowed; }
    void setGprsEditAllowed(bool allowed);
    const QStringList& otherCars() const { return m_otherCars; }
    const QStringList& otherDrivers() const { return m_otherDrivers; }
    int selectedPlace() const { return m_selectedPlace; }
    void selectPlace(int index) { m_selectedPlace = index; }
    int currentObject() const { return m_currentObject; }
    void setCurrentObject(int index) { m_currentObject = index; }
    // Only without map support can stands be added and deleted here.
    bool standButtonsShown() const;

    // A tick change in the tick list; a header line never stays ticked.
    void setTicked(int index, bool ticked);
    // A double click on a stand of the stand list: the same text in the tick list.
    void placeDoubleClicked(int index);
    // The other-car box: the card switches to that callsign.
    void chooseOtherCar(const QString& callsign);

    // The card's buttons.
    void putFirstAtStand();
    void changeDriver(const QString& newDriver);
    void takeOffAir();
    void addToBlackList();
    void sendMessage();
    void showOnMap();
    void addStand();
    void deleteStand();

    static const QString kNotSet;
    static const QString kZeroStand;

signals:
    void changed();
    void showRequested();
    void closeRequested();
    // "Відкрити в ефір нового водія": the main window's put-on-air command.
    void putOnAirRequested();

private:
    enum class Check { Ok, Changed, Gone };
    struct CarRows;
    // The start of a write: the car's rows read again in a fresh transaction, checked
    // against the card and claimed; none (with the message shown) when they changed.
    std::optional<CarRows> claimCar(FbQuery& q, const QString& changedText);
    // Claims the car's rows as shown, runs the writes and commits them together, then
    // closes the card. Writes that find the car changed roll back themselves and return
    // false; a database failure rolls everything back and shows failureText.
    void writeClaimed(const QString& changedText, const QString& failureText,
                      const std::function<bool(FbQuery&, const CarRows&)>& writes);

    void fill(const DriverDetails& details);
    void readLists();
    bool callsignValid() const;
    bool isFree() const { return m_details.orderNumber == QLatin1String("0"); }
    bool isGprs() const { return m_details.gprs == QLatin1String("+"); }
    bool gprsAllowed() const { return !isGprs() || m_gprsEditAllowed; }
    qint64 callsign() const;
    CarRows readRows(FbQuery& q) const;
    // Reports a car that left the air or whose order or GPRS mark differ from the card.
    bool stillAsShown(const CarRows& rows, const QString& changedText);
    // Claims the car's free rows for this transaction; false when some are no longer free.
    bool claimFreeRows(FbQuery& q, int rowCount) const;
    void raiseGprsRefresh(FbQuery& q) const;
    void writeStandRows(FbQuery& q, const CarRows& rows, const QStringList& ticked);
    QString nextKeyAt(FbQuery& q, const QString& stand) const;
    QString lastMark(FbQuery& q, const QString& condition) const;
    void failed(const QString& text);
    void done();

    DispatchContext& m_ctx;
    MapWindowController* m_map = nullptr;
    DriverDetails m_details;
    int m_ticked = 0;
    bool m_gprsEditAllowed = false;
    QStringList m_otherCars;
    QStringList m_otherDrivers;
    int m_selectedPlace = -1;
    int m_currentObject = -1;
};
