#pragma once

#include "mainwindow/HotKeys.h"
#include "orders/intake/OrderFormOpening.h"
#include "orders/maintenance/OrderMaintenanceRequest.h"

#include <QObject>

class MainWindowCommands;
struct DispatchContext;

// Runs what a hot key of the main window does in the window's present state: the
// command controllers for the driver keys, a message where the key does not apply, and
// a signal for each window the key opens. A database failure is shown, never thrown
// back into the window's key handling.
class HotKeyDispatch : public QObject
{
    Q_OBJECT
public:
    HotKeyDispatch(DispatchContext& ctx, MainWindowCommands& commands, QObject* parent = nullptr);

    void press(HotKey key, const HotKeyState& state);

signals:
    // A driver was put on air: his car card is loaded and wants showing.
    void carCardRequested();
    // The callsign typed is on the black list: the black list window wants showing.
    void blackListRequested();
    void orderFormRequested(OrderFormOpening opening);
    void maintenanceRequested(const OrderMaintenanceRequest& request);
    void nextOrdersPageRequested();

private:
    void run(const HotKeyAction& action, const HotKeyState& state);
    void requestMaintenance(OrderMaintenanceRequest::Variant variant, const HotKeyState& state);

    DispatchContext& m_ctx;
    MainWindowCommands& m_commands;
};
