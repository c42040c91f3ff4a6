#include "mainwindow/ui/TForm1.h"

#include "foundation/TDANI.h"
#include "mainwindow/DataSetTableModel.h"
#include "mainwindow/ShiftChangeController.h"
#include "mainwindow/ui/TForm12.h"

#include <QHeaderView>
#include <QSplitter>
#include <QTableView>

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
        m_closedGrids[i] = new QWidget(page);
        new QVBoxLayout(m_closedGrids[i]);
        pageLayout->addWidget(m_closedGrids[i], 1);
        m_closedDetails[i] = new QLabel(page);
        m_closedDetails[i]->setWordWrap(true);
        pageLayout->addWidget(m_closedDetails[i]);
        if (i == 0) {
            m_executedCount = new QLabel(page);
            pageLayout->addWidget(m_executedCount);
        }
        m_mainTabs->addTab(page, closedTabs[i]);
    }
    layout->addWidget(m_mainTabs, 1);
    setCentralWidget(central);
    connect(m_mainTabs, &QTabWidget::currentChanged, this, &TForm1::listsNeeded);
    connect(m_orderViews, &QTabWidget::currentChanged, this, &TForm1::listsNeeded);

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
    auto* splitter = new QSplitter(tab);
    m_orderViews = new QTabWidget(splitter);
    m_orderViews->setTabPosition(QTabWidget::South);
    const QStringList orderPages = {QStringLiteral("  Табличний вигляд розширений  ...  "),
                                    QStringLiteral("  Табличний вигляд скорочений ...  ")};
    for (int i = 0; i < 2; ++i) {
        m_orderGrids[i] = new QWidget(m_orderViews);
        new QVBoxLayout(m_orderGrids[i]);
        m_orderViews->addTab(m_orderGrids[i], orderPages[i]);
    }
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
    m_driversGroup = new QWidget(splitter);
    new QVBoxLayout(m_driversGroup);
    m_driversGroup->layout()->addWidget(new QLabel(QStringLiteral("Активні водії"), m_driversGroup));
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    layout->addWidget(splitter, 1);

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

bool TForm1::loggedIn() const
{
    return m_dispatcher->text() != kNobodyLoggedIn;
}

QTableView* TForm1::addGrid(QWidget* parent, DataSetTableModel* model)
{
    auto* view = new QTableView(parent);
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->verticalHeader()->setDefaultSectionSize(20);
    parent->layout()->addWidget(view);
    // The grid's row is the list's current row: moving it runs the list's scroll reactions.
    connect(view, &QTableView::clicked, this, [model](const QModelIndex& index) { model->list().moveTo(index.row() + 1); });
    return view;
}

void TForm1::attachLists(TDANI& dani)
{
    auto* orders = new DataSetTableModel(dani.TABL_AKTIV_ZAMOVL, this);
    auto* drivers = new DataSetTableModel(dani.TABL_ZADIANI_AVTO, this);
    auto* stands = new DataSetTableModel(dani.TABLE_ZADIANI_AVTO_GROUP, this);
    auto* gprs = new DataSetTableModel(dani.TABL_DIY_VODY_GPRS, this);
    auto* executed = new DataSetTableModel(dani.TABL_VIKON_ZAMOVL, this);
    auto* deleted = new DataSetTableModel(dani.TABL_DELETE_ZAMOVL, this);
    m_models = {orders, drivers, stands, gprs, executed, deleted};
    addGrid(m_orderGrids[0], orders);
    addGrid(m_orderGrids[1], orders);
    addGrid(m_driversGroup, stands)->setMaximumHeight(160);
    addGrid(m_driversGroup, drivers);
    addGrid(m_driversGroup, gprs)->setMaximumHeight(160);
    addGrid(m_closedGrids[0], executed);
    addGrid(m_closedGrids[1], deleted);
}

void TForm1::reloadLists()
{
    for (DataSetTableModel* model : m_models)
        model->reload();
}

void TForm1::applyLogIn(const QString& dispatcher, const DispatcherRights& rights)
{
    m_dispatcher->setText(dispatcher);
    m_mainTabs->setTabVisible(0, rights.handOut);
    m_mainTabs->setTabVisible(1, rights.closedOrders);
    m_mainTabs->setTabVisible(2, rights.closedOrders);
}

void TForm1::setPeriod(const QDate& from, const QDate& to)
{
    m_from = from;
    m_to = to;
}

void TForm1::setDriversGroupVisible(bool visible)
{
    m_driversGroup->setVisible(visible);
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
    state.driversGroupVisible = m_driversGroup->isVisibleTo(this);
    state.from = m_from;
    state.to = m_to;
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
