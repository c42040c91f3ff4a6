#include "DispatchRoom.h"

#include "foundation/SqlLiteral.h"
#include "mainwindow/HandOutCommands.h"
#include "mainwindow/ui/DataSetTableModel.h"
#include "orders/intake/RouteItem.h"
#include "orders/intake/ui/MeasuringStepView.h"
#include "orders/intake/ui/OrderFormView.h"
#include "orders/intake/ui/SoftphoneStrip.h"
#include "orders/intake/ui/SoftphoneWiring.h"
#include "orders/maintenance/OrderMaintenanceController.h"
#include "softphone/TSIPClient.h"
#include "support/DemoCity.h"
#include "support/WaitFor.h"
#include "support/WidgetFinders.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

namespace {

// The row (from 1) of the list whose column holds the value, or 0.
int rowWith(const FbDataSet& list, const QString& column, const QVariant& value)
{
    for (int row = 1; row <= list.recordCount(); ++row)
        if (list.valueAt(row, column) == value)
            return row;
    return 0;
}

// The label under the chosen open order that names the nearest stand's first driver.
QLabel* firstDriverLabel(TForm1& window)
{
    for (QLabel* label : window.nearestStandStrip()->findChildren<QLabel*>())
        if (label->toolTip() == QStringLiteral("Вибрати вказаного водія на дане замовлення"))
            return label;
    return nullptr;
}

} // namespace

// A client calls, dispatcher 1 takes his order, dispatcher 2 hands it out, it is paid
// from the client's balance, archived and corrected, and both desks are ready again.
class OrderRoad : public DispatchRoom
{
protected:
    double account(qint64 callsign)
    {
        const FbRows rows =
            db->exec(QStringLiteral("SELECT V.TABL_VODIY_AVANS FROM VODII V JOIN ZADIANI_AVTO Z "
                                    "ON Z.ZAD_AVTO_FIO_VODIY = V.TABL_VODIY_FIO WHERE "
                                    "Z.ZAD_AVTO_POZIVNIY = %1")
                         .arg(sql::integer(callsign)));
        return rows.rowCount() == 1 ? rows.rows[0][0].toDouble() : -1e9;
    }
    QVariant orderColumn(const char* table, const char* key, qint64 number, const char* column)
    {
        const FbRows rows = db->exec(
            QStringLiteral("SELECT %1 FROM %2 WHERE %3 = %4")
                .arg(QLatin1String(column), QLatin1String(table), QLatin1String(key), sql::integer(number)));
        return rows.rowCount() == 1 ? rows.rows[0][0] : QVariant();
    }
};

