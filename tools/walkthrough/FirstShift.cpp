#include "FirstShift.h"

#include "app/ui/Workstation.h"
#include "foundation/fb/DbError.h"
#include "foundation/fb/FbConnection.h"
#include "foundation/fb/FbQuery.h"
#include "foundation/fb/FbTransaction.h"
#include "mainwindow/ui/DataSetTableModel.h"
#include "foundation/DataModuleView.h"
#include "mainwindow/HotKeys.h"
#include "mainwindow/ui/OrderRecordPanels.h"
#include "orders/intake/ui/MeasuringStepView.h"
#include "orders/intake/ui/OrderFormView.h"
#include "orders/intake/ui/RoutePointPanel.h"
#include "orders/maintenance/ui/TForm11.h"
#include "support/WaitFor.h"
#include "support/WidgetFinders.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QHash>
#include <climits>
#include <algorithm>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTextStream>
#include <QThread>
#include <QToolBar>

namespace {

const QString kDispatcher = QStringLiteral("Ковальчук Олена Петрівна");
// A client of the demo who lives on вул. Ринкова, by the market stand, where the first
// driver works without the GPRS application: his orders are closed by the dispatcher.
const QString kClient = QStringLiteral("Іващук Дар'я Григорівна");
const QString kTariff = QStringLiteral("Міський");

int rowWithText(QListWidget* list, const QString& text)
{
    for (int row = 0; row < list->count(); ++row)
        if (list->item(row)->text() == text)
            return row;
    return -1;
}

const qsizetype kLargestPicture = 140 * 1024;

QImage withFewerColours(const QImage& picture)
{
    QHash<QRgb, qint64> counts;
    for (int y = 0; y < picture.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            ++counts[line[x] | 0xff000000u];
    }
    QList<QPair<qint64, QRgb>> byCount;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        byCount.append({it.value(), it.key()});
    std::sort(byCount.begin(), byCount.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    QList<QRgb> palette;
    for (int i = 0; i < byCount.size() && i < 256; ++i)
        palette.append(byCount[i].second);
    QHash<QRgb, uchar> nearest;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const QRgb colour = it.key();
        int best = 0;
        int bestDistance = INT_MAX;
        for (int i = 0; i < palette.size(); ++i) {
            const int dr = qRed(colour) - qRed(palette[i]);
            const int dg = qGreen(colour) - qGreen(palette[i]);
            const int db = qBlue(colour) - qBlue(palette[i]);
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = i;
            }
        }
        nearest.insert(colour, uchar(best));
    }
    QImage result(picture.size(), QImage::Format_Indexed8);
    result.setColorTable(palette);
    for (int y = 0; y < picture.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        uchar* target = result.scanLine(y);
        for (int x = 0; x < picture.width(); ++x)
            target[x] = nearest.value(line[x] | 0xff000000u);
    }
    return result;
}

QString say(const QString& text)
{
    QTextStream(stdout) << text << Qt::endl;
    return text;
}

} // namespace

FirstShift::FirstShift(const QString& database, const QString& pictureFolder)
    : m_database(database), m_pictures(pictureFolder)
{
    m_steps = {
        {QStringLiteral("01-shift-change"), [this] { return logInWindow(); }},
        {QStringLiteral("02-main-window"), [this] { return mainWindowAfterLogIn(); }},
        {QStringLiteral("03-client-chosen"), [this] { return clientChosen(); }},
        {QStringLiteral("04-route"), [this] { return routeBuilt(); }},
        {QStringLiteral("05b-tariff-and-price"), [this] { return tariffAndPrice(); }},
        {QStringLiteral("06-new-order-nearest-driver"), [this] { return newOrderWithNearestDriver(); }},
        {QStringLiteral("07-order-handed-out"), [this] { return orderHandedOut(); }},
        {QStringLiteral("08-closing-the-order"), [this] { return orderClosedThroughMaintenance(); }},
        {QStringLiteral("09-executed-orders"), [this] { return executedOrders(); }},
    };
    // A window that asks is photographed while it is still open.
    m_prompts.beforeAnswer = [this](const QString&) {
        if (m_pendingPicture.isEmpty())
            return;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && window == m_ws->form11.get()) {
                save(window, m_pendingPicture);
                m_pendingPicture.clear();
            }
    };
}

