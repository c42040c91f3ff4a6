#include "orders/intake/OrderStatements.h"

#include <gtest/gtest.h>

TEST(OrderStatements, TheInsertLinesAsTheOtherSideReadsThem)
{
    NewOrder order;
    order.clientCode = 42;
    order.telephone = QStringLiteral("067'123");
    order.tariffName = QStringLiteral("Місто");
    order.notes = QStringLiteral("під'їзд 2\r\nдзвонити");
    order.start = QStringLiteral("[вул. Лук'янівська]{3}кв.1");
    order.destination = QString();
    order.balance = Money::typed(QStringLiteral("-12,5"));
    order.sum = Money::typed(QStringLiteral("123,45"));
    order.dispatcher = QStringLiteral("Оля О'Коннор");
    order.acceptance = QDateTime(QDate(2026, 3, 2), QTime(9, 5));
    order.completion = QDateTime(QDate(2026, 3, 2), QTime(9, 35));
    const QString expected =
        QStringLiteral("INSERT INTO ZAMOVLENNIA\n"
                       "(ZAMOVL_NUMBER, ZAMOVL_NOMER_KLIENT, ZAMOVL_PRICHINA_DELETE, ZAMOVL_POCHAT_PUNKT, "
                       "ZAMOVL_PUNKT_PRIZHACH,  "
                       "ZAMOVL_BALANS_KLIENTA, ZAMOVL_SUMA_ROZRAHUNK, ZAMOVL_PRIYOM_ZAMOVL, \n"
                       "ZAMOVL_DATA_PRIYOMA, ZAMOVL_CHAS_PRIYOMA, ZAMOVL_BEZKOSHTOVN, ZAMOVL_STATUS_ZAMOVL, "
                       "ZAMOVL_DATA_ZAKR_ZAMOVL, "
                       "ZAMOVL_CHAS_ZAKR_ZAMOVL)\n"
                       "VALUES (GEN_ID(GENIDZAMOVL, 1), \n"
                       "     42, \n"
                       " '{швидке}   тел.:[067''123]   тариф:[Місто]  (під''їзд 2\r\nдзвонити)', \n"
                       "     '[вул. Лук''янівська]{3}кв.1', \n"
                       "     '', \n"
                       "     -12.5, \n"
                       "     123.45, \n"
                       "     'Оля О''Коннор', \n"
                       "     '02.03.2026', \n"
                       "     '09:05', \n"
                       "     'HI', \n"
                       "     0, \n"
                       "     '02.03.2026', \n"
                       "     '09:35') ");
    EXPECT_EQ(OrderStatements::insert(order), expected);

    order.preliminary = true;
    order.jubilee = true;
    const QString preliminary = OrderStatements::insert(order);
    EXPECT_TRUE(preliminary.contains(QStringLiteral("\n '{попереднє}   тел.:[067''123]   тариф:[Місто]  (")));
    EXPECT_TRUE(preliminary.contains(QStringLiteral("\n     'TAK', \n")));
}

TEST(OrderStatements, EditStatementsOfBothTables)
{
    EXPECT_EQ(
        OrderStatements::selectForEdit(OrderTable::Open, 17),
        QStringLiteral(
            "SELECT * FROM ZAMOVLENNIA\nWHERE (ZAMOVL_NUMBER = 17) and (ZAMOVL_STATUS_ZAMOVL <> (-1))"));
    EXPECT_EQ(OrderStatements::selectForEdit(OrderTable::Archive, 17),
              QStringLiteral(
                  "SELECT * FROM CLOSEZAMOVLENNIA\nWHERE (CZ_NUMBER = 17) and (CZ_STATUS_ZAMOVL <> (-1))"));
    EXPECT_EQ(OrderStatements::updateSumAndRoute(OrderTable::Archive, 17, Money::typed(QStringLiteral("9,9")),
                                                 QStringLiteral("Вокзал"),
                                                 QStringLiteral("[вул. Ринкова]{1}")),
              QStringLiteral(
                  "UPDATE CLOSEZAMOVLENNIA\nSET CZ_SUMA_ROZRAHUNK = 9.9,\n    CZ_POCHAT_PUNKT = 'Вокзал',\n"
                  "    CZ_PUNKT_PRIZHACH = '[вул. Ринкова]{1}'\n"
                  "WHERE (CZ_NUMBER = 17) and (CZ_STATUS_ZAMOVL <> (-1))"));
}
