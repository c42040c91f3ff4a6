#include "WorkstationFixture.h"

#include "citymap/ui/TForm9.h"
#include "foundation/SettingKeys.h"
#include "mainwindow/HotKeys.h"
#include "orders/intake/RouteItem.h"
#include "orders/intake/RoutePointEntry.h"
#include "orders/intake/WebDistanceClient.h"
#include "orders/intake/WebRouteController.h"
#include "orders/intake/ui/OrderFormView.h"
#include "orders/intake/ui/RoutePointPanel.h"
#include "support/WaitFor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

// The distance service on 127.0.0.1: each connection gets the next canned reply once its
// request (ended by an empty line) has come, and is then closed, as HTTP/1.0 ends a reply.
class CannedService
{
public:
    CannedService()
    {
        EXPECT_TRUE(m_server.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    m_request += socket->readAll();
                    if (!m_request.endsWith("\n\n") && !m_request.endsWith("\r\n\r\n"))
                        return;
                    // Without a reply in store the service keeps silent.
                    if (m_replies.isEmpty())
                        return;
                    socket->write(m_replies.takeFirst());
                    socket->disconnectFromHost();
                });
            }
        });
    }
    quint16 port() const { return m_server.serverPort(); }
    void then(const QByteArray& reply) { m_replies << reply; }
    const QByteArray& request() const { return m_request; }

private:
    QTcpServer m_server;
    QList<QByteArray> m_replies;
    QByteArray m_request;
};

QByteArray reply(const QByteArray& elementStatus, const QByteArray& metres,
                 const QByteArray& origin = "Луцьк, вулиця Соборності, 5")
{
    return "HTTP/1.0 200 OK\r\nContent-Type: application/xml; charset=UTF-8\r\n\r\n"
           "<DistanceMatrixResponse><status>OK</status>"
           "<origin_address>" +
           origin +
           "</origin_address>"
           "<destination_address>Ківерці, Україна</destination_address><row><element><status>" +
           elementStatus + "</status><distance><value>" + metres +
           "</value></distance></element></row></DistanceMatrixResponse>";
}

} // namespace

// The order form's web routes as the dispatcher meets them: "Прорахувати" on the first
// step, the route result window above the form, and the route's ends in the browser.
class WebRouteWindow : public WorkstationWindow
{
protected:
    void SetUp() override
    {
        WorkstationWindow::SetUp();
        db->exec(QStringLiteral("DELETE FROM KLIENT"));
        db->exec(
            QStringLiteral("INSERT INTO KLIENT (KLIENT_NUMBER, KLIENT_FIO, KLIENT_DODATKOVO, KLIENT_BALANS) "
                           "VALUES (1, 'Некодований', '[00000] приватний ()', 0)"));
        logIn();
        const QString group = SettingsStore::kServerGroup;
        ws->settings.setValue(group, SettingKeys::kWebDistanceHost, QStringLiteral("127.0.0.1"));
        ws->settings.setValue(group, SettingKeys::kWebDistancePort, QString::number(service.port()));
        ws->settings.setValue(group, SettingKeys::kWebDistancePath,
                              QStringLiteral("/maps/api/distancematrix/xml"));
        ws->settings.setValue(SettingsStore::kUserGroup, SettingKeys::kMyCity, QStringLiteral("Луцьк"));
        emit ws->form1.hotKeyPressed(HotKey::CtrlV);
        ASSERT_EQ(view().stepName(), QStringLiteral("STEP_1"));
    }
    OrderFormView& view() { return *ws->form2.view(); }
    RoutePointPanel& points() { return *view().routePoints(); }
    TForm9& result() { return *ws->form9; }
    // A street and house of the own city to a settlement nearby, then "Прорахувати".
    void calculate()
    {
        points().openOutsideArea(true);
        points().startPlace()->setEditText(QStringLiteral("Соборності"));
        QTest::keyClicks(points().startHouse(), QStringLiteral("5"));
        points().destinationMyCity()->setChecked(false);
        points().destinationPlace()->setEditText(QStringLiteral("Ківерці"));
        points().calculateButton()->click();
    }

    CannedService service;
};

