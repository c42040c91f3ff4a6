#include "CommandsFixture.h"
#include "foundation/SqlLiteral.h"

#include "foundation/TDANI.h"
#include "mainwindow/ClientCall.h"
#include "mainwindow/RecordOpeners.h"
#include "orders/maintenance/OrderMaintenanceRequest.h"

using Request = OrderMaintenanceRequest;
using G = Request::Group;

class RowCommands : public CommandsFixture
{
protected:
    void addOpenOrder(qint64 number, qint64 callsign, qint64 client, const QString& description)
    {
        db->exec(QStringLiteral(
                     "INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_STATUS_ZAMOVL, ZAMOVL_POZIVNIY, "
                     "ZAMOVL_NOMER_KLIENT, ZAMOVL_FIO_TAXI, ZAMOVL_BEZKOSHTOVN, ZAMOVL_PRICHINA_DELETE) "
                     "VALUES (%1, 0, %2, %3, 'Марко', 'HI', %4)")
                     .arg(QString::number(number), QString::number(callsign), QString::number(client),
                          sql::text(description)));
    }
    void openExecuted()
    {
        FbDataSet& list = ws->dani->TABL_VIKON_ZAMOVL;
        if (list.isOpen())
            list.close();
        (*ws->reopener)();
    }
};

TEST_F(RowCommands, EmptyListsOpenNothing)
{
    openLists();
    openExecuted();
    for (auto variant : {Request::Variant::Edit, Request::Variant::CloseOne, Request::Variant::Delete,
                         Request::Variant::EditExecuted, Request::Variant::DeleteExecuted})
        EXPECT_FALSE(Request::forCurrentRow(variant, *ws->dani, false)) << int(variant);
    RecordOpeners openers(*ctx);
    EXPECT_FALSE(openers.driverStandOnMap());
    EXPECT_FALSE(openers.executedPointOnMap());
    EXPECT_TRUE(prompts.shown().isEmpty()); // nothing acted on, nothing said

    EXPECT_FALSE(openers.driverCardForOrder());
    EXPECT_FALSE(openers.driverCardForDriver(true));
    EXPECT_FALSE(openers.driverCardForDriver(false)); // stand page: not even a message
    EXPECT_FALSE(openers.clientCardForOrder());
    EXPECT_FALSE(openers.clientCardForCode(QString()));
    EXPECT_EQ(prompts.messages(),
              (QStringList{QStringLiteral("Таблиця пуста або не заданий позивний !!!"),
                           QStringLiteral("Таблиця пуста !!!"),
                           QStringLiteral("Таблиця пуста або код клієнта нульовий !!!"),
                           QStringLiteral("Таблиця пуста або код клієнта нульовий !!!")}));
}

TEST_F(RowCommands, MaintenanceShowsTheDriverGroupsOnlyForAnAssignedOrder)
{
    addOpenOrder(1, 0, 42, QString());
    addOpenOrder(2, 7, 0, QString());
    openLists();
    FbDataSet& orders = ws->dani->TABL_AKTIV_ZAMOVL;
    orders.moveTo(1);
    auto edit = Request::forCurrentRow(Request::Variant::Edit, *ws->dani, false);
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->number, 1);
    EXPECT_EQ(edit->clientCode, 42);
    EXPECT_EQ(edit->visibleGroups, (QList<G>{G::Recalculate, G::ClientCode, G::Status}));
    EXPECT_EQ(edit->page, QStringLiteral("ACTIV_ZAM"));
    EXPECT_FALSE(Request::forCurrentRow(Request::Variant::CloseOne, *ws->dani, true)); // hot page

    orders.moveTo(2);
    auto close = Request::forCurrentRow(Request::Variant::CloseGroup, *ws->dani, false);
    ASSERT_TRUE(close);
    EXPECT_EQ(close->callsign, 7);
    EXPECT_EQ(close->driverName, QStringLiteral("Марко"));
    EXPECT_EQ(close->visibleGroups,
              (QList<G>{G::Close, G::Recalculate, G::ClientCode, G::Driver, G::Status}));
    EXPECT_EQ(close->then, Request::Then::CloseSelectionOfOrders);
    EXPECT_EQ(Request::forCurrentRow(Request::Variant::Delete, *ws->dani, false)->visibleGroups,
              QList<G>{G::Deletion});

    db->exec(QStringLiteral(
        "INSERT INTO CLOSEZAMOVLENNIA (CZ_NUMBER, CZ_STATUS_ZAMOVL, CZ_POZIVNIY, CZ_NOMER_KLIENT, "
        "CZ_POCHAT_PUNKT, CZ_PUNKT_PRIZHACH) VALUES (9, 1, 7, 42, '[Ринок]{1}', '[Вокзал]{2}')"));
    openExecuted();
    auto executed = Request::forCurrentRow(Request::Variant::EditExecuted, *ws->dani, false);
    ASSERT_TRUE(executed);
    EXPECT_EQ(executed->number, 9);
    EXPECT_EQ(executed->page, QStringLiteral("CLOSE_ZAM"));
    EXPECT_EQ(executed->visibleGroups,
              (QList<G>{G::Recalculate, G::ClientCode, G::Driver, G::Status, G::Balance}));

    RecordOpeners openers(*ctx);
    prompts.answerInput(QStringLiteral("2"));
    prompts.answerInput(QStringLiteral("3"));
    EXPECT_EQ(openers.executedPointOnMap(), QStringLiteral("[Вокзал]{2}"));
    EXPECT_FALSE(openers.executedPointOnMap());
}

TEST_F(RowCommands, ClientCallTakesTheTelephoneBetweenTheFirstBrackets)
{
    EXPECT_EQ(ClientCall::telephoneIn(QStringLiteral("тел.:[ 067 123 45 ]  тариф:[Місто]  (ні)")),
              QStringLiteral("067 123 45"));
    EXPECT_EQ(ClientCall::telephoneIn(QStringLiteral("без телефону")), QString());
    EXPECT_EQ(ClientCall::telephoneIn(QStringLiteral("] [067]")), QString());
    EXPECT_EQ(ClientCall::telephoneIn(QStringLiteral("тел.:[]")), QString());

    addOpenOrder(1, 0, 0, QStringLiteral("тел.:[0501112233]"));
    openLists();
    ClientCall call(*ctx);
    EXPECT_FALSE(call.telephoneToCall(false));
    EXPECT_TRUE(prompts.shown().isEmpty());
    prompts.answerQuestion(true);
    EXPECT_EQ(call.telephoneToCall(true), QStringLiteral("0501112233"));
    EXPECT_EQ(prompts.shown().last().text,
              QStringLiteral("Виконати звінок на вказаний телефон [0501112233] ?"));
}
