#include "mainwindow/ui/DeskOpeners.h"

#include "citymap/window/MapWindowController.h"
#include "dispatch/DriversOnAir.h"
#include "fleet/CarCard.h"
#include "foundation/ui/FormShell.h"
#include "mainwindow/MainWindowCommands.h"
#include "mainwindow/ui/TForm1.h"
#include "orders/intake/OrderFormController.h"
#include "orders/intake/SoftphonePanel.h"
#include "orders/maintenance/OrderMaintenanceController.h"

#include <QGuiApplication>
#include <QScreen>

DeskOpeners::DeskOpeners(DispatchContext& ctx, MainWindowCommands& commands, TForm1& form,
                         DeskWindows windows, OrderFormController& orderForm, MapWindowController& cityMap,
                         OrderMaintenanceController& maintenance, CarCard& carCard, SoftphonePanel& softphone)
    : m_ctx(ctx), m_commands(commands), m_form(form), m_windows(windows), m_orderForm(orderForm),
      m_cityMap(cityMap), m_maintenance(maintenance), m_carCard(carCard), m_softphone(softphone)
{
}

void DeskOpeners::carCard(std::optional<qint64> callsign)
{
    if (!callsign)
        return;
    m_carCard.open(*callsign);
}

void DeskOpeners::orderForm(OrderFormOpening opening)
{
    m_orderForm.open(opening);
}

void DeskOpeners::clientCard(std::optional<qint64> clientCode)
{
    if (clientCode)
        m_orderForm.openClientOf(*clientCode);
}

void DeskOpeners::maintenance(OrderMaintenanceRequest::Variant variant)
{
    const bool hotPage = m_form.ordersPage() == DataModuleView::OrdersPage::Hot;
    if (const auto request = OrderMaintenanceRequest::forCurrentRow(variant, m_ctx.dani, hotPage))
        maintenance(*request);
}

void DeskOpeners::maintenance(const OrderMaintenanceRequest& request)
{
    m_maintenance.open(request);
}

void DeskOpeners::resetGprsMarkers()
{
    m_maintenance.resetGprsMarkers();
}

void DeskOpeners::map(const std::optional<QString>& place)
{
    if (!place || place->trimmed().isEmpty())
        return;
    m_cityMap.setSearchPanelShown(false);
    m_cityMap.ShowLabelOnMap(*place);
}

void DeskOpeners::blackList()
{
    m_windows.blackList.show();
}

void DeskOpeners::messages()
{
    showAtBottomRight(m_windows.messages);
}

void DeskOpeners::hotKeyHelp()
{
    m_windows.hotKeyHelp.resize(500, 250);
    showAtBottomRight(m_windows.hotKeyHelp);
}

void DeskOpeners::putDriverOnAir()
{
    const auto outcome = m_commands.driverAir().putDriverOnAir();
    if (outcome.carCard) {
        m_carCard.open(*outcome.carCard); // the car card of the driver now on air
    } else if (outcome.blackListed)
        blackList();
}

void DeskOpeners::carCardShown()
{
    m_windows.carCard.show();
}

void DeskOpeners::callClient()
{
    m_softphone.callClientOfCurrentOrder();
}

void DeskOpeners::showAtBottomRight(QWidget& window)
{
    // Clear of the task bar at the bottom and of the screen's right edge.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        window.move(area.width() - window.width() - 5, area.height() - window.height() - 35);
    }
    window.show();
}
