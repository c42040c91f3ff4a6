#include "mainwindow/ui/TForm1.h"

#include "dispatch/DispatchContext.h"
#include "foundation/DisplayText.h"
#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"
#include "mainwindow/GridColumns.h"
#include "mainwindow/ListColours.h"
#include "mainwindow/ShiftChangeController.h"
#include "mainwindow/StandCell.h"
#include "mainwindow/ui/ClosedOrdersPanel.h"
#include "mainwindow/ui/DataSetTableModel.h"
#include "mainwindow/ui/DriversPanel.h"
#include "mainwindow/ui/HotOrdersPage.h"
#include "mainwindow/ui/ListGrid.h"
#include "mainwindow/ui/OrderRecordPanels.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateEdit>
#include <QDateTime>
#include <QBoxLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

const QString TForm1::kNobodyLoggedIn = QStringLiteral("ФІО ДИСПЕТЧЕРА");

namespace {
const QString kNotSet = QStringLiteral("не задано");

} // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Диспетчер \"ZORvane-TAXI\""));
    setMinimumSize(990, 630);
    resize(1260, 780);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildTopBar());

    auto* vertical = new QSplitter(Qt::Vertical, central);
    m_extraDriversPanel = new QWidget(vertical);
    new QVBoxLayout(m_extraDriversPanel);
    m_extraDriversPanel->layout()->addWidget(
        new QLabel(QStringLiteral("  Додаткова  панель  активних  водіїв  ...  "), m_extraDriversPanel));
    m_extraDriversPanel->hide();
    m_mainTabs = new QTabWidget(vertical);
    m_mainTabs->addTab(buildActiveOrdersTab(), QStringLiteral("Активні замовлення ...  "));
    m_closed[0] = new ClosedOrdersPanel(ClosedList::Executed, this);
    m_closed[1] = new ClosedOrdersPanel(ClosedList::Deleted, this);
    m_mainTabs->addTab(m_closed[0], QStringLiteral("Виконані замовлення ...  "));
    m_mainTabs->addTab(m_closed[1], QStringLiteral("Знищені замовлення ...  "));
    // Both tabs' pickers show and change the one period.
    for (ClosedOrdersPanel* closed : m_closed)
        connect(closed, &ClosedOrdersPanel::periodChosen, this, [this](const QDate& from, const QDate& to) {
            setPeriod(from, to);
            emit periodChanged();
        });
    layout->addWidget(vertical, 1);

    auto* bottom = new QWidget(central);
    bottom->setStyleSheet(QStringLiteral("background: rgb(0, 0, 160); color: white;"));
    auto* bottomLayout = new QHBoxLayout(bottom);
    m_bottomTools = new QToolBar(bottom);
    m_bottomTools->setStyleSheet(QStringLiteral("QToolButton { color: white; }"));
    bottomLayout->addWidget(m_bottomTools);
    m_orderCounters = new QLabel(bottom);
    bottomLayout->addWidget(m_orderCounters);
    bottomLayout->addStretch(1);
    layout->addWidget(bottom);
    setCentralWidget(central);
    showOrderCounters(0, 0, 0);

    connect(m_mainTabs, &QTabWidget::currentChanged, this, &TForm1::listsNeeded);
    connect(m_orderViews, &QTabWidget::currentChanged, this, [this](int page) {
        m_hotPage->clearHotOrderDetails();
        m_hotPage->showHotOrders({}, -1);
        if (page == int(OrdersPage::ShortGrid))
            showNearestStand(kNotSet, kNotSet);
        emit listsNeeded();
    });
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
    // The telephone's options come here, between the dispatcher and the clock.
    m_topLayout = layout;
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
    auto* ordersSide = new QWidget(splitter);
    auto* ordersLayout = new QVBoxLayout(ordersSide);
    ordersLayout->setContentsMargins(0, 0, 0, 0);
    m_orderTools = new QToolBar(ordersSide);
    ordersLayout->addWidget(m_orderTools);
    m_orderViews = new QTabWidget(ordersSide);
    m_orderViews->setTabPosition(QTabWidget::South);
    const QStringList orderPages = {QStringLiteral("  Табличний вигляд розширений  ...  "),
                                    QStringLiteral("  Табличний вигляд скорочений ...  ")};
    for (int i = 0; i < 2; ++i) {
        m_orderGrids[i] = new QWidget(m_orderViews);
        new QVBoxLayout(m_orderGrids[i]);
        m_orderViews->addTab(m_orderGrids[i], orderPages[i]);
    }
    m_hotPage = new HotOrdersPage(m_orderViews);
    m_orderViews->addTab(m_hotPage, QStringLiteral("  Гарячі замовлення ...  "));
    connect(m_hotPage, &HotOrdersPage::lineChosen, this, &TForm1::hotOrderChosen);
    connect(m_hotPage, &HotOrdersPage::distributionRequested, this, &TForm1::distributionRequested);
    ordersLayout->addWidget(m_orderViews, 1);

    // The strip lies under the record panels: on the other pages it is out of sight.
    m_nearestPanel = new QWidget(m_orderGrids[0]);
    m_nearestPanel->setStyleSheet(QStringLiteral("background: black; color: white;"));
    auto* strip = new QGridLayout(m_nearestPanel);
    m_nearestStand = new QLabel(kNotSet, m_nearestPanel);
    m_firstDriver = new QLabel(kNotSet, m_nearestPanel);
    strip->addWidget(new QLabel(QStringLiteral("Найближча стоянка з активними водіями :"), m_nearestPanel), 0,
                     0);
    strip->addWidget(m_nearestStand, 0, 1);
    strip->addWidget(new QLabel(QStringLiteral("Перший водій на стоянці :"), m_nearestPanel), 0, 2);
    strip->addWidget(m_firstDriver, 0, 3);
    m_orderGrids[0]->layout()->addWidget(m_nearestPanel);
    m_nearestPanel->setToolTip(QStringLiteral("Редагувати / закрити вибране замовлення"));
    m_nearestPanel->installEventFilter(this);
    m_firstDriver->setToolTip(QStringLiteral("Вибрати вказаного водія на дане замовлення"));
    m_firstDriver->setCursor(Qt::PointingHandCursor);
    m_firstDriver->installEventFilter(this);

    m_drivers = new DriversPanel(splitter);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setChildrenCollapsible(false);
    splitter->setSizes({720, 520});
    layout->addWidget(splitter, 1);
    return tab;
}