TEST_F(WebRouteWindow, AMeasuredDistanceFillsTheSuccessPageAndGoesIntoTheFormWithTheDispatchersTick)
{
    service.then(reply("OK", "15200"));
    calculate();
    ASSERT_TRUE(waitFor([this] { return result().isVisible(); }));
    // The own city's street goes with the city's name, the settlement as typed.
    EXPECT_TRUE(service.request().startsWith(
        "GET "
        "/maps/api/distancematrix/xml?origins=%D0%9B%D1%83%D1%86%D1%8C%D0%BA+%D0%A1%D0%BE%D0%B1%D0%BE%D1%80"
        "%D0%BD%D0%BE%D1%81%D1%82%D1%96+5&destinations=%D0%9A%D1%96%D0%B2%D0%B5%D1%80%D1%86%D1%96&"))
        << service.request().toStdString();
    EXPECT_EQ(result().pageName(), QStringLiteral("TRUE"));
    EXPECT_EQ(result().start()->text(), QStringLiteral("Луцьк, вулиця Соборності, 5"));
    EXPECT_EQ(result().destination()->text(), QStringLiteral("Ківерці, Україна"));
    EXPECT_EQ(result().distance()->text(), QStringLiteral("15,2"));
    EXPECT_TRUE(result().outOfTown()->isChecked()); // more than 15 km
    EXPECT_FALSE(ws->form2.isEnabled());            // the form waits for the answer

    // The dispatcher decides the trip is counted in town after all.
    result().outOfTown()->setChecked(false);
    result().toTariffButton()->click();
    EXPECT_FALSE(result().isVisible());
    EXPECT_TRUE(ws->form2.isEnabled());
    EXPECT_EQ(points().distance()->text(), QStringLiteral("15,2"));
    EXPECT_EQ(ws->orderForm.outsideDistance(), QStringLiteral("15,2"));
    EXPECT_FALSE(ws->orderForm.routeEntry().calculatedOutOfTown());
    // The form goes on to its tariff step with the distance in town.
    EXPECT_EQ(ws->orderForm.step(), OrderFormController::Step::Last);
    EXPECT_EQ(ws->orderForm.order().kmInTown(), QStringLiteral("15,2"));
    EXPECT_EQ(ws->orderForm.order().kmOutOfTown(), QStringLiteral("0"));
    ws->orderForm.back();

    // A second answer ticks the box again, and the tick goes with the distance; a new
    // place then resets both, as the distance no longer fits the ends.
    service.then(reply("OK", "15200"));
    points().calculateButton()->click();
    ASSERT_TRUE(waitFor([this] { return result().isVisible(); }));
    EXPECT_TRUE(result().outOfTown()->isChecked());
    result().toTariffButton()->click();
    EXPECT_TRUE(ws->orderForm.routeEntry().calculatedOutOfTown());
    EXPECT_EQ(ws->orderForm.order().kmInTown(), QStringLiteral("0"));
    EXPECT_EQ(ws->orderForm.order().kmOutOfTown(), QStringLiteral("15,2"));
    ws->orderForm.back();
    points().destinationPlace()->setEditText(QStringLiteral("Рожище"));
    EXPECT_EQ(points().distance()->text(), QStringLiteral("000"));
    EXPECT_FALSE(ws->orderForm.routeEntry().calculatedOutOfTown());
}

