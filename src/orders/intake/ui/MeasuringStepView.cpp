#include "orders/intake/ui/MeasuringStepView.h"

#include "orders/intake/OrderFormController.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

MeasuringStepView::MeasuringStepView(OrderFormController& controller, QWidget* parent)
    : QWidget(parent), m_controller(controller)
{
    auto* layout = new QVBoxLayout(this);
    m_wait = new QLabel(OrderFormController::kWaitMessage, this);
    m_wait->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_wait);
    m_legs = new QListWidget(this);
    layout->addWidget(m_legs, 1);
    auto* figures = new QFormLayout;
    m_distance = new QLabel(QStringLiteral("0"), this);
    m_elapsed = new QLabel(QStringLiteral("0"), this);
    figures->addRow(QStringLiteral("Відстань, км"), m_distance);
    figures->addRow(QStringLiteral("Час розрахунку, мс"), m_elapsed);
    layout->addLayout(figures);
    m_note = new QLabel(this);
    m_note->setWordWrap(true);
    m_note->setStyleSheet(QStringLiteral("color: red"));
    layout->addWidget(m_note);
    auto* buttons = new QHBoxLayout;
    m_back = new QPushButton(QStringLiteral("Назад"), this);
    m_next = new QPushButton(QStringLiteral("Далі"), this);
    buttons->addWidget(m_back);
    buttons->addStretch();
    buttons->addWidget(m_next);
    layout->addLayout(buttons);

    connect(m_back, &QPushButton::clicked, this, [this] { m_controller.back(); });
    connect(m_next, &QPushButton::clicked, this, [this] { m_controller.next(); });
    connect(&m_controller, &OrderFormController::measurementRequested, this, &MeasuringStepView::showBusy);
    connect(&m_controller, &OrderFormController::routeMeasured, this, &MeasuringStepView::showMeasurement);
}

void MeasuringStepView::showBusy()
{
    m_wait->show();
    m_legs->clear();
    m_distance->setText(QStringLiteral("0"));
    m_elapsed->setText(QStringLiteral("0"));
    m_note->clear();
    m_back->setEnabled(false);
    m_next->setEnabled(false);
}

void MeasuringStepView::showMeasurement()
{
    const MeasuredRoute& route = m_controller.measuredRoute();
    m_wait->hide();
    m_legs->clear();
    m_legs->addItems(route.lines);
    m_distance->setText(route.distance);
    m_elapsed->setText(QString::number(route.elapsedMs));
    m_note->setText(route.note);
    m_back->setEnabled(true);
    m_next->setEnabled(true);
}
