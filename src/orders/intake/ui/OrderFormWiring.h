#pragma once

#include <QObject>

class IClock;
class MapWindowController;
class OrderFormController;
class OrderFormView;
class QTimer;
class TForm2;

// The order form's window tied to its controller: the pages built into the window,
// the window shown and closed when the controller says so, and the main window's
// one-second timer driving the quick order's clock and the preliminary panel, and the
// route points shown on the city map or added to it.
class OrderFormWiring : public QObject
{
    Q_OBJECT
public:
    OrderFormWiring(TForm2& form, OrderFormController& controller, IClock& clock, QTimer& secondTimer,
                    MapWindowController& cityMap, QObject* parent = nullptr);

private:
    void print();

    TForm2& m_form;
    OrderFormController& m_controller;
    OrderFormView* m_view;
};
