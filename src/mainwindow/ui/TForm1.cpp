#include "mainwindow/ui/TForm1.h"

#include "mainwindow/ui/TForm12.h"

#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

const QString TForm1::kNobodyLoggedIn = QStringLiteral("ФІО ДИСПЕТЧЕРА");

namespace {
const QString kNotSet = QStringLiteral("не задано");
}

TForm1::TForm1(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Диспетчер \"ZORvane-TAXI\""));
    setMinimumSize(990, 630);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildTopBar());

    m_mainTabs = new QTabWidget(central);
    m_mainTabs->addTab(buildActiveOrdersTab(), QStringLiteral("Активні замовлення ...  "));
    const QStringList closedTabs = {QStringLiteral("Виконані замовлення ...  "),
                                    QStringLiteral("Знищені замовлення ...  ")};
    for (int i = 0; i < 2; ++i) {
        auto* page = new QWidget(m_mainTabs);
        auto* pageLayout = new QVBoxLayout(page);
        m_closedDetails[i] = new QLabel(page);
        m_closedDetails[i]->setWordWrap(true);
        pageLayout->addWidget(m_closedDetails[i]);
        if (i == 0) {
            m_executedCount = new QLabel(page);
            pageLayout->addWidget(m_executedCount);
        }
        pageLayout->addStretch();
        m_mainTabs->addTab(page, closedTabs[i]);
    }
    layout->addWidget(m_mainTabs, 1);
    setCentralWidget(central);

    auto* clockTimer = new QTimer(this);
    connect(clockTimer, &QTimer::timeout, this, [this] {
        m_clock->setText(QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm")));
    });
    clockTimer->start(1000);
}

QWidget* TForm1::buildTopBar()
{
    auto* bar = new QWidget(this);
    bar->setAutoFillBackground(true);
    bar->setStyleSheet(QStringLiteral("background: rgb(0, 0, 160); color: white;"));
    auto* layout = new QHBoxLayout(bar);
    auto* shiftChange = new QPushButton(QStringLiteral("Перезмінка диспетчера"), bar);
    auto* settings = new QPushButton(QStringLiteral("Налаштування"), bar);
    m_dispatcher = new QLabel(kNobodyLoggedIn, bar);
    m_dispatcher->setStyleSheet(QStringLiteral("color: aqua; font-weight: bold;"));
    m_clock = new QLabel(QStringLiteral("00.00.0000 00:00"), bar);
    m_clock->setStyleSheet(QStringLiteral("color: yellow; font-weight: bold;"));
    layout->addWidget(shiftChange);
    layout->addWidget(settings);
    layout->addSpacing(20);
    layout->addWidget(m_dispatcher, 1);
    layout->addWidget(m_clock);
    connect(shiftChange, &QPushButton::clicked, this, &TForm1::shiftChangeRequested);
    connect(settings, &QPushButton::clicked, this, &TForm1::settingsRequested);
    return bar;
}

