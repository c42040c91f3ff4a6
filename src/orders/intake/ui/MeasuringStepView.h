#pragma once

#include <QWidget>

class OrderFormController;
class QLabel;
class QListWidget;
class QPushButton;

// The second step of the order wizard: while the route is measured on the map it says
// so and its buttons wait; then it lists the legs with their streets, the distance, the
// time the measurement took and, when the distance is not complete, why.
class MeasuringStepView : public QWidget
{
    Q_OBJECT
public:
    explicit MeasuringStepView(OrderFormController& controller, QWidget* parent = nullptr);

    QListWidget* legList() const { return m_legs; }
    QLabel* distance() const { return m_distance; }
    QLabel* elapsed() const { return m_elapsed; }
    QLabel* note() const { return m_note; }
    QPushButton* backButton() const { return m_back; }
    QPushButton* nextButton() const { return m_next; }

private:
    void showBusy();
    void showMeasurement();

    OrderFormController& m_controller;
    QLabel* m_wait = nullptr;
    QListWidget* m_legs = nullptr;
    QLabel* m_distance = nullptr;
    QLabel* m_elapsed = nullptr;
    QLabel* m_note = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_next = nullptr;
};