TEST_F(OrderRoad, FromTheClientsCallToTheCorrectedArchiveAndBackToAnIdleLine)
{
    Workstation& ws1 = *desk1->ws;
    Workstation& ws2 = *desk2->ws;
    qint64 order = 0;
    QString pickup;
    QString destination;
    QString nearestStand;
    qint64 firstDriver = 0;
    double paid = 0;

    {
        SCOPED_TRACE("1. both dispatchers log in and their lines register");
        desk1->logIn();
        desk2->logIn();
        EXPECT_EQ(ws1.form1.dispatcherName(), firstDispatcher());
        EXPECT_EQ(ws2.form1.dispatcherName(), secondDispatcher());
        ASSERT_TRUE(waitFor([&] { return desk1->lineReady() && desk2->lineReady(); }, 10000)) << report();
        EXPECT_TRUE(desk1->prompts.messages().isEmpty()) << report();
        EXPECT_TRUE(desk2->prompts.messages().isEmpty()) << report();
        // The room's map is drawn without tiles: its points and streets are put in force.
        putMapInForce(ws1.dani, ws1.map, QStringLiteral("100"), QStringLiteral("50"));
        putMapInForce(ws2.dani, ws2.map, QStringLiteral("100"), QStringLiteral("50"));
    }

    {
        SCOPED_TRACE("2. the client calls dispatcher 1, who talks to him and takes his order");
        desk1->prompts.clear();
        ASSERT_TRUE(clientPhone().Dial(pbx().UserUri("101")));
        ASSERT_TRUE(waitFor(
            [&] { return ws1.softphone.ringing() && ws1.softphone.sip().State() == TSIPClient::Incoming; },
            10000))
            << report();
        EXPECT_FALSE(ws2.softphone.ringing());
        EXPECT_EQ(ws1.softphone.statusLine(), clientTelephone());
        // The client card opened on the caller's number.
        ASSERT_TRUE(waitFor([&] { return ws1.form2.isVisible(); })) << report();
        EXPECT_EQ(ws1.orderForm.page(), OrderFormController::Page::CardClient);
        EXPECT_GT(
            rowWith(ws1.orderForm.clients().list(), QStringLiteral("KLIENT_TELEFON"), clientTelephone()), 0);
        ASSERT_TRUE(ws1.orderForm.currentClient().has_value());
        EXPECT_EQ(ws1.orderForm.currentClient()->name, clientName());

        // The dispatcher answers on the open card: the main window, and its strip, are
        // disabled while the order form is open.
        EXPECT_FALSE(ws1.softphoneWiring.strip()->acceptButton()->isEnabled());
        QPushButton* answer = ws1.softphoneWiring.formStrip()->acceptButton();
        ASSERT_TRUE(answer->isVisibleTo(&ws1.form2) && answer->isEnabled());
        answer->click();
        ASSERT_FALSE(clientPhone().WaitForEvent(QStringLiteral("CALL_ESTABLISHED")).isEmpty()) << report();
        EXPECT_EQ(ws1.softphone.sip().State(), TSIPClient::Connected);
        EXPECT_FALSE(ws1.softphone.ringing());
        EXPECT_TRUE(waitFor([&] { return clientPhone().ReceivedRtpPackets() > 0; })) << report();
        EXPECT_TRUE(waitFor([&] {
            return desk1->audio.lastPlayback() && desk1->audio.lastPlayback()->writtenBytes() > 0;
        })) << report();

        // The dispatcher goes on from the client to his order.
        OrderFormView& view = *ws1.form2.view();
        ws1.orderForm.goToOrder();
        ASSERT_EQ(view.pageName(), QStringLiteral("CreateZam")) << report();
        QStringList labels;
        for (const char* street : {"вул. Набережна", "вул. Соборна", "вул. Зарічна"}) {
            const std::optional<MapHouse> house = firstHouseOn(*db, QString::fromUtf8(street));
            ASSERT_TRUE(house.has_value()) << street;
            ws1.orderForm.order().addRouteItem(*RouteItem::parse(house->item()));
            labels << house->label;
        }
        pickup = labels.first();
        destination = labels.last();
        QPushButton* next = shownButton(&view, QStringLiteral("Далі"));
        ASSERT_NE(next, nullptr);
        next->click();
        ASSERT_EQ(view.stepName(), QStringLiteral("STEP_2")) << report();
        const QString distance = view.measuringStep()->distance()->text();
        EXPECT_NE(distance, QStringLiteral("0"));
        EXPECT_GT(view.measuringStep()->legList()->count(), 0);
        view.measuringStep()->nextButton()->click();
        ASSERT_EQ(view.stepName(), QStringLiteral("STEP_3"));
        view.tariffs()->setCurrentText(QStringLiteral("Міський"));
        emit view.tariffs()->textActivated(QStringLiteral("Міський"));
        bool priced = false;
        // The sum is shown with a decimal comma.
        const double price = view.sumToPay()->text().replace(u',', u'.').toDouble(&priced);
        ASSERT_TRUE(priced) << view.sumToPay()->text().toStdString();
        EXPECT_GT(price, 50.0) << "the Міський tariff's acceptance and kilometres";

        desk1->prompts.answerQuestion(true);
        view.saveButton()->click();
        EXPECT_FALSE(ws1.form2.isVisible()) << report();
        const FbRows saved =
            db->exec(QStringLiteral("SELECT ZAMOVL_NUMBER, ZAMOVL_NOMER_KLIENT, ZAMOVL_POCHAT_PUNKT, "
                                    "ZAMOVL_SUMA_ROZRAHUNK, ZAMOVL_PRIYOM_ZAMOVL FROM ZAMOVLENNIA"));
        ASSERT_EQ(saved.rowCount(), 1) << report();
        order = saved.rows[0][0].toLongLong();
        EXPECT_EQ(saved.rows[0][1].toLongLong(), clientCode());
        EXPECT_TRUE(saved.rows[0][2].toString().startsWith(pickup))
            << saved.rows[0][2].toString().toStdString();
        EXPECT_DOUBLE_EQ(saved.rows[0][3].toDouble(), price);
        EXPECT_EQ(saved.rows[0][4].toString(), firstDispatcher());
        // The call goes on while the order is taken.
        EXPECT_EQ(ws1.softphone.sip().State(), TSIPClient::Connected);
    }

    {
        SCOPED_TRACE(
            "3. desk 2 shows the new order within a second, with the nearest stand and its first driver");
        QElapsedTimer sinceSave;
        sinceSave.start();
        ASSERT_TRUE(waitFor(
            [&] { return rowWith(ws2.dani.TABL_AKTIV_ZAMOVL, QStringLiteral("ZAMOVL_NUMBER"), order) > 0; },
            1000))
            << "desk 2 did not list the order within a second";
        EXPECT_LE(sinceSave.elapsed(), 1000);
        RecordProperty("order_on_desk_2_after_ms", int(sinceSave.elapsed()));
        ASSERT_EQ(ws2.form1.model(TForm1::OpenOrders)->rowCount(), 1);
        ws2.dani.TABL_AKTIV_ZAMOVL.moveTo(
            rowWith(ws2.dani.TABL_AKTIV_ZAMOVL, QStringLiteral("ZAMOVL_NUMBER"), order));
        ASSERT_TRUE(waitFor([&] { return !ws2.dani.NearestStand.isEmpty(); })) << report();
        nearestStand = ws2.dani.NearestStand;
        EXPECT_EQ(ws2.form1.shownNearestStand(), nearestStand);
        const FbRows head =
            db->exec(QStringLiteral(
                         "SELECT FIRST 1 ZAD_AVTO_POZIVNIY FROM ZADIANI_AVTO WHERE ZAD_AVTO_VULICA = %1 AND "
                         "COALESCE(ZAD_AVTO_NOMER_ZAMOVL, 0) = 0 ORDER BY ZAD_AVTO_CHAS_ZAMOVL")
                         .arg(sql::text(nearestStand)));
        ASSERT_EQ(head.rowCount(), 1) << nearestStand.toStdString();
        firstDriver = head.rows[0][0].toLongLong();
        QLabel* shown = firstDriverLabel(ws2.form1);
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->text(), QString::number(firstDriver));
        EXPECT_TRUE(ws2.form1.nearestStandStrip()->isVisibleTo(&ws2.form1));
    }

    {
        SCOPED_TRACE(
            "4. desk 2 hands the order out; desk 1's attempt at the same moment loses and says who has it");
        ASSERT_TRUE(waitFor([&] {
            return rowWith(ws1.dani.TABL_AKTIV_ZAMOVL, QStringLiteral("ZAMOVL_NUMBER"), order) > 0 &&
                   firstDriverLabel(ws1.form1)->text() == QString::number(firstDriver);
        })) << report();
        desk1->prompts.clear();
        desk2->prompts.clear();
        // Desk 1 clicks the first driver; while its question is open, desk 2 does the same.
        desk1->prompts.whileOpen = [&] {
            desk2->prompts.answerQuestion(true);
            QTest::mouseClick(firstDriverLabel(ws2.form1), Qt::LeftButton);
        };
        desk1->prompts.answerQuestion(true);
        QTest::mouseClick(firstDriverLabel(ws1.form1), Qt::LeftButton);

        EXPECT_EQ(
            desk2->prompts.questions(),
            QStringList{QStringLiteral("Запустити позивний [%1] на замовлення [{%2} %3] ?")
                            .arg(firstDriver)
                            .arg(order)
                            .arg(orderColumn("ZAMOVLENNIA", "ZAMOVL_NUMBER", order, "ZAMOVL_POCHAT_PUNKT")
                                     .toString())});
        EXPECT_TRUE(desk2->prompts.messages().isEmpty()) << report();
        EXPECT_EQ(desk1->prompts.messages(),
                  QStringList{HandOutCommands::kChangedMessage +
                              QStringLiteral("\rЗамовлення вже віддано позивному [%1], роздав(ла): %2.")
                                  .arg(firstDriver)
                                  .arg(secondDispatcher())});
        EXPECT_EQ(orderColumn("ZAMOVLENNIA", "ZAMOVL_NUMBER", order, "ZAMOVL_POZIVNIY").toLongLong(),
                  firstDriver);
        EXPECT_EQ(orderColumn("ZAMOVLENNIA", "ZAMOVL_NUMBER", order, "ZAMOVL_ROZDACHA_ZAMOVL").toString(),
                  secondDispatcher());
        EXPECT_EQ(orderColumn("ZADIANI_AVTO", "ZAD_AVTO_POZIVNIY", firstDriver, "ZAD_AVTO_NOMER_ZAMOVL")
                      .toLongLong(),
                  order);
        // Desk 1 shows the order carried by that driver.
        EXPECT_TRUE(waitFor([&] {
            const int row = rowWith(ws1.dani.TABL_AKTIV_ZAMOVL, QStringLiteral("ZAMOVL_NUMBER"), order);
            return row > 0 &&
                   ws1.dani.TABL_AKTIV_ZAMOVL.valueAt(row, QStringLiteral("ZAMOVL_POZIVNIY")).toLongLong() ==
                       firstDriver;
        })) << report();
    }

    {
        SCOPED_TRACE("5. the order is closed with a payment from the client's balance and archived");
        const double accountBefore = account(firstDriver);
        paid = orderColumn("ZAMOVLENNIA", "ZAMOVL_NUMBER", order, "ZAMOVL_SUMA_ROZRAHUNK").toDouble();
        ASSERT_GT(paid, 0.0);
        ASSERT_TRUE(waitFor([&] {
            const int row = rowWith(ws2.dani.TABL_AKTIV_ZAMOVL, QStringLiteral("ZAMOVL_NUMBER"), order);
            return row > 0 &&
                   ws2.dani.TABL_AKTIV_ZAMOVL.valueAt(row, QStringLiteral("ZAMOVL_POZIVNIY")).toLongLong() ==
                       firstDriver;
        }));
        ws2.dani.TABL_AKTIV_ZAMOVL.moveTo(
            rowWith(ws2.dani.TABL_AKTIV_ZAMOVL, QStringLiteral("ZAMOVL_NUMBER"), order));
        const auto request =
            OrderMaintenanceRequest::forCurrentRow(OrderMaintenanceRequest::Variant::Edit, ws2.dani, false);
        ASSERT_TRUE(request.has_value());
        ASSERT_EQ(request->number, order);
        ws2.maintenance.open(*request);
        desk2->prompts.clear();
        desk2->prompts.answerQuestion(true);
        desk2->prompts.answerInput(QString::number(paid, 'f', 2));
        ws2.maintenance.run(OrderMaintenanceController::Command::CloseWithBalance);
        EXPECT_TRUE(desk2->prompts.messages().isEmpty()) << report();
        EXPECT_DOUBLE_EQ(orderColumn("KLIENT", "KLIENT_NUMBER", clientCode(), "KLIENT_BALANS").toDouble(),
                         kClientBalance - paid);
        EXPECT_DOUBLE_EQ(account(firstDriver), accountBefore + paid);
        // The driver is free again, last in the queue where the ride ended.
        EXPECT_EQ(orderColumn("ZADIANI_AVTO", "ZAD_AVTO_POZIVNIY", firstDriver, "ZAD_AVTO_NOMER_ZAMOVL")
                      .toLongLong(),
                  0);
        const QString place =
            orderColumn("ZADIANI_AVTO", "ZAD_AVTO_POZIVNIY", firstDriver, "ZAD_AVTO_VULICA").toString();
        EXPECT_TRUE(place.startsWith(destination)) << place.toStdString();
        EXPECT_EQ(
            db->scalar(QStringLiteral("SELECT COUNT(*) FROM ZADIANI_AVTO WHERE ZAD_AVTO_VULICA = %1 AND "
                                      "ZAD_AVTO_CHAS_ZAMOVL > (SELECT ZAD_AVTO_CHAS_ZAMOVL FROM ZADIANI_AVTO "
                                      "WHERE ZAD_AVTO_POZIVNIY = %2)")
                           .arg(sql::text(place), sql::integer(firstDriver))),
            0);

        // The archiver moves it; both dispatchers look at their executed orders and find it.
        for (Workstation* ws : {&ws1, &ws2})
            ws->form1.mainTabs()->setCurrentIndex(1);
        for (Workstation* ws : {&ws1, &ws2})
            EXPECT_TRUE(waitFor(
                [&] { return rowWith(ws->dani.TABL_VIKON_ZAMOVL, QStringLiteral("CZ_NUMBER"), order) > 0; },
                10000))
                << QString::fromLocal8Bit(archiver.readAll()).toStdString() << report();
        EXPECT_EQ(db->scalar(QStringLiteral("SELECT COUNT(*) FROM ZAMOVLENNIA")), 0);
        EXPECT_DOUBLE_EQ(orderColumn("CLOSEZAMOVLENNIA", "CZ_NUMBER", order, "CZ_OPLATA_BALANSOM").toDouble(),
                         paid);
        EXPECT_GE(ws1.form1.model(TForm1::Executed)->rowCount(), 1);
        EXPECT_GE(ws2.form1.model(TForm1::Executed)->rowCount(), 1);
    }

    {
        SCOPED_TRACE(
            "6. desk 1 corrects the archived order's driver; the payment moves between their accounts");
        FbDataSet& executed = ws1.dani.TABL_VIKON_ZAMOVL;
        executed.moveTo(rowWith(executed, QStringLiteral("CZ_NUMBER"), order));
        const auto request = OrderMaintenanceRequest::forCurrentRow(
            OrderMaintenanceRequest::Variant::EditExecuted, ws1.dani, false);
        ASSERT_TRUE(request.has_value());
        ASSERT_EQ(request->number, order);
        ws1.maintenance.open(*request);
        const QStringList choices = ws1.maintenance.driverChoices();
        ASSERT_FALSE(choices.isEmpty());
        const QString choice = choices.first();
        const qint64 other = choice.mid(1, choice.indexOf(u']') - 1).toLongLong();
        ASSERT_NE(other, firstDriver) << choice.toStdString();
        const double firstBefore = account(firstDriver);
        const double otherBefore = account(other);
        desk1->prompts.clear();
        desk1->prompts.answerQuestion(true);
        ws1.maintenance.run(OrderMaintenanceController::Command::ChangeDriver, choice);
        EXPECT_TRUE(desk1->prompts.messages().isEmpty()) << report();
        EXPECT_EQ(orderColumn("CLOSEZAMOVLENNIA", "CZ_NUMBER", order, "CZ_POZIVNIY").toLongLong(), other);
        EXPECT_DOUBLE_EQ(account(firstDriver), firstBefore - paid);
        EXPECT_DOUBLE_EQ(account(other), otherBefore + paid);
    }

    {
        SCOPED_TRACE("7. the client hangs up; both desks are ready for the next call");
        ASSERT_TRUE(clientPhone().Hangup());
        ASSERT_TRUE(waitFor([&] { return ws1.softphone.sip().State() == TSIPClient::RemoteHungUp; }))
            << report();
        EXPECT_FALSE(ws1.softphone.ringing());
        ws1.softphone.rejectOrHangUp(); // the dispatcher takes the line back
        EXPECT_TRUE(waitFor([&] { return desk1->lineReady() && desk2->lineReady(); })) << report();
        EXPECT_FALSE(ws1.form2.isVisible());
        EXPECT_FALSE(ws2.form2.isVisible());
        EXPECT_TRUE(ws1.form1.isEnabled());
        EXPECT_TRUE(ws2.form1.isEnabled());

        // The next call rings at once.
        ASSERT_TRUE(clientPhone().Dial(pbx().UserUri("101")));
        EXPECT_TRUE(waitFor([&] { return ws1.softphone.ringing(); }, 10000)) << report();
        ASSERT_TRUE(clientPhone().Hangup());
        EXPECT_TRUE(waitFor([&] { return ws1.softphone.sip().State() == TSIPClient::Missed; })) << report();
    }
}