QWidget* TForm1::buildActiveOrdersTab()
{
    auto* tab = new QWidget(this);
    auto* layout = new QVBoxLayout(tab);
    m_orderViews = new QTabWidget(tab);
    m_orderViews->setTabPosition(QTabWidget::South);
    m_orderViews->addTab(new QWidget(m_orderViews), QStringLiteral("  Табличний вигляд розширений  ...  "));
    m_orderViews->addTab(new QWidget(m_orderViews), QStringLiteral("  Табличний вигляд скорочений ...  "));
    auto* hotPage = new QWidget(m_orderViews);
    auto* hotStrip = new QGridLayout(hotPage);
    m_hotNearestStand = new QLabel(kNotSet, hotPage);
    m_hotFirstDriver = new QLabel(kNotSet, hotPage);
    hotStrip->addWidget(new QLabel(QStringLiteral("Найближча стоянка :"), hotPage), 0, 0);
    hotStrip->addWidget(m_hotNearestStand, 0, 1);
    hotStrip->addWidget(new QLabel(QStringLiteral("Перший водій :"), hotPage), 0, 2);
    hotStrip->addWidget(m_hotFirstDriver, 0, 3);
    hotStrip->setRowStretch(1, 1);
    m_orderViews->addTab(hotPage, QStringLiteral("  Гарячі замовлення ...  "));
    layout->addWidget(m_orderViews, 1);

    m_nearestPanel = new QWidget(tab);
    auto* strip = new QGridLayout(m_nearestPanel);
    m_nearestStand = new QLabel(kNotSet, m_nearestPanel);
    m_firstDriver = new QLabel(kNotSet, m_nearestPanel);
    strip->addWidget(new QLabel(QStringLiteral("Найближча стоянка :"), m_nearestPanel), 0, 0);
    strip->addWidget(m_nearestStand, 0, 1);
    strip->addWidget(new QLabel(QStringLiteral("Перший водій :"), m_nearestPanel), 0, 2);
    strip->addWidget(m_firstDriver, 0, 3);
    layout->addWidget(m_nearestPanel);

    m_standCounters = new QLabel(tab);
    layout->addWidget(m_standCounters);
    m_orderCounters = new QLabel(tab);
    layout->addWidget(m_orderCounters);
    return tab;
}

QString TForm1::dispatcherName() const
{
    return m_dispatcher->text();
}

void TForm1::setMainCaption(const QString& caption)
{
    setWindowTitle(caption);
}

DataModuleView::OrdersPage TForm1::ordersPage() const
{
    return OrdersPage(m_orderViews->currentIndex());
}

QString TForm1::shownNearestStand() const
{
    return m_nearestStand->text();
}

void TForm1::showNearestStand(const QString& stand, const QString& firstDriver)
{
    m_nearestStand->setText(stand);
    m_firstDriver->setText(firstDriver);
}

void TForm1::setNearestStandPanelVisible(bool visible)
{
    m_nearestPanel->setVisible(visible);
}

QString TForm1::shownHotNearestStand() const
{
    return m_hotNearestStand->text();
}

void TForm1::showHotNearestStand(const QString& stand, const QString& firstDriver)
{
    m_hotNearestStand->setText(stand);
    m_hotFirstDriver->setText(firstDriver);
}

void TForm1::showExecutedCount(qint64 count)
{
    m_executedCount->setText(QString::number(count));
}

void TForm1::showStandCounters(int onAir, int gprs, int free, int freeAtStand)
{
    m_standCounters->setText(QStringLiteral("В ефірі: %1   GPRS: %2   Вільні: %3   Вільні на стоянках: %4")
                                 .arg(onAir)
                                 .arg(gprs)
                                 .arg(free)
                                 .arg(freeAtStand));
}

void TForm1::showClosedOrderDetails(ClosedList list, const ClosedOrderDetails& d)
{
    m_closedDetails[list == ClosedList::Executed ? 0 : 1]->setText(
        QStringList{d.reason, d.clientName, d.clientAddress, d.clientPhone, d.driverName, d.driverAddress,
                    d.driverPhone, d.car}
            .join(QLatin1Char('\n')));
}

DataModuleView::PageState TForm1::pageState() const
{
    PageState state;
    state.mainPage = m_mainTabs->currentIndex();
    state.from = state.to = QDate::currentDate();
    return state;
}

void TForm1::showOrderCounters(int inExecution, int hot, int preliminary)
{
    m_orderCounters->setText(QStringLiteral("Замовлення у виконанні: %1   Гарячі замовлення: %2   Попередні замовлення: %3")
                                 .arg(inExecution)
                                 .arg(hot)
                                 .arg(preliminary));
}

bool TForm1::messagesFormShowing() const
{
    return m_messages && m_messages->isVisible();
}

void TForm1::showMessagesForm()
{
    if (m_messages)
        m_messages->show();
}

void TForm1::insertMessageLineAtTop(const QString& line)
{
    if (m_messages)
        m_messages->insertLineAtTop(line);
}
