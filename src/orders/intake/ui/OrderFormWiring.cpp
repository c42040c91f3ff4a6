#include "orders/intake/ui/OrderFormWiring.h"

#include "citymap/window/MapWindowController.h"
#include "orders/intake/OrderFormController.h"
#include "orders/intake/ui/OrderFormView.h"
#include "orders/intake/ui/PaymentFormPrinter.h"
#include "orders/intake/ui/TForm2.h"
#include "platform/Clock.h"

#include <QLineEdit>
#include <QTimer>

OrderFormWiring::OrderFormWiring(TForm2& form, OrderFormController& controller, IClock& clock,
                                 QTimer& secondTimer, MapWindowController& cityMap, QObject* parent)
    : QObject(parent), m_form(form), m_controller(controller), m_view(new OrderFormView(controller))
{
    m_form.setView(m_view);
    connect(&m_form, &FormShell::shown, this, [this] { m_controller.shown(); });
    connect(&m_form, &FormShell::closed, this, [this] { m_controller.closed(); });
    connect(&m_controller, &OrderFormController::showRequested, this, [this](bool focusTelephone) {
        m_form.show();
        m_form.raise();
        m_form.activateWindow();
        if (focusTelephone)
            m_view->telephoneSearch()->setFocus();
    });
    connect(&m_controller, &OrderFormController::closeRequested, &m_form, &QWidget::close);
    connect(m_view, &OrderFormView::printRequested, this, &OrderFormWiring::print);
    connect(&secondTimer, &QTimer::timeout, m_view, [this, &clock] { m_view->tick(clock.now()); });

    RoutePointEntry& route = controller.routeEntry();
    connect(&route, &RoutePointEntry::newHouseRequested, &cityMap,
            [&cityMap](const QString& street, int streetNumber, qint64) {
                cityMap.startHouseCreation(street, streetNumber);
            });
    connect(&route, &RoutePointEntry::showOnMapRequested, &cityMap, [&cityMap](qint64, const QString& label) {
        cityMap.setSearchPanelShown(false);
        cityMap.ShowLabelOnMap(label);
    });
    connect(&cityMap, &MapWindowController::houseCreated, &route, &RoutePointEntry::houseCreated);
}

void OrderFormWiring::print()
{
    if (!m_controller.printRequested())
        return;
    const QString failure = PaymentFormPrinter::print(m_form);
    if (!failure.isEmpty())
        m_controller.tellDispatcher(failure);
}
