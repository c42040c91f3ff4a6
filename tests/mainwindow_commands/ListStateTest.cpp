#include "CommandsFixture.h"

#include "foundation/TDANI.h"
#include "mainwindow/DriversFilter.h"
#include "mainwindow/ListSorting.h"
#include "mainwindow/OpenOrderFilters.h"

namespace {

QList<qint64> callsigns(const FbDataSet& list)
{
    QList<qint64> result;
    for (int row = 1; row <= list.recordCount(); ++row)
        result << list.valueAt(row, QStringLiteral("ZAD_AVTO_POZIVNIY")).toLongLong();
    return result;
}

// The main window reports the toggles through its page state.
class ToggleView : public RecordingView
{
public:
    const OpenOrderFilters* filters = nullptr;
    PageState pageState() const override
    {
        PageState shown = state;
        shown.onlyCarried = filters->onlyCarried();
        shown.onlyToHandOut = filters->onlyToHandOut();
        return shown;
    }
};

} // namespace

class ListState : public CommandsFixture
{
protected:
    void SetUp() override
    {
        CommandsFixture::SetUp();
        putOnAir(30, QStringLiteral("А"), QStringLiteral("Ринок"), QStringLiteral("0002"));
        putOnAir(10, QStringLiteral("Б"), QStringLiteral("[]{}"), QStringLiteral("0001"));
        putOnAir(20, QStringLiteral("В"), QStringLiteral("Вокзал"), QStringLiteral("0001"), 77);
        putOnAir(40, QStringLiteral("Г"), QStringLiteral("Ринок"), QStringLiteral("0001"));
        openLists();
    }
    FbDataSet& drivers() { return ws->dani->TABL_ZADIANI_AVTO; }
};

TEST_F(ListState, DriversFilterNarrowsTheListAtOnceAndKeepsTheSort)
{
    DriversFilter filter(*ws->dani);
    EXPECT_EQ(filter.checked(), DriversFilter::Kind::All);
    filter.choose(DriversFilter::Kind::Free);
    EXPECT_EQ(callsigns(drivers()), (QList<qint64>{10, 30, 40}));
    filter.choose(DriversFilter::Kind::FreeAtStands);
    EXPECT_EQ(filter.checked(), DriversFilter::Kind::FreeAtStands);
    EXPECT_EQ(callsigns(drivers()), (QList<qint64>{30, 40}));
    filter.choose(DriversFilter::Kind::All);
    EXPECT_EQ(callsigns(drivers()), (QList<qint64>{10, 20, 30, 40}));
}

TEST_F(ListState, DriversSortByStandQueuesWithinTheStandAndKeepsTheRememberedRow)
{
    ListSorting sorting(*ctx);
    drivers().moveTo(3);
    sorting.sortBy(drivers(), QStringLiteral("ZAD_AVTO_VULICA"));
    EXPECT_EQ(drivers().sortText, QStringLiteral("ORDER BY ZAD_AVTO_VULICA, ZAD_AVTO_CHAS_ZAMOVL"));
    // Stands in the database's collation; within a stand, head of the queue first.
    EXPECT_EQ(callsigns(drivers()), (QList<qint64>{20, 40, 30, 10}));
    EXPECT_EQ(drivers().recNo(), 3);

    sorting.sortBy(drivers(), QStringLiteral("ZAD_AVTO_FIO_VODIY"));
    EXPECT_EQ(callsigns(drivers()), (QList<qint64>{30, 10, 20, 40}));
    // Only a column name reaches the statement.
    sorting.sortBy(drivers(), QStringLiteral("ZAD_AVTO_POZIVNIY; DELETE FROM ZADIANI_AVTO"));
    EXPECT_EQ(drivers().sortText, QStringLiteral("ORDER BY ZAD_AVTO_FIO_VODIY"));
}

TEST_F(ListState, ClosedOrdersSortWithTheirCompanionColumn)
{
    for (int i = 0; i < 3; ++i)
        db->exec(
            QStringLiteral(
                "INSERT INTO CLOSEZAMOVLENNIA (CZ_NUMBER, CZ_STATUS_ZAMOVL, CZ_POZIVNIY, CZ_DATA_PRIYOMA) "
                "VALUES (%1, 1, %2, '02.03.2026')")
                .arg(QString::number(i + 1), QString::number(30 - 10 * i)));
    ws->view.state.mainPage = 1;
    ws->view.state.from = QDate(2026, 3, 1);
    ws->view.state.to = QDate(2026, 3, 3);
    FbDataSet& executed = ws->dani->TABL_VIKON_ZAMOVL;
    // The column clicked is the current one: the callsign, whatever title was clicked.
    ListSorting(*ctx).sortBy(executed, QStringLiteral("CZ_POZIVNIY"));
    ASSERT_TRUE(executed.isOpen());
    EXPECT_EQ(executed.valueAt(1, QStringLiteral("CZ_POZIVNIY")).toLongLong(), 10);
    ListSorting(*ctx).sortBy(executed, QStringLiteral("CZ_DATA_PRIYOMA"));
    EXPECT_EQ(executed.sortText, QStringLiteral("CZ_DATA_PRIYOMA, CZ_CHAS_PRIYOMA"));
    EXPECT_TRUE(executed.isOpen());
}

TEST_F(ListState, OpenOrderTogglesNarrowTheOpenOrdersAndBothPressedShowAll)
{
    db->exec(QStringLiteral(
        "INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_STATUS_ZAMOVL, ZAMOVL_POZIVNIY) VALUES (1, 0, 20)"));
    db->exec(QStringLiteral(
        "INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_STATUS_ZAMOVL, ZAMOVL_POZIVNIY) VALUES (2, 0, 0)"));
    db->exec(QStringLiteral("INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_STATUS_ZAMOVL) VALUES (3, 0)"));
    OpenOrderFilters filters(*ctx);
    ToggleView view;
    view.filters = &filters;
    ws->dani->setView(&view);
    FbDataSet& orders = ws->dani->TABL_AKTIV_ZAMOVL;
    using T = OpenOrderFilters::Toggle;
    EXPECT_TRUE(filters.menuChecked(T::Carried));
    EXPECT_TRUE(filters.menuChecked(T::ToHandOut));

    filters.flip(T::Carried);
    EXPECT_TRUE(filters.menuChecked(T::Carried));
    EXPECT_EQ(orders.recordCount(), 1);
    filters.flip(T::ToHandOut);
    EXPECT_EQ(orders.recordCount(), 3); // both pressed: the same as both raised
    filters.flip(T::Carried);
    EXPECT_FALSE(filters.menuChecked(T::Carried));
    EXPECT_EQ(orders.recordCount(), 2);
    filters.flip(T::ToHandOut);
    EXPECT_FALSE(filters.menuChecked(T::ToHandOut));
    EXPECT_EQ(orders.recordCount(), 3);
    ws->dani->setView(&ws->view);
}