QTableView* TForm1::addGrid(QWidget* parent, DataSetTableModel* model, ListGrid::Rows rows)
{
    auto* grid = new ListGrid(model, rows, parent);
    parent->layout()->addWidget(grid);
    const int which = int(m_models.indexOf(model));
    connect(grid, &ListGrid::rowDoubleClicked, this, [this, which] { emit gridDoubleClicked(which); });
    connect(grid, &ListGrid::enterPressed, this, [this, which] { emit gridEnterPressed(which); });
    connect(grid, &ListGrid::sortRequested, this,
            [this, which](const QString& field) { emit sortRequested(which, field); });
    m_grids << grid;
    return grid;
}

void TForm1::attachLists(DispatchContext& ctx)
{
    TDANI& dani = ctx.dani;
    m_models = {new DataSetTableModel(dani.TABL_AKTIV_ZAMOVL, GridLayouts::openOrders(), this),
                new DataSetTableModel(dani.TABL_ZADIANI_AVTO, GridLayouts::drivers(), this),
                new DataSetTableModel(dani.TABLE_ZADIANI_AVTO_GROUP, GridLayouts::stands(), this),
                new DataSetTableModel(dani.TABL_DIY_VODY_GPRS, GridLayouts::gprsActions(), this),
                new DataSetTableModel(dani.TABL_VIKON_ZAMOVL, GridLayouts::executedOrders(), this),
                new DataSetTableModel(dani.TABL_DELETE_ZAMOVL, GridLayouts::deletedOrders(), this)};
    DataSetTableModel* stands = m_models[Stands];
    using namespace ListColours;
    m_models[OpenOrders]->columnColours = {{QStringLiteral("ZAMOVL_POZIVNIY"), kMoneyGreen},
                                           {QStringLiteral("ZAMOVL_BEZKOSHTOVN"), kMoneyGreen}};
    m_models[Drivers]->columnColours = {{QStringLiteral("ZAD_AVTO_POZIVNIY"), kMoneyGreen},
                                        {QStringLiteral("ZAD_AVTO_YUVILEYKA"), kMoneyGreen},
                                        {QStringLiteral("ZAD_AVTO_VULICA"), kSkyBlue}};
    for (DataSetTableModel* closed : {m_models[Executed], m_models[Deleted]})
        closed->columnColours = {{QStringLiteral("CZ_DATA_PRIYOMA"), kMoneyGreen},
                                 {QStringLiteral("CZ_CHAS_PRIYOMA"), kMoneyGreen},
                                 {QStringLiteral("CZ_POCHAT_PUNKT"), kSilver},
                                 {QStringLiteral("CZ_CHAS_PRIYOM_VODIY"), kSilver},
                                 {QStringLiteral("CZ_NUMBER"), kSkyBlue},
                                 {QStringLiteral("CZ_POZIVNIY"), kSkyBlue},
                                 {QStringLiteral("CZ_DATA_ZAKR_ZAMOVL"), kSkyBlue},
                                 {QStringLiteral("CZ_CHAS_ZAKR_ZAMOVL"), kSkyBlue}};
    // The distance is measured from the order the dispatcher is looking at, when it still
    // needs a driver.
    auto startPoint = [this, &dani]() -> QString {
        if (ordersPage() == OrdersPage::Hot)
            return m_hotPage->selection() ? m_hotPage->selection()->pickup : QString();
        const FbDataSet& orders = dani.TABL_AKTIV_ZAMOVL;
        if (orders.isEmpty() || orders.value(QStringLiteral("ZAMOVL_POZIVNIY")).toLongLong() != 0)
            return {};
        return displayText(orders.value(QStringLiteral("ZAMOVL_POCHAT_PUNKT")));
    };
    stands->rowTexts = [&ctx, &dani, startPoint](int first, int count) {
        QStringList names;
        for (int row = first; row < first + count; ++row)
            names << displayText(
                dani.TABLE_ZADIANI_AVTO_GROUP.valueAt(row + 1, QStringLiteral("ZAD_AVTO_VULICA")));
        try {
            const StandCells cells(ctx, {ctx.settings.flag(SettingKeys::kStandShowsGprs),
                                         ctx.settings.flag(SettingKeys::kStandShowsJubilee), startPoint()});
            QStringList texts;
            for (const QString& stand : std::as_const(names))
                texts << cells.text(stand);
            return texts;
        } catch (const DbError&) {
            return names; // the stands at least, when their queues cannot be read
        }
    };
    stands->rowBackground = [&dani, startPoint](int row) -> std::optional<quint32> {
        const QString stand =
            displayText(dani.TABLE_ZADIANI_AVTO_GROUP.valueAt(row + 1, QStringLiteral("ZAD_AVTO_VULICA")));
        if (stand != QLatin1String("[]{}") && !startPoint().isEmpty() && stand == dani.NearestStand)
            return ListColours::kYellow;
        return std::nullopt;
    };
    m_models[GprsActions]->rowBackground = [&dani](int row) {
        return ListColours::gprsAction(
            dani.TABL_DIY_VODY_GPRS.valueAt(row + 1, QStringLiteral("DYA_VODIY_GPRS_DYA")).toString());
    };
    m_panels = new OrderRecordPanels(
        dani.TABL_AKTIV_ZAMOVL,
        [&ctx] { return int(typedInteger(ctx.settings.value(SettingKeys::kPreliminaryLead))); },
        [&ctx] { return ctx.clock.now(); }, m_orderGrids[0]);
    static_cast<QVBoxLayout*>(m_orderGrids[0]->layout())->insertWidget(0, m_panels, 1);
    connect(m_panels, &OrderRecordPanels::refreshed, this, &TForm1::updateNearestStrip);
    updateNearestStrip();
    m_grids.clear();
    using Rows = ListGrid::Rows;
    addGrid(m_orderGrids[1], m_models[OpenOrders], Rows::One);
    addGrid(m_drivers->listArea(), m_models[Drivers], Rows::Several);
    addGrid(m_drivers->standArea(), stands, Rows::One);
    m_drivers->setStandsModel(stands);
    addGrid(m_drivers->gprsArea(), m_models[GprsActions], Rows::One)->setMaximumHeight(160);
    addGrid(m_closed[0]->gridArea(), m_models[Executed], Rows::Several);
    addGrid(m_closed[1]->gridArea(), m_models[Deleted], Rows::Several);
    for (DataSetTableModel* closed : {m_models[Executed], m_models[Deleted]})
        connect(closed, &DataSetTableModel::readFailed, this,
                [&ctx](const QString& message) { ctx.prompts.message(message); });
    // The extra panel shows the drivers list once more, above everything; it moves the
    // same list, so the driver commands act on the row chosen there.
    m_extraDriversGrid = new ListGrid(m_models[Drivers], Rows::Several, m_extraDriversPanel);
    m_extraDriversPanel->layout()->addWidget(m_extraDriversGrid);
    connect(m_extraDriversGrid, &ListGrid::rowDoubleClicked, this,
            [this] { emit gridDoubleClicked(Drivers); });
    connect(m_extraDriversGrid, &ListGrid::enterPressed, this, [this] { emit gridEnterPressed(Drivers); });
    connect(m_extraDriversGrid, &ListGrid::sortRequested, this,
            [this](const QString& field) { emit sortRequested(Drivers, field); });
}

