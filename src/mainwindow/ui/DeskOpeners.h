#pragma once

#include "mainwindow/ui/DeskWindows.h"
#include "orders/intake/OrderFormOpening.h"
#include "orders/maintenance/OrderMaintenanceRequest.h"

#include <QString>
#include <optional>

class CarCard;
class MainWindowCommands;
class MapWindowController;
class OrderMaintenanceController;
class OrderFormController;
class SoftphonePanel;
class QWidget;
class TForm1;
struct DispatchContext;

// Opens the windows the main window's commands lead to, once the command controller
// has said what to open.
class DeskOpeners
{
public:
    DeskOpeners(DispatchContext& ctx, MainWindowCommands& commands, TForm1& form, DeskWindows windows,
                OrderFormController& orderForm, MapWindowController& cityMap,
                OrderMaintenanceController& maintenance, CarCard& carCard, SoftphonePanel& softphone);

    // The car card of a callsign, when there is one. Throws DbError.
    void carCard(std::optional<qint64> callsign);
    void orderForm(OrderFormOpening opening);
    // The order form on the client page, filtered to a client code, when there is one.
    void clientCard(std::optional<qint64> clientCode);
    // Command 8 on the current row of the open or executed orders.
    void maintenance(OrderMaintenanceRequest::Variant variant);
    void maintenance(const OrderMaintenanceRequest& request);
    // The maintenance command that clears the GPRS mark of all drivers: needs no order.
    void resetGprsMarkers();
    // A start point, destination or stand on the city map, when there is one: the map
    // window shows it without its search panel (or the browser searches it).
    void map(const std::optional<QString>& place);
    void blackList();
    // The messages window and the hot-key help sit at the screen's bottom right.
    void messages();
    void hotKeyHelp();
    void putDriverOnAir();
    // The car card already loaded with a driver's details.
    void carCardShown();
    // "Звінок клієнту": the telephone of the chosen open order, through the softphone.
    void callClient();

    MainWindowCommands& commands() const { return m_commands; }
    TForm1& form() const { return m_form; }
    DispatchContext& context() const { return m_ctx; }

private:
    static void showAtBottomRight(QWidget& window);
    // The car card's controller lives in its window (the window list gives the card as
    // a plain window); none when the card is only a shell.

    DispatchContext& m_ctx;
    MainWindowCommands& m_commands;
    TForm1& m_form;
    DeskWindows m_windows;
    OrderFormController& m_orderForm;
    MapWindowController& m_cityMap;
    OrderMaintenanceController& m_maintenance;
    CarCard& m_carCard;
    SoftphonePanel& m_softphone;
};