FirstShift::~FirstShift()
{
    if (m_ws)
        m_ws->form1.allowClose();
}

int FirstShift::stepCount() const
{
    return int(m_steps.size());
}

int FirstShift::run()
{
    m_ws = std::make_unique<Workstation>(m_clock, &m_prompts, &m_exit, &m_shell);
    m_ws->start();
    if (!m_ws->dani.BAZA.isConnected()) {
        say(QStringLiteral("the demo database could not be opened"));
        return 0;
    }
    m_ws->form1.resize(1260, 780);
    int done = 0;
    for (const Step& step : m_steps) {
        say(QStringLiteral("%1 ...").arg(step.picture));
        const QString failure = step.act();
        if (!failure.isEmpty()) {
            say(QStringLiteral("%1 failed: %2").arg(step.picture, failure));
            break;
        }
        ++done;
    }
    return done;
}

void FirstShift::settle(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
}

// The window alone, not the screen, at the best compression PNG has. A picture still
// over the size the README can carry keeps its 256 most frequent colours, every other
// colour (the edges of letters, mostly) drawn in the nearest of them.
void FirstShift::save(QWidget* window, const QString& name)
{
    const QImage picture = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QString file = m_pictures.filePath(name + QStringLiteral(".png"));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG", 0);
    if (bytes.size() > kLargestPicture) {
        bytes.clear();
        buffer.seek(0);
        withFewerColours(picture).save(&buffer, "PNG", 0);
    }
    QFile out(file);
    if (out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size())
        say(QStringLiteral("  saved %1 (%2x%3, %4 KB)")
                .arg(file)
                .arg(picture.width())
                .arg(picture.height())
                .arg(bytes.size() / 1024));
    else
        say(QStringLiteral("  could not save %1").arg(file));
}

QString FirstShift::logInWindow()
{
    TForm3& window = m_ws->form3;
    if (!waitFor([&] { return window.isVisible(); }))
        return QStringLiteral("the shift change window did not open");
    auto* names = window.findChild<QComboBox*>();
    auto* password = window.findChild<QLineEdit*>();
    if (!names || !password)
        return QStringLiteral("the shift change window has no name list or password box");
    const int row = names->findText(kDispatcher);
    if (row < 0)
        return QStringLiteral("%1 is not among the dispatchers").arg(kDispatcher);
    window.activateWindow();
    names->setCurrentIndex(row);
    password->setFocus();
    typeText(password, QStringLiteral("1"));
    settle();
    save(&window, m_steps[0].picture);
    QTest::keyClick(password, Qt::Key_Return);
    if (!waitFor([&] { return m_ws->form1.loggedIn() && !window.isVisible(); }))
        return QStringLiteral("the log-in did not go through");
    return {};
}

QString FirstShift::mainWindowAfterLogIn()
{
    TForm1& form = m_ws->form1;
    form.activateWindow();
    if (!waitFor([&] {
            return form.isEnabled() && form.model(TForm1::OpenOrders)->rowCount() > 0 &&
                   form.model(TForm1::Drivers)->rowCount() > 0;
        }))
        return QStringLiteral("the main window shows no orders or no drivers");
    settle(500);
    save(&form, m_steps[1].picture);
    return {};
}

