#pragma once

#include <QObject>

class FormShell;
class IClock;
class MapWindowController;
class OrderFormController;
class OrderFormView;
class QTimer;
class TForm2;
class TForm6;
class TForm7;
class WebRouteController;

// The order form's window tied to its controller: the pages built into the window,
// the window shown and closed when the controller says so, and the main window's
// one-second timer driving the quick order's clock and the preliminary panel, and the
// route points shown on the city map or added to it. Its two satellites go with it:
// the client's previous addresses docked to its right edge, and the chosen tariff's
// data below them. The route result window shows the web distance service's answers
// above the form, which waits disabled until it closes.
class OrderFormWiring : public QObject
{
    Q_OBJECT
public:
    OrderFormWiring(TForm2& form, TForm6& previousAddresses, TForm7& tariffData,
                    OrderFormController& controller, IClock& clock, QTimer& secondTimer,
                    MapWindowController& cityMap, WebRouteController& webRoute, FormShell& routeResult,
                    QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void print();
    void wirePreviousAddresses();
    void showTariffData();
    void wireWebRoute(WebRouteController& webRoute, FormShell& routeResult);

    TForm2& m_form;
    TForm6& m_previousAddresses;
    TForm7& m_tariffData;
    OrderFormController& m_controller;
    OrderFormView* m_view;
};