TEST_F(WebRouteWindow, WithoutARouteTheServicesAddressesBecomeTheOrdersStartAndDestination)
{
    service.then(reply("OK", "15200"));
    calculate();
    QTest::keyClicks(points().destinationHouse(), QStringLiteral("12"));
    ASSERT_TRUE(waitFor([this] { return result().isVisible(); }));
    ASSERT_TRUE(ws->orderForm.order().route().isEmpty());
    result().toTariffButton()->click();
    EXPECT_FALSE(result().isVisible());
    EXPECT_EQ(ws->orderForm.step(), OrderFormController::Step::Last);
    const OrderIntake& order = ws->orderForm.order();
    // The destination house box goes with the start, in braces, as the order takes it.
    EXPECT_EQ(order.startText(), QStringLiteral("Луцьк, вулиця Соборності, 5{12}"));
    EXPECT_EQ(order.destinationText(), QStringLiteral("Ківерці, Україна"));
    ASSERT_EQ(order.route().size(), 2);
    EXPECT_FALSE(order.route()[0].onMap());
    EXPECT_FALSE(order.route()[1].onMap());
    EXPECT_EQ(order.kmOutOfTown(), QStringLiteral("15,2"));
    // Back on the first step the list shows them.
    ws->orderForm.back();
    ASSERT_EQ(view().routeList()->count(), 2);
    EXPECT_EQ(view().routeList()->item(0)->text(), QStringLiteral("Луцьк, вулиця Соборності, 5{12}</E>"));
    EXPECT_EQ(view().routeList()->item(1)->text(), QStringLiteral("Ківерці, Україна</E>"));

    // A route already in the list stays as the dispatcher made it.
    QTest::keyClick(points().destinationHouse(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(points().destinationHouse(), QStringLiteral("3"));
    ASSERT_EQ(ws->orderForm.routeEntry().end(RoutePointEntry::End::Destination).house, QStringLiteral("3"));
    service.then(reply("OK", "9000", "Луцьк, вулиця Ковельська, 1"));
    points().calculateButton()->click();
    ASSERT_TRUE(waitFor([this] { return result().isVisible(); }));
    result().toTariffButton()->click();
    EXPECT_EQ(order.startText(), QStringLiteral("Луцьк, вулиця Соборності, 5{12}"));
    EXPECT_EQ(order.kmInTown(), QStringLiteral("9"));
}

TEST_F(WebRouteWindow, TheServicesStartIsCutToWhatAnOrderKeepsAndMarksInItAreRefused)
{
    // The start is cut to 100 characters before the house is put after it.
    const QString longStart = QString(120, QLatin1Char('x'));
    service.then(reply("OK", "3000", longStart.toUtf8()));
    calculate();
    QTest::keyClicks(points().destinationHouse(), QStringLiteral("7"));
    ASSERT_TRUE(waitFor([this] { return result().isVisible(); }));
    result().toTariffButton()->click();
    ASSERT_EQ(ws->orderForm.order().route().size(), 2);
    EXPECT_EQ(ws->orderForm.order().route()[0].stored(), longStart.left(100) + QStringLiteral("{7}"));
    ws->orderForm.back();
    prompts.answerQuestion(true); // "Очистити список ?"
    ws->orderForm.clearRoute();
    ASSERT_TRUE(ws->orderForm.order().route().isEmpty());

    // A "<" from the service would read back as a point of the internal map: the window
    // says so and stays, and the order is left as it was.
    service.then(reply("OK", "3000", "Луцьк, вулиця &lt;Соборності&gt;, 5"));
    points().calculateButton()->click();
    ASSERT_TRUE(waitFor([this] { return result().isVisible(); }));
    prompts.clear();
    const QString distanceBefore = points().distance()->text();
    result().toTariffButton()->click();
    EXPECT_EQ(prompts.messages(), QStringList{RouteItem::kForbiddenMarksMessage});
    EXPECT_TRUE(result().isVisible());
    EXPECT_TRUE(ws->orderForm.order().route().isEmpty());
    EXPECT_EQ(ws->orderForm.step(), OrderFormController::Step::First);
    EXPECT_EQ(points().distance()->text(), distanceBefore);

    // A success page without a start gives no pick-up point to take over.
    for (QPushButton* button : result().findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("Спробувати ще раз"))
            button->click();
    service.then(reply("OK", "3000", ""));
    // Emptied as the dispatcher does it, so that the order form hears of it.
    QTest::keyClick(points().destinationHouse(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(points().destinationHouse(), Qt::Key_Backspace);
    ASSERT_TRUE(ws->orderForm.routeEntry().end(RoutePointEntry::End::Destination).house.isEmpty());
    points().calculateButton()->click();
    ASSERT_TRUE(waitFor([this] { return result().isVisible(); }));
    prompts.clear();
    result().toTariffButton()->click();
    EXPECT_EQ(prompts.messages(), QStringList{WebRouteController::kEmptyValueMessage});
    EXPECT_TRUE(ws->orderForm.order().route().isEmpty());
    EXPECT_EQ(ws->orderForm.step(), OrderFormController::Step::First);
}

TEST_F(WebRouteWindow, TheSuccessPageCopiesTheServicesAddressesIntoTheForm)
{
    service.then(reply("OK", "14999"));
    calculate();
    ASSERT_TRUE(waitFor([this] { return result().isVisible(); }));
    EXPECT_FALSE(result().outOfTown()->isChecked());
    for (QPushButton* button : result().findChildren<QPushButton*>())
        if (button->toolTip() == QStringLiteral("Кінцевий пункт у форму замовлення"))
            button->click();
    EXPECT_EQ(points().destinationPlace()->currentText(), QStringLiteral("Ківерці, Україна"));
    EXPECT_TRUE(result().isVisible()); // copying leaves the window open
}

TEST_F(WebRouteWindow, AnErrorReplyShowsTheErrorPageAndAFailureAMessage)
{
    service.then(reply("NOT_FOUND", ""));
    calculate();
    ASSERT_TRUE(waitFor([this] { return result().isVisible(); }));
    EXPECT_EQ(result().pageName(), QStringLiteral("ERROR"));
    EXPECT_EQ(result().errorName()->text(), QStringLiteral("NOT_FOUND"));
    EXPECT_EQ(result().errorStart()->text(), QStringLiteral("Луцьк, вулиця Соборності, 5"));
    EXPECT_EQ(result().explanation()->toPlainText(),
              QStringLiteral("Один або декілька пунктів не найдено.\nПеревірте вірність вводу адрес.\n"
                             "Змініть / доповніть на потрібні показники ваші дані"));

    // Editing the start asks first and then takes the service's text.
    prompts.answerQuestion(true);
    for (QPushButton* button : result().findChildren<QPushButton*>())
        if (button->toolTip() == QStringLiteral("Відредагувати дані початкового пункта на формі замовлення"))
            button->click();
    EXPECT_EQ(prompts.questions().last(), WebRouteController::kEditStartQuestion);
    EXPECT_EQ(points().startPlace()->currentText(), QStringLiteral("Луцьк, вулиця Соборності, 5"));

    // The error page gives no distance to the form.
    result().toTariffButton()->click();
    EXPECT_EQ(points().distance()->text(), QStringLiteral("000"));
    for (QPushButton* button : result().findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("Закрити "))
            button->click();
    EXPECT_FALSE(result().isVisible());
    EXPECT_TRUE(ws->form2.isEnabled());

    // A service that closes without a word is a message, not a page.
    service.then(QByteArray());
    prompts.clear();
    points().calculateButton()->click();
    ASSERT_TRUE(waitFor([this] { return !prompts.messages().isEmpty(); }));
    EXPECT_EQ(prompts.messages(), QStringList{WebDistanceClient::kNoConnectionMessage});
    EXPECT_FALSE(result().isVisible());
}

TEST_F(WebRouteWindow, ClosingTheFormDropsTheRequestInProgress)
{
    calculate(); // the service keeps the connection without an answer
    ASSERT_TRUE(ws->webRoute.busy());
    ws->form2.close();
    EXPECT_FALSE(ws->webRoute.busy());
    settle(100);
    EXPECT_FALSE(result().isVisible());
}

TEST_F(WebRouteWindow, TheBrowserShowsTheRoutesEndsWithTheMapBinding)
{
    db->exec(QStringLiteral("DELETE FROM KARTA_MISTA WHERE KOORD_KART_MISTA_NP IN (9001, 9002, 9003)"));
    db->exec(QStringLiteral("INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PIDPIS, "
                            "KOORD_KART_MISTA_X, KOORD_KART_MISTA_Y) VALUES (9001, 'Вокзал', 1500, 2500)"));
    db->exec(QStringLiteral("INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PIDPIS, "
                            "KOORD_KART_MISTA_X, KOORD_KART_MISTA_Y) VALUES (9002, 'Лікарня', 1000, 1000)"));
    db->exec(QStringLiteral("INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PIDPIS, "
                            "KOORD_KART_MISTA_X, KOORD_KART_MISTA_Y) VALUES (9003, 'Парк', 0, 700)"));
    const QString binding = SettingsStore::kMapBindingGroup;
    for (auto [key, value] : {std::pair{SettingKeys::kBindingX, "1000.7"},
                              {SettingKeys::kBindingY, "2000"},
                              {SettingKeys::kBindingLongitude, "25.3"},
                              {SettingKeys::kBindingLatitude, "50.75"},
                              {SettingKeys::kBindingMapSpanX, "1000"},
                              {SettingKeys::kBindingMapSpanY, "-1000"},
                              {SettingKeys::kBindingLongitudeSpan, "0.1"},
                              {SettingKeys::kBindingLatitudeSpan, "0.05"}})
        ws->settings.setValue(binding, key, QString::fromLatin1(value));
    OrderIntake& order = ws->orderForm.order();
    QPushButton* browser = view().browserRouteButton();

    order.addRouteItem(*RouteItem::named(QStringLiteral("Вокзал"), 9001));
    browser->click();
    EXPECT_EQ(prompts.messages().last(), WebRouteController::kNoEndsMessage);

    order.addRouteItem(*RouteItem::named(QStringLiteral("Лікарня"), 9002));
    browser->click();
    ASSERT_EQ(shell.opened().size(), 1);
    EXPECT_EQ(shell.opened()[0].toString(),
              QStringLiteral("https://maps.visicom.ua/#lng=25.35;lat=50.725;z=10;map=ukraine_ru;lngm=25.35;"
                             "latm=50.725;lngms=25.35;latms=50.725;lngmf=25.3;latmf=50.8;"));

    // A point not placed on the map opens nothing; a point off the map is refused.
    order.addRouteItem(*RouteItem::named(QStringLiteral("Парк"), 9003));
    prompts.clear();
    browser->click();
    EXPECT_EQ(shell.opened().size(), 1);
    EXPECT_TRUE(prompts.messages().isEmpty());
    order.addRouteItem(*RouteItem::offMapText(QStringLiteral("Ковель")));
    browser->click();
    EXPECT_EQ(prompts.messages(), QStringList{WebRouteController::kOffMapMessage});
    EXPECT_EQ(shell.opened().size(), 1);
}