QString FirstShift::clientChosen()
{
    QAction* newOrder = actionWithHint(m_ws->form1.bottomTools(), QStringLiteral("Карточка нового замовлення"));
    if (!newOrder)
        return QStringLiteral("no \"Нове замовлення\" on the bottom bar");
    newOrder->trigger();
    if (!waitFor([&] { return m_ws->form2.isVisible(); }))
        return QStringLiteral("the order form did not open");
    OrderFormView& view = *m_ws->form2.view();
    QLineEdit* nameSearch = nullptr;
    for (QLineEdit* box : view.findChildren<QLineEdit*>())
        if (box->placeholderText() == QStringLiteral("ФІО"))
            nameSearch = box;
    if (!nameSearch)
        return QStringLiteral("the client page has no name search");
    m_ws->form2.activateWindow();
    nameSearch->setFocus();
    typeText(nameSearch, kClient.section(QLatin1Char(' '), 0, 0));
    QTest::keyClick(nameSearch, Qt::Key_Return);
    QTableView* grid = view.clientGrid();
    int row = -1;
    waitFor([&] {
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            for (int c = 0; c < grid->model()->columnCount(); ++c)
                if (grid->model()->index(r, c).data().toString() == kClient)
                    row = r;
        return row >= 0;
    });
    if (row < 0)
        return QStringLiteral("the client %1 was not found").arg(kClient);
    grid->setFocus();
    grid->selectionModel()->setCurrentIndex(grid->model()->index(row, 0),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    settle();
    save(&m_ws->form2, m_steps[2].picture);
    shownButton(&view, QStringLiteral("Перейти до замовлення"))->click();
    if (view.pageName() != QStringLiteral("CreateZam") || view.stepName() != QStringLiteral("STEP_1"))
        return QStringLiteral("\"Перейти до замовлення\" did not open the order's first step");
    return {};
}

QString FirstShift::addPoint(const QString& search, const QString& name, const QString& house,
                             const QString& flat)
{
    OrderFormView& view = *m_ws->form2.view();
    RoutePointPanel* points = view.routePoints();
    const int before = view.routeList()->count();
    QLineEdit* box = points->searchBox();
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    typeText(box, search);
    QListWidget* names = points->namesList();
    if (!waitFor([&] { return rowWithText(names, name) >= 0; }, 3000))
        return QStringLiteral("\"%1\" does not offer %2").arg(search, name);
    // Several names match: the street is chosen in the list, as with the arrow keys.
    names->setCurrentRow(rowWithText(names, name));
    QTest::keyClick(names, Qt::Key_Return);
    QListWidget* houses = points->housesList();
    if (houses->count() == 0)
        return QStringLiteral("%1 has no houses").arg(name);
    if (const int row = rowWithText(houses, house); row >= 0)
        houses->setCurrentRow(row);
    QTest::keyClick(houses, Qt::Key_Return);
    typeText(points->flatBox(), flat);
    QTest::keyClick(points->flatBox(), Qt::Key_Return); // the question is answered "Yes"
    if (view.routeList()->count() != before + 1)
        return QStringLiteral("the point on %1 was not added").arg(name);
    return {};
}

QString FirstShift::routeBuilt()
{
    if (QString failure = addPoint(QStringLiteral("Ринкова"), QStringLiteral("вул. Ринкова"), QStringLiteral("30"),
                                   QStringLiteral("кв. 106"));
        !failure.isEmpty())
        return failure;
    if (QString failure = addPoint(QStringLiteral("Театральна"), QStringLiteral("вул. Театральна"), {}, {});
        !failure.isEmpty())
        return failure;
    if (QString failure = addPoint(QStringLiteral("Зарічна"), QStringLiteral("вул. Зарічна"), {}, {});
        !failure.isEmpty())
        return failure;
    settle();
    save(&m_ws->form2, m_steps[3].picture);
    return {};
}

QString FirstShift::tariffAndPrice()
{
    OrderFormView& view = *m_ws->form2.view();
    QPushButton* next = shownButton(&view, QStringLiteral("Далі"));
    if (!next)
        return QStringLiteral("no \"Далі\" on the first step");
    next->click();
    if (!waitFor([&] { return view.stepName() == QStringLiteral("STEP_2"); }, 3000))
        return QStringLiteral("the route is not measured (still %1)").arg(view.stepName());
    MeasuringStepView* step = view.measuringStep();
    if (!waitFor([&] { return step->nextButton()->isEnabled(); }, 30000))
        return QStringLiteral("the measurement did not end");
    settle();
    save(&m_ws->form2, QStringLiteral("05a-measured-route"));
    step->nextButton()->click();
    if (view.stepName() != QStringLiteral("STEP_3"))
        return QStringLiteral("the last step did not come (%1)").arg(view.stepName());
    QComboBox* tariffs = view.tariffs();
    if (tariffs->findText(kTariff) < 0)
        return QStringLiteral("no tariff %1").arg(kTariff);
    tariffs->setCurrentText(kTariff);
    emit tariffs->textActivated(kTariff);
    settle();
    save(&m_ws->form2, m_steps[4].picture);
    say(QStringLiteral("  to pay: %1").arg(view.sumToPay()->text()));
    m_openedBefore = highestOpenOrder();
    view.saveButton()->click(); // "Створити", confirmed
    if (!waitFor([&] { return !m_ws->form2.isVisible(); }, 5000))
        return QStringLiteral("the order was not saved");
    return {};
}

int FirstShift::highestOpenOrder() const
{
    const FbDataSet& orders = m_ws->dani.TABL_AKTIV_ZAMOVL;
    int highest = 0;
    for (int row = 1; row <= orders.recordCount(); ++row)
        highest = std::max(highest, orders.valueAt(row, QStringLiteral("ZAMOVL_NUMBER")).toInt());
    return highest;
}

// The new order is the one numbered above all that were open before it was saved; the
// list shows it once the database's event has reopened it.
bool FirstShift::chooseNewOrder()
{
    FbDataSet& orders = m_ws->dani.TABL_AKTIV_ZAMOVL;
    int found = 0;
    const bool shown = waitFor([&] {
        if (!orders.isOpen())
            return false;
        for (int row = 1; row <= orders.recordCount(); ++row) {
            const int number = orders.valueAt(row, QStringLiteral("ZAMOVL_NUMBER")).toInt();
            if ((m_newOrder > 0 && number == m_newOrder) || (m_newOrder == 0 && number > m_openedBefore)) {
                m_newOrder = number;
                found = row;
            }
        }
        return found > 0;
    });
    if (!shown)
        return false;
    if (orders.recNo() != found)
        orders.moveTo(found);
    return true;
}

QString FirstShift::newOrderWithNearestDriver()
{
    TForm1& form = m_ws->form1;
    form.activateWindow();
    form.orderViews()->setCurrentIndex(int(DataModuleView::OrdersPage::Panels));
    if (!chooseNewOrder())
        return QStringLiteral("the new order is not among the open orders");
    const FbDataSet& orders = m_ws->dani.TABL_AKTIV_ZAMOVL;
    const QString pickup = orders.valueAt(orders.recNo(), QStringLiteral("ZAMOVL_POCHAT_PUNKT")).toString();
    say(QStringLiteral("  order %1 from %2").arg(m_newOrder).arg(pickup));
    if (!pickup.startsWith(QStringLiteral("[вул. Ринкова]{30}")))
        return QStringLiteral("order %1 is not the one taken (from %2)").arg(m_newOrder).arg(pickup);
    QWidget* strip = form.nearestStandStrip();
    if (!waitFor([&] { return strip->isVisible(); }, 5000))
        return QStringLiteral("no nearest stand under the new order");
    auto* layout = qobject_cast<QGridLayout*>(strip->layout());
    QLayoutItem* item = layout ? layout->itemAtPosition(0, 3) : nullptr;
    auto* driver = item ? qobject_cast<QLabel*>(item->widget()) : nullptr;
    if (!driver)
        return QStringLiteral("the nearest-stand strip has no first driver");
    m_driver = driver->text();
    say(QStringLiteral("  nearest stand %1, first driver %2").arg(form.shownNearestStand(), m_driver));
    settle(500);
    save(&form, m_steps[5].picture);
    return {};
}

QString FirstShift::orderHandedOut()
{
    TForm1& form = m_ws->form1;
    QWidget* strip = form.nearestStandStrip();
    auto* driver = qobject_cast<QLabel*>(qobject_cast<QGridLayout*>(strip->layout())->itemAtPosition(0, 3)->widget());
    QTest::mouseClick(driver, Qt::LeftButton, {}, QPoint(3, 3)); // questions answered "Yes"
    FbDataSet& orders = m_ws->dani.TABL_AKTIV_ZAMOVL;
    int callsign = 0;
    if (!waitFor([&] {
            if (!chooseNewOrder())
                return false;
            callsign = orders.valueAt(orders.recNo(), QStringLiteral("ZAMOVL_POZIVNIY")).toInt();
            return callsign > 0;
        }))
        return QStringLiteral("the order has no driver after the click on %1").arg(m_driver);
    say(QStringLiteral("  handed out to %1").arg(callsign));
    settle(500);
    save(&form, m_steps[6].picture);
    return {};
}

QString FirstShift::orderClosedThroughMaintenance()
{
    if (!chooseNewOrder())
        return QStringLiteral("the order is gone");
    m_pendingPicture = m_steps[7].picture;
    emit m_ws->form1.hotKeyPressed(HotKey::CtrlB); // "Закрити вибране замовлення ?" is answered "Yes"
    if (!m_pendingPicture.isEmpty()) {
        m_pendingPicture.clear();
        return QStringLiteral("Ctrl+B did not ask with the maintenance window open");
    }
    if (!waitFor([&] { return !m_ws->form11->isVisible(); }, 5000))
        return QStringLiteral("the maintenance window stayed open");
    return {};
}

// The server side moves executed orders into the archive (./taxi run has taxi-archiver
// do it every half minute); the executed-orders list shows the archive.
QString FirstShift::archiveClosedOrders()
{
    try {
        FbConnection connection;
        connection.connect({m_database, QStringLiteral("SYSDBA"), QStringLiteral("masterkey")});
        {
            FbTransaction transaction(connection, QStringLiteral("ARCHIVE"));
            FbQuery query(transaction);
            query.exec(QStringLiteral("EXECUTE PROCEDURE ARCHIVE_CLOSED_ORDERS(0)"));
            transaction.commit();
        }
        connection.disconnect();
    } catch (const DbError& e) {
        return QStringLiteral("archiving failed: ") + e.message();
    }
    return {};
}

QString FirstShift::executedOrders()
{
    if (QString failure = archiveClosedOrders(); !failure.isEmpty())
        return failure;
    TForm1& form = m_ws->form1;
    if (!form.mainTabs()->isTabVisible(1))
        return QStringLiteral("the executed orders' page is hidden");
    form.mainTabs()->setCurrentIndex(1);
    FbDataSet& executed = m_ws->dani.TABL_VIKON_ZAMOVL;
    int row = 0;
    if (!waitFor([&] {
            for (int r = 1; r <= executed.recordCount(); ++r)
                if (executed.valueAt(r, QStringLiteral("CZ_NUMBER")).toInt() == m_newOrder)
                    row = r;
            return row > 0;
        }))
        return QStringLiteral("order %1 is not among the executed orders").arg(m_newOrder);
    QTableView* grid = form.grid(TForm1::Executed);
    grid->setFocus();
    grid->selectionModel()->setCurrentIndex(grid->model()->index(row - 1, 0),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    settle(500); // the page is laid out before the row is scrolled to
    grid->scrollTo(grid->model()->index(row - 1, 0), QAbstractItemView::PositionAtCenter);
    settle(200);
    save(&form, m_steps[8].picture);
    return {};
}