void TForm1::reloadLists()
{
    for (DataSetTableModel* model : m_models)
        model->reload();
    if (m_panels)
        m_panels->refresh();
}

bool TForm1::driversPageShown() const
{
    return m_drivers->listPageShown();
}

QTabWidget* TForm1::driverPages() const
{
    return m_drivers->pages();
}

QToolBar* TForm1::driverTools() const
{
    return m_drivers->tools();
}

void TForm1::setOrderFilters(bool onlyToHandOut, bool onlyCarried)
{
    m_onlyToHandOut = onlyToHandOut;
    m_onlyCarried = onlyCarried;
}

HotKeyState TForm1::hotKeyState() const
{
    HotKeyState state;
    state.loggedIn = loggedIn();
    state.mainTab = m_mainTabs->currentIndex();
    state.driversPageShown = driversPageShown();
    state.hotOrdersPageShown = ordersPage() == OrdersPage::Hot;
    state.openOrdersEmpty = m_models.isEmpty() || m_models[OpenOrders]->rowCount() == 0;
    state.editBoxFocused = qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr;
    return state;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    // A click on the first driver offers him the chosen order.
    if (watched == m_firstDriver && event->type() == QEvent::MouseButtonPress) {
        emit nearestFirstDriverClicked(m_firstDriver->text());
        return true;
    }
    // The nearest-stand strip stands for the chosen order: its double-click edits it.
    if (watched == m_nearestPanel && event->type() == QEvent::MouseButtonDblClick) {
        emit gridDoubleClicked(OpenOrders);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::keyPressEvent(QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    std::optional<HotKey> key;
    switch (event->key()) {
    case Qt::Key_Insert:
        key = ctrl ? HotKey::CtrlIns : HotKey::Ins;
        break;
    case Qt::Key_Delete:
        key = ctrl ? HotKey::CtrlDel : HotKey::Del;
        break;
    case Qt::Key_V:
    case Qt::Key_B:
    case Qt::Key_N:
    case Qt::Key_M:
        if (ctrl)
            key = event->key() == Qt::Key_V   ? HotKey::CtrlV
                  : event->key() == Qt::Key_B ? HotKey::CtrlB
                  : event->key() == Qt::Key_N ? HotKey::CtrlN
                                              : HotKey::CtrlM;
        break;
    default:
        break;
    }
    if (!key) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    emit hotKeyPressed(*key);
}

QString TForm1::dispatcherName() const
{
    return m_dispatcher->text();
}

bool TForm1::loggedIn() const
{
    return m_dispatcher->text() != kNobodyLoggedIn;
}

void TForm1::applyLogIn(const QString& dispatcher, const DispatcherRights& rights)
{
    m_dispatcher->setText(dispatcher);
    m_mainTabs->setTabVisible(0, rights.handOut);
    m_mainTabs->setTabVisible(1, rights.closedOrders);
    m_mainTabs->setTabVisible(2, rights.closedOrders);
    for (int i = 0; i < 2; ++i) {
        m_closed[i]->setPeriodEditable(rights.admin);
    }
}

void TForm1::setPeriod(const QDate& from, const QDate& to)
{
    m_periodFrom = from;
    m_periodTo = to;
    for (int i = 0; i < 2; ++i) {
        m_closed[i]->setPeriod(from, to);
    }
}

QToolBar* TForm1::executedTools() const
{
    return m_closed[0]->tools();
}

void TForm1::showPeriodTimes(const QString& rollCall)
{
    for (int i = 0; i < 2; ++i) {
        m_closed[i]->showPeriodTimes(rollCall);
    }
}

QString TForm1::shownPeriodTime() const
{
    return m_closed[0]->shownPeriodTime();
}

void TForm1::setSoftphoneStrip(QWidget* strip, QWidget* options)
{
    // The strip keeps the visibility it had: hidden until a line is registered.
    const bool shown = !strip->isHidden();
    // The strip gets a row of its own above the bottom bar: its status line, buttons, dial
    // box and missed calls need the window's width. The options go to the top bar, beside
    // the clock, where they stay while the strip is hidden and leave the bottom bar's
    // commands their room.
    auto* desk = static_cast<QBoxLayout*>(centralWidget()->layout());
    desk->insertWidget(desk->count() - 1, strip);
    m_topLayout->insertWidget(m_topLayout->indexOf(m_clock), options);
    strip->setVisible(shown);
}

void TForm1::setDriversGroupVisible(bool visible)
{
    m_drivers->setVisible(visible);
}

void TForm1::setGprsPanelVisible(bool visible)
{
    m_drivers->setGprsPanelVisible(visible);
}

void TForm1::setExtraDriversPanelVisible(bool visible)
{
    m_extraDriversPanel->setVisible(visible);
}

void TForm1::showClock(const QDateTime& now)
{
    m_clock->setText(now.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")));
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (loggedIn() && !m_closeAllowed) {
        event->ignore();
        emit closeRefusedOnShift();
        return;
    }
    QMainWindow::closeEvent(event);
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
    if (m_panels)
        m_panels->refresh();
    m_nearestStand->setText(stand);
    m_firstDriver->setText(firstDriver);
    updateNearestStrip();
}

void TForm1::setNearestStandPanelVisible(bool visible)
{
    if (visible)
        updateNearestStrip();
    else
        m_nearestPanel->hide();
}

void TForm1::updateNearestStrip()
{
    // Only a due order without a driver is to be handed out from the strip.
    m_nearestPanel->setVisible(m_panels && m_panels->chosenOrderWaitsForADriver());
}

void TForm1::showExecutedCount(qint64 count)
{
    m_closed[0]->showCount(count);
}

void TForm1::showClosedOrderDetails(ClosedList list, const ClosedOrderDetails& details)
{
    m_closed[list == ClosedList::Executed ? 0 : 1]->showDetails(details);
}

DataModuleView::PageState TForm1::pageState() const
{
    PageState state;
    state.mainPage = m_mainTabs->currentIndex();
    state.driversGroupVisible = m_drivers->isVisibleTo(this);
    state.extraDriversPanelVisible = m_extraDriversPanel->isVisibleTo(this);
    state.from = m_periodFrom;
    state.to = m_periodTo;
    state.onlyToHandOut = m_onlyToHandOut;
    state.onlyCarried = m_onlyCarried;
    if (const auto& selection = m_hotPage->selection())
        state.hotOrderShown = selection->orderNumber;
    return state;
}

void TForm1::showOrderCounters(int inExecution, int hot, int preliminary)
{
    m_orderCounters->setText(
        QStringLiteral("Замовлення у виконанні: %1     Гарячі замовлення: %2     Попередні замовлення: %3")
            .arg(inExecution)
            .arg(hot)
            .arg(preliminary));
}
