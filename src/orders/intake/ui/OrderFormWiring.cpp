#include "orders/intake/ui/OrderFormWiring.h"

#include "citymap/window/MapWindowController.h"
#include "orders/intake/OrderFormController.h"
#include "orders/intake/TariffData.h"
#include "orders/intake/WebRouteController.h"
#include "orders/intake/ui/OrderFormView.h"
#include "orders/intake/ui/PaymentFormPrinter.h"
#include "orders/intake/ui/RoutePointPanel.h"
#include "orders/intake/ui/TForm2.h"
#include "orders/intake/ui/TForm6.h"
#include "orders/intake/ui/TForm7.h"
#include "platform/Clock.h"

#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

OrderFormWiring::OrderFormWiring(TForm2& form, TForm6& previousAddresses, TForm7& tariffData,
                                 OrderFormController& controller, IClock& clock, QTimer& secondTimer,
                                 MapWindowController& cityMap, WebRouteController& webRoute,
                                 FormShell& routeResult, QObject* parent)
    : QObject(parent), m_form(form), m_previousAddresses(previousAddresses), m_tariffData(tariffData),
      m_controller(controller), m_view(new OrderFormView(controller))
{
    m_form.setView(m_view);
    connect(&m_form, &FormShell::shown, this, [this] { m_controller.shown(); });
    connect(&m_form, &FormShell::closed, this, [this, &webRoute] {
        webRoute.cancel();
        m_controller.closed();
        m_previousAddresses.close();
        m_tariffData.close();
    });
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

    wirePreviousAddresses();
    wireWebRoute(webRoute, routeResult);
    connect(&m_controller.order(), &OrderIntake::tariffChanged, this, &OrderFormWiring::showTariffData);
}

void OrderFormWiring::wirePreviousAddresses()
{
    PreviousAddressesController& previous = m_controller.previousAddresses();
    connect(&previous, &PreviousAddressesController::shownChanged, this, [this](bool shown) {
        if (!shown) {
            m_previousAddresses.hide();
            return;
        }
        m_previousAddresses.dockTo(m_form);
        m_previousAddresses.show();
    });
    connect(&previous, &PreviousAddressesController::addressesChanged, this,
            [this, &previous] { m_previousAddresses.setAddresses(previous.addresses()); });
    connect(&m_previousAddresses, &FormShell::closed, &previous, &PreviousAddressesController::hide);
    connect(&m_previousAddresses, &TForm6::sortRequested, &previous,
            &PreviousAddressesController::sortAlphabetically);
    connect(&m_previousAddresses, &TForm6::addressChosen, this,
            [this](int index) { m_controller.addPreviousAddress(index); });
    // Docked: it follows the order form wherever the dispatcher moves or stretches it.
    m_form.installEventFilter(this);
}

void OrderFormWiring::wireWebRoute(WebRouteController& webRoute, FormShell& routeResult)
{
    connect(m_view->routePoints()->calculateButton(), &QPushButton::clicked, &webRoute,
            &WebRouteController::calculate);
    connect(m_view->browserRouteButton(), &QPushButton::clicked, &webRoute,
            &WebRouteController::openInBrowser);
    connect(&webRoute, &WebRouteController::resultShown, this, [this, &routeResult] {
        // The dispatcher answers the result first; the form waits below it.
        routeResult.move(m_form.frameGeometry().x(), m_form.frameGeometry().y() - 50);
        m_form.setEnabled(false);
        routeResult.show();
        routeResult.raise();
        routeResult.activateWindow();
    });
    connect(&webRoute, &WebRouteController::closeRequested, &routeResult, &QWidget::close);
    connect(&webRoute, &WebRouteController::tariffStepRequested, &m_controller,
            &OrderFormController::enterTariffStep);
    connect(&routeResult, &FormShell::closed, this, [this] { m_form.setEnabled(true); });
}

void OrderFormWiring::showTariffData()
{
    const std::optional<QStringList> values = TariffData::of(m_controller.order());
    if (!values) {
        m_tariffData.hide();
        return;
    }
    m_tariffData.setValues(*values);
    if (!m_tariffData.isVisible()) {
        m_tariffData.placeBeside(m_form);
        m_tariffData.show();
    }
}

bool OrderFormWiring::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_form && (event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
        m_previousAddresses.isVisible())
        m_previousAddresses.dockTo(m_form);
    return QObject::eventFilter(watched, event);
}

void OrderFormWiring::print()
{
    if (!m_controller.printRequested())
        return;
    const QString failure = PaymentFormPrinter::print(m_form);
    if (!failure.isEmpty())
        m_controller.tellDispatcher(failure);
}
