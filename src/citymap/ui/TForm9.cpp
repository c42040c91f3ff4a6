#include "citymap/ui/TForm9.h"

#include "orders/intake/WebRouteController.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

QLineEdit* shownText(QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setReadOnly(true);
    return box;
}

} // namespace

TForm9::TForm9(QWidget* parent) : FormShell(QStringLiteral("Розрахунок маршруту ..."), parent)
{
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(this);
    m_pages = new QStackedWidget(this);
    m_successPage = buildSuccessPage();
    m_errorPage = buildErrorPage();
    m_pages->addWidget(m_successPage);
    m_pages->addWidget(m_errorPage);
    layout->addWidget(m_pages);
    for (QPushButton* close : {m_tryAgain, m_close})
        connect(close, &QPushButton::clicked, this, &QWidget::close);
}

QWidget* TForm9::buildSuccessPage()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("TRUE"));
    auto* layout = new QVBoxLayout(page);
    auto* form = new QFormLayout;
    m_start = shownText(page);
    m_destination = shownText(page);
    m_distance = shownText(page);
    m_copyStart = new QPushButton(QStringLiteral("У форму"), page);
    m_copyStart->setToolTip(QStringLiteral("Початковий пункт у форму замовлення"));
    m_copyDestination = new QPushButton(QStringLiteral("У форму"), page);
    m_copyDestination->setToolTip(QStringLiteral("Кінцевий пункт у форму замовлення"));
    const auto withButton = [](QWidget* box, QPushButton* button) {
        auto* line = new QHBoxLayout;
        line->addWidget(box, 1);
        line->addWidget(button);
        return line;
    };
    form->addRow(QStringLiteral("Звідки"), withButton(m_start, m_copyStart));
    form->addRow(QStringLiteral("Куди"), withButton(m_destination, m_copyDestination));
    form->addRow(QStringLiteral("Відстань, км"), m_distance);
    layout->addLayout(form);
    m_outOfTown = new QCheckBox(QStringLiteral("відстань приймати по тарифу за містом"), page);
    m_outOfTown->setChecked(true);
    layout->addWidget(m_outOfTown);
    auto* note =
        new QLabel(QStringLiteral("при відстані в середньому більше 15 км по замовчуванню беруться дані "
                                  "як за містом,\nу вас є можливість виставити це значення потрібним "
                                  "чином"),
                   page);
    note->setWordWrap(true);
    layout->addWidget(note);
    auto* buttons = new QHBoxLayout;
    m_tryAgain = new QPushButton(QStringLiteral("Спробувати ще раз"), page);
    m_toTariff = new QPushButton(QStringLiteral("У форму вибору тарифа"), page);
    buttons->addWidget(m_tryAgain);
    buttons->addStretch();
    buttons->addWidget(m_toTariff);
    layout->addLayout(buttons);
    return page;
}

QWidget* TForm9::buildErrorPage()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("ERROR"));
    auto* layout = new QVBoxLayout(page);
    auto* form = new QFormLayout;
    m_errorName = shownText(page);
    m_errorStart = shownText(page);
    m_errorDestination = shownText(page);
    m_editStart = new QPushButton(QStringLiteral("Редагувати"), page);
    m_editStart->setToolTip(QStringLiteral("Відредагувати дані початкового пункта на формі замовлення"));
    m_editDestination = new QPushButton(QStringLiteral("Редагувати"), page);
    m_editDestination->setToolTip(QStringLiteral("Відредагувати дані кінцевого пункта на формі замовлення"));
    const auto withButton = [](QWidget* box, QPushButton* button) {
        auto* line = new QHBoxLayout;
        line->addWidget(box, 1);
        line->addWidget(button);
        return line;
    };
    form->addRow(QStringLiteral("Помилка"), m_errorName);
    form->addRow(QStringLiteral("Звідки"), withButton(m_errorStart, m_editStart));
    form->addRow(QStringLiteral("Куди"), withButton(m_errorDestination, m_editDestination));
    layout->addLayout(form);
    m_explanation = new QPlainTextEdit(page);
    m_explanation->setReadOnly(true);
    layout->addWidget(m_explanation, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_close = new QPushButton(QStringLiteral("Закрити "), page);
    buttons->addWidget(m_close);
    layout->addLayout(buttons);
    return page;
}

void TForm9::setController(WebRouteController& controller)
{
    m_controller = &controller;
    connect(&controller, &WebRouteController::resultShown, this, &TForm9::showResult);
    connect(m_outOfTown, &QCheckBox::toggled, &controller, &WebRouteController::setOutOfTown);
    connect(m_copyStart, &QPushButton::clicked, &controller, &WebRouteController::copyStart);
    connect(m_copyDestination, &QPushButton::clicked, &controller, &WebRouteController::copyDestination);
    connect(m_toTariff, &QPushButton::clicked, &controller, &WebRouteController::takeToTariffStep);
    connect(m_editStart, &QPushButton::clicked, &controller, &WebRouteController::editStart);
    connect(m_editDestination, &QPushButton::clicked, &controller, &WebRouteController::editDestination);
}

QString TForm9::pageName() const
{
    return m_pages->currentWidget()->objectName();
}

void TForm9::showResult()
{
    const WebDistanceResult& result = m_controller->result();
    if (result.success) {
        m_start->setText(result.originAddress);
        m_destination->setText(result.destinationAddress);
        m_distance->setText(result.kilometres);
        m_outOfTown->setChecked(m_controller->outOfTown());
        m_pages->setCurrentWidget(m_successPage);
        return;
    }
    m_errorName->setText(result.errorName);
    m_errorStart->setText(result.originAddress);
    m_errorDestination->setText(result.destinationAddress);
    // The lines come joined by CR, which a text box does not break on.
    m_explanation->setPlainText(QString(result.explanation).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    m_pages->setCurrentWidget(m_errorPage);
}
