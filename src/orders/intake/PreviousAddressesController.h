#pragma once

#include <QObject>
#include <QStringList>

struct DispatchContext;
class OrderIntake;

// The window of a client's previous addresses without its widgets: whether it is
// shown, the addresses of the client the client list stands on, their alphabetical
// order, and an address taken into the order's route.
class PreviousAddressesController : public QObject
{
    Q_OBJECT
public:
    PreviousAddressesController(DispatchContext& ctx, OrderIntake& intake, QObject* parent = nullptr);

    bool isShown() const { return m_shown; }
    const QStringList& addresses() const { return m_addresses; }

    // The client page's button. Showing fills the list for the client (the code as
    // orders store it; 0 for none, which has no addresses).
    void toggle(qint64 clientCode);
    void hide();
    // The client list stands on another client: the list follows while it is shown.
    void clientChanged(qint64 clientCode);
    // The client list was closed or holds nobody.
    void clear();
    void sortAlphabetically();
    // A double-click on the address at this index. Only the first step builds the
    // route, so elsewhere nothing happens. True when an item was added.
    bool addToRoute(int index, bool onFirstStep);

signals:
    void shownChanged(bool shown);
    void addressesChanged();
    void routeItemAdded();

private:
    void fill(qint64 clientCode);
    void setAddresses(const QStringList& addresses);

    DispatchContext& m_ctx;
    OrderIntake& m_intake;
    bool m_shown = false;
    QStringList m_addresses;
};
